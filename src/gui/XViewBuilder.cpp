#include "gui/XViewBuilder.h"

#include "core/FloatParam.h"
#include "core/Log.h"
#include "core/XParamDesc.h"
#include "gui/ViewKeywords.h"
#include "gui/XResourceManager.h"
#include "gui/XView.h"

#include <utility>

namespace
{
bool ReadSkinText(const XString& name, XString& text)
{
    return GetResourceManager().GetText(name, text);
}

/** Splits a line at its first ':' (a line without one is all keyword). */
void SplitLine(const XString& line, XString& keyword, XString& value)
{
    const int colon = line.FindChar(':');
    keyword = colon < 0 ? line : line.Left(colon);
    value = colon < 0 ? XString() : line.From(colon + 1);
}

/** A number item written as an integer or a decimal; fallback when there is neither. */
double NumberItem(const XMessage& values, const char* name, double fallback)
{
    int32_t integer = 0;
    if (values.FindInt32(name, integer) == 0)
        return integer;
    float real = 0.0f;
    if (values.FindFloat(name, real) == 0)
        return real;
    return fallback;
}
} // namespace

XViewBuilder::XViewBuilder(const XString& fileNameIn) : fileName(fileNameIn), textReader(ReadSkinText) {}

XViewBuilder::XViewBuilder(const XString& fileNameIn, const DescriptionText::TextReader& reader,
                           int32_t depthIn)
    : fileName(fileNameIn), textReader(reader), depth(depthIn)
{
}

XViewBuilder::~XViewBuilder() = default;

void XViewBuilder::ParseArgs(const XString& text, XMessage* message)
{
    DescriptionValues::ParseArgs(text, message);
}

void XViewBuilder::Reset()
{
    variables.RemoveAll();
    attributes.MakeEmpty();
    parentStack.clear();
    createdViews.clear();
    rootView = nullptr;
    currentParent = nullptr;
    currentView = nullptr;
    arraySize = 1;
    arrayBaseIndex = 0;
    arrayIndex = 0;
    pendingType = XString();
}

DescriptionIndex XViewBuilder::CurrentIndex() const
{
    DescriptionIndex at;
    at.index = arrayIndex;
    at.baseIndex = arrayBaseIndex;
    at.arrayWidth = arrayWidth;
    at.arrayHeight = arrayHeight;
    at.paramScratch = paramScratchString;
    return at;
}

void XViewBuilder::Build(XView* view, XView* parent)
{
    Reset();
    XString text;
    if (!textReader(fileName, text) || text.IsEmpty())
        return;

    if (view != nullptr && parent != nullptr && view != parent && view->GetParentView() == nullptr)
        parent->AddChild(view);
    rootView = view;
    currentParent = parent;

    text = DescriptionText::Preprocess(text, textReader, macroArguments, 0);
    if (DescriptionText::CollectVariables(text, variables))
        text = DescriptionText::RewriteVariables(text, variables);
    if (macroArguments.GetCount() > 0)
        text = DescriptionText::ReplaceMacroArguments(text, macroArguments);
    RunBlocks(text);
    DeleteOrphans();
}

void XViewBuilder::RunBlocks(const XString& text)
{
    std::vector<XString> block;
    bool inComment = false;
    const unsigned length = static_cast<unsigned>(text.Length());
    unsigned pos = 0;
    while (pos < length)
    {
        const XString line = text.ReadLine(pos);
        if (inComment)
        {
            inComment = !line.StartsWith("*/");
            continue;
        }
        if (line.StartsWith("/*"))
        {
            inComment = true;
            continue;
        }
        if (DescriptionText::IsCommentLine(line))
            continue;
        if (line.IsEmpty())
        {
            if (!block.empty())
                RunRepetitions(block);
            block.clear();
            continue;
        }

        // These settings hold for every repetition of the block, wherever they stand in it.
        XString keyword, value;
        SplitLine(line, keyword, value);
        switch (ViewKeywords::FindKeyword(keyword))
        {
        case ViewKeywords::kArraySize:
            arraySize = value.ToInt();
            break;
        case ViewKeywords::kArrayBaseIndex:
            arrayBaseIndex = value.ToInt();
            break;
        case ViewKeywords::kScratchStr:
            scratchString = value;
            break;
        case ViewKeywords::kParamScratchStr:
            paramScratchString = value;
            break;
        default:
            break;
        }
        block.push_back(line);
    }
    if (!block.empty())
        RunRepetitions(block);
}

void XViewBuilder::RunRepetitions(const std::vector<XString>& block)
{
    RunBlock(block, 0);
    for (int32_t index = 1; index < arraySize; ++index)
        RunBlock(block, index);
    arrayBaseIndex = 0;
    arraySize = 1;
    arrayHeight = 0;
}

