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
    origins.clear();
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

    text = DescriptionText::Preprocess(text, textReader, macroArguments, 0, fileName, &origins);
    if (DescriptionText::CollectVariables(text, variables, &origins))
        text = DescriptionText::RewriteVariables(text, variables);
    if (macroArguments.GetCount() > 0)
        text = DescriptionText::ReplaceMacroArguments(text, macroArguments);
    RunBlocks(text);
    DeleteOrphans();
}

void XViewBuilder::LogAt(size_t place, const XString& problem) const
{
    DescriptionText::LogAt(place < origins.size() ? origins[place] : DescriptionText::LineOrigin{fileName, 0},
                           problem);
}

void XViewBuilder::AddTypedValue(XMessage& values, const XString& keyword, int32_t keywordId,
                                 const XString& value, const DescriptionIndex& at, size_t place)
{
    if (DescriptionValues::AddTypedValue(values, keyword, keywordId, value, at))
        return;
    int quotes = 0;
    for (const char* c = value.CStr(); *c != 0; ++c)
        quotes += *c == '"' ? 1 : 0;
    LogAt(place,
          XString().Format("%s:%s %s", keyword.CStr(), value.CStr(),
                           quotes % 2 != 0 ? "has an unbalanced quote" : "is not a value of its kind"));
}

void XViewBuilder::TakeArraySetting(int32_t keywordId, const XString& value, size_t place)
{
    int32_t number = 0;
    const bool isInteger = DescriptionValues::ReadInteger(value, number);
    if (keywordId == ViewKeywords::kArraySize && number > kMaxArraySize)
    {
        LogAt(place, XString().Format("arraysize:%s is above %d and is left out", value.CStr(),
                                      static_cast<int>(kMaxArraySize)));
        return;
    }
    if (!isInteger)
        LogAt(place, XString().Format("%s:%s is not an integer", ViewKeywords::KeywordText(keywordId),
                                      value.CStr()));
    switch (keywordId)
    {
    case ViewKeywords::kArraySize:
        arraySize = number;
        return;
    case ViewKeywords::kArrayBaseIndex:
        arrayBaseIndex = number;
        return;
    case ViewKeywords::kArrayWidth:
        arrayWidth = number;
        return;
    case ViewKeywords::kArrayHeight:
        arrayHeight = number;
        return;
    default:
        return;
    }
}

void XViewBuilder::RunBlocks(const XString& text)
{
    Block block;
    size_t commentStart = 0;
    bool inComment = false;
    const unsigned length = static_cast<unsigned>(text.Length());
    unsigned pos = 0;
    for (size_t place = 0; pos < length; ++place)
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
            commentStart = place;
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
        switch (const int32_t id = ViewKeywords::FindKeyword(keyword))
        {
        case ViewKeywords::kArraySize:
        case ViewKeywords::kArrayBaseIndex:
            TakeArraySetting(id, value, place);
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
        block.push_back({line, place});
    }
    if (inComment)
        LogAt(commentStart, "the comment is not closed: the rest of the file is left out");
    if (!block.empty())
        RunRepetitions(block);
}

void XViewBuilder::RunRepetitions(const Block& block)
{
    RunBlock(block, 0);
    for (int32_t index = 1; index < arraySize; ++index)
        RunBlock(block, index);
    arrayBaseIndex = 0;
    arraySize = 1;
    arrayHeight = 0;
}

void XViewBuilder::RunBlock(const Block& block, int32_t index)
{
    arrayIndex = index;
    for (const BlockLine& line : block)
    {
        XString keyword, value;
        SplitLine(line.text, keyword, value);
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
        case ViewKeywords::kArrayHeight:
            // Logged once, at the block's first run.
            if (index == 0)
                TakeArraySetting(id, value, line.place);
            else
                DescriptionValues::ReadInteger(value,
                                               id == ViewKeywords::kArrayWidth ? arrayWidth : arrayHeight);
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
            if (index == 0)
                AddTypedValue(attributes, keyword, id, value, CurrentIndex(), line.place);
            else
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

void XViewBuilder::CreateParam(const Block& block)
{
    XString path;
    XMessage values;
    DescriptionIndex at = CurrentIndex();
    at.index = 0;
    for (const BlockLine& line : block)
    {
        XString keyword, value;
        SplitLine(line.text, keyword, value);
        const int32_t id = ViewKeywords::FindKeyword(keyword);
        if (id == ViewKeywords::kCreateParam)
            path = value;
        else
            AddTypedValue(values, keyword, id, value, at, line.place);
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