void XViewBuilder::RunBlock(const std::vector<XString>& block, int32_t index)
{
    arrayIndex = index;
    for (const XString& line : block)
    {
        XString keyword, value;
        SplitLine(line, keyword, value);
        const int32_t id = ViewKeywords::FindKeyword(keyword);
        switch (id)
        {
        case ViewKeywords::kView:
            pendingType = value;
            attributes.MakeEmpty();
            break;
        case ViewKeywords::kPushParent:
            currentParent = currentView;
            parentStack.push_back(currentView);
            break;
        case ViewKeywords::kPopParent:
            if (!parentStack.empty())
                parentStack.pop_back();
            currentParent = parentStack.empty() ? nullptr : parentStack.back();
            break;
        case ViewKeywords::kArrayWidth:
            arrayWidth = value.ToInt();
            break;
        case ViewKeywords::kArrayHeight:
            arrayHeight = value.ToInt();
            break;
        case ViewKeywords::kArraySize:
        case ViewKeywords::kArrayBaseIndex:
        case ViewKeywords::kScratchStr:
        case ViewKeywords::kParamScratchStr:
            break;
        case ViewKeywords::kCreateParam:
            CreateParam(block);
            return;
        case ViewKeywords::kAddToView:
            FinishPendingView();
            AddToView(value);
            break;
        default:
            DescriptionValues::AddTypedValue(attributes, keyword, id, value, CurrentIndex());
            break;
        }
    }
    FinishPendingView();
}

void XViewBuilder::FinishPendingView()
{
    if (pendingType.IsEmpty())
        return;

    const bool wasRoot = rootView != nullptr;
    XView* view = rootView;
    if (wasRoot)
        rootView = nullptr;
    else
    {
        view = XView::CreateViewByName(pendingType.CStr());
        createdViews.emplace_back(view);
    }
    currentView = view;
    const bool hadParent = view->GetParentView() != nullptr;

    if (arraySize > 1)
        attributes.AddInt32("currentArrayIndex", arrayIndex + 1);
    view->ReadAttributes(attributes);

    XView* stackTop = parentStack.empty() ? nullptr : parentStack.back();
    if (!hadParent && stackTop != nullptr && stackTop != view)
        stackTop->AddChild(view);
    if (wasRoot)
    {
        currentParent = view;
        parentStack.push_back(view);
    }
    if (arraySize != 1)
    {
        const XString name = view->GetName();
        if (!name.IsEmpty() && name.FindChar('%') >= 0)
            view->SetLabel(RepetitionLabel(name));
    }
    pendingType = XString();
    attributes.MakeEmpty();
}

XString XViewBuilder::RepetitionLabel(const XString& name) const
{
    const int percent = name.FindChar('%');
    const char kind = name.CharAt(static_cast<unsigned>(percent + 1));
    XString replacement;
    if (kind == 'i')
        replacement = XString(arrayIndex + 1);
    else if (kind == 's')
        replacement = scratchString;
    return name.Splice(percent, kind != 0 ? 2 : 1, replacement.CStr());
}

void XViewBuilder::CreateParam(const std::vector<XString>& block)
{
    XString path;
    XMessage values;
    DescriptionIndex at = CurrentIndex();
    at.index = 0;
    for (const XString& line : block)
    {
        XString keyword, value;
        SplitLine(line, keyword, value);
        const int32_t id = ViewKeywords::FindKeyword(keyword);
        if (id == ViewKeywords::kCreateParam)
            path = value;
        else
            DescriptionValues::AddTypedValue(values, keyword, id, value, at);
    }
    if (path.IsEmpty())
        return;

    XParamDesc desc;
    desc.Init();
    desc.min = NumberItem(values, "min", 0.0);
    desc.max = NumberItem(values, "max", 0.0);
    desc.def = NumberItem(values, "default", 0.0);
    const int32_t maxSteps = values.GetInt32("maxsteps");
    const double stepsFromMax = desc.max + 1.0;
    desc.count = maxSteps > 0          ? static_cast<uint32_t>(maxSteps)
                 : stepsFromMax >= 1.0 ? static_cast<uint32_t>(stepsFromMax)
                                       : 1u;
    const XString units = values.GetString("units");
    desc.type = units == "integer"   ? XParamDesc::kTypeInteger
                : units == "boolean" ? XParamDesc::kTypeOnOff
                                     : 0;

    // The parameter lives on in the path registry, where views find it; the builder keeps nothing.
    auto* param = new FloatParam(desc);
    if (!param->SetPath("%s", path.CStr()))
    {
        LogFormatted(nullptr, "XViewBuilder: %s: the parameter path %s is taken or malformed",
                     fileName.CStr(), path.CStr());
        delete param;
    }
}

void XViewBuilder::AddToView(const XString& name)
{
    if (currentView == nullptr)
        return;
    if (depth + 1 >= kMaxBuildDepth)
    {
        LogFormatted(nullptr, "XViewBuilder: %s: addtoview %s nests too deep", fileName.CStr(), name.CStr());
        return;
    }
    XViewBuilder nested(name, textReader, depth + 1);
    nested.Build(currentView, currentView);
}

void XViewBuilder::DeleteOrphans()
{
    for (auto& view : createdViews)
    {
        if (view == nullptr || view->GetParentView() != nullptr || view->getParentComponent() != nullptr ||
            view->GetWindowStyle() != 0)
            continue;
        LogFormatted(nullptr, "XViewBuilder: %s: deleted the view %s (%s), which has no parent",
                     fileName.CStr(), view->GetName().CStr(), view->GetLabel().CStr());
        delete view.getComponent();
    }
    createdViews.clear();
}
