#include "device/XParamDoc.h"

#include "core/IAppIdentity.h"
#include "core/IAppServices.h"
#include "core/Log.h"
#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "core/XStringConversion.h"
#include "core/XmlAttributes.h"
#include "device/PresetFileReader.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFile.h"

#include <cmath>
#include <cstdlib>
#include <juce_core/juce_core.h>
#include <memory>

namespace
{
constexpr const char* kParamTag = "param";
constexpr const char* kNameAttribute = "name";
constexpr const char* kIdAttribute = "pid";
constexpr const char* kFlagsAttribute = "flags";
constexpr const char* kTextAttribute = "valstr";
constexpr const char* kValueAttribute = "val";
constexpr const char* kEncoding = "UTF-8";

constexpr const char* kListenModePath = "global\\ListenMode";
constexpr const char* kToolbarABPath = "QM7\\ToolbarAB";
constexpr const char* kDocumentDirtyPath = "QM7\\documentDirty";
constexpr const char* kSessionNamePath = "preset\\CurrentSessionName";
constexpr const char* kCurrentConfigPath = "preset\\CurrentConfig";

/** Flag bits that a file sets or clears outright; every other bit in a file is only added. */
constexpr int32_t kFileOwnedFlags = XParamDesc::kFlagDevice8 | XParamDesc::kFlagDevice4;

bool IsTransient(const XParam* param)
{
    return (param->GetFlags() & XParamDesc::kFlagTransient) != 0;
}

bool HasIntegerValue(int32_t type)
{
    return type == XParamDesc::kTypeInteger || type == XParamDesc::kTypeOnOff;
}

/** The file of a framework path ('\' separators), relative paths taken from the current folder. */
juce::File SystemFile(const char* path)
{
    const std::string systemPath = PlatformFile::ToSystemPath(path);
    return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(systemPath.c_str()));
}

/** The first child of root tagged name without regard to case; null when none. */
const juce::XmlElement* FindGroupElement(const juce::XmlElement& root, const XString& name)
{
    const juce::String tag = ToJuceString(name);
    for (const juce::XmlElement* element : root.getChildIterator())
    {
        if (element->getTagName().equalsIgnoreCase(tag))
            return element;
    }
    return nullptr;
}

/** The document's name of a path: its last component, '/' counting as '\'. */
XString FileNameOf(const char* path)
{
    XString copy(path);
    XString name;
    copy.GetFileName(name);
    return name;
}
} // namespace

XParamDoc::XParamDoc() : XHandler("") {}

XParamDoc::XParamDoc(const char* path) : XDocument(path), XHandler("") {}

XParamDoc::~XParamDoc()
{
    // Leave every watcher list before the document's parts go.
    XParam::ForgetWatcher(this);
}

XString XParamDoc::GetFileExtension()
{
    return kFileExtension;
}

XString XParamDoc::GetFileFilter()
{
    return kFileFilter;
}

void XParamDoc::AddGroup(XParamGroup* group)
{
    if (group == nullptr)
        return;
    groups.Add(group);
    addingGroup.store(true);
    group->WatchParams(nullptr, this, 0);
    addingGroup.store(false);
}

void XParamDoc::NotifyAllParams()
{
    for (GenericList::Link* link = groups.GetHead(); link != nullptr; link = link->next)
    {
        XParamGroup* group = XList<XParamGroup>::ItemOf(link);
        for (int32_t index = group->CountParams() - 1; index >= 0; --index)
            group->GetParamAt(index)->Notify(XMsgCode::kParamValueSet);
    }
}

// Saving
// ------------------------------------------------------------------------------------------------------------

int32_t XParamDoc::SaveAs(const char* path)
{
    if (path == nullptr || *path == 0)
        return XResult::kFailed;
    const XString previousPath = GetPath();
    const bool previousKeepPath = GetKeepPath();
    const int32_t baseResult = XDocument::SaveAs(path);
    if (baseResult != 0)
    {
        LogPrintf("XParamDoc::Save(%s) : Error occurred calling the base XDocument::Save().", path);
        return baseResult;
    }
    const XString target = GetPath();
    const int32_t result = WriteTo(target.CStr());
    if (result != 0)
    {
        // Nothing was saved: the document stays what it was, modified flag included.
        SetPath(previousPath.CStr());
        SetKeepPath(previousKeepPath);
        return result;
    }
    UpdateTitle(target.CStr());
    MarkClean();
    return 0;
}

int32_t XParamDoc::WriteTo(const char* path)
{
    if (path == nullptr || *path == 0)
        return XResult::kFailed;
    juce::XmlElement root(ToJuceString(appName));
    for (GenericList::Link* link = groups.GetHead(); link != nullptr; link = link->next)
    {
        XParamGroup* group = XList<XParamGroup>::ItemOf(link);
        const juce::String groupTag = juce::String::fromUTF8(group != nullptr ? group->GetName().CStr() : "");
        if (!juce::XmlElement::isValidXmlName(groupTag))
            return XResult::kFailed;
        juce::XmlElement* groupElement = root.createNewChildElement(groupTag);
        group->WriteXml(*groupElement);

        // The group writes name, pid and the value; the flag word goes in behind the pid. The
        // group's elements follow its non-transient parameters with descriptors in group order.
        juce::XmlElement* written = groupElement->getFirstChildElement();
        for (int32_t index = 0; index < group->CountParams() && written != nullptr; ++index)
        {
            const XParam* param = group->GetParamAt(index);
            if (param->GetDesc() == nullptr || IsTransient(param))
                continue;
            auto element = std::make_unique<juce::XmlElement>(kParamTag);
            element->setAttribute(kNameAttribute, written->getStringAttribute(kNameAttribute));
            element->setAttribute(kIdAttribute, written->getStringAttribute(kIdAttribute));
            element->setAttribute(kFlagsAttribute, param->GetFlags());
            for (int attribute = 0; attribute < written->getNumAttributes(); ++attribute)
            {
                const juce::String name = written->getAttributeName(attribute);
                if (name != kNameAttribute && name != kIdAttribute)
                    element->setAttribute(name, written->getAttributeValue(attribute));
            }
            juce::XmlElement* next = written->getNextElement();
            groupElement->replaceChildElement(written, element.release());
            written = next;
        }
    }
    // writeTo fills a temporary file beside the target and renames it over the target.
    juce::XmlElement::TextFormat format;
    format.customEncoding = kEncoding;
    return root.writeTo(SystemFile(path), format) ? 0 : XResult::kFailed;
}

int32_t XParamDoc::New(const char* path)
{
    GetAppServices().RefreshDelayWindows();
    const int32_t result = XDocument::New(path);
    if (result != 0)
        return result;
    UpdateTitle(path);
    MarkClean();
    return 0;
}

void XParamDoc::Reset()
{
    GetAppServices().ResetChannelsToDefaults();
    if (XParamGroup* presetGroup = groups.GetAt(static_cast<unsigned>(groups.GetCount() - 1)))
        presetGroup->ResetToDefaults(XParamGroup::kResetFlag);
    if (XParam* config = FindParam("%s", kCurrentConfigPath))
        config->Notify(XMsgCode::kParamValueSet);
    XDocument::Reset();
}

// Loading
// ------------------------------------------------------------------------------------------------------------

int32_t XParamDoc::Open(const char* path)
{
    const XString previousPath = GetPath();
    const bool previousModified = IsModified();
    const int32_t result = XDocument::Open(path);
    if (result != 0)
    {
        // The file could not be read: a later Save must not write over it.
        SetPath(previousPath.CStr());
        SetModified(previousModified);
    }
    return result;
}

int32_t XParamDoc::Load()
{
    if (XParam* listenMode = FindParam("%s", kListenModePath);
        listenMode != nullptr && listenMode->GetValue() == 0)
    {
        listenMode->SetChangeTracking(false);
        listenMode->SetValue(1, true);
        listenMode->SetChangeTracking(true);
    }

    IAppServices& services = GetAppServices();
    const bool modifiedBefore = IsModified();
    busy.store(true);
    services.RefreshDelayWindows();
    services.EnableParamSending(false);
    services.SetChannelLinking(false);
    if (XParam* selector = FindParam("%s", kToolbarABPath))
        selector->ResetToDefault();

    const XString path = GetPath();
    const int32_t result = ReadXml(path.CStr());
    if (result == 0)
    {
        UpdateTitle(path.CStr());
        MarkClean();
    }
    else
    {
        LogPrintf("XParamDoc: the preset file %s could not be read.", path.CStr());
        SetModified(modifiedBefore);
    }
    busy.store(false);

    services.EnableParamSending(true);
    services.SetChannelLinking(true);
    PlatformClock::Sleep(kSendAllPauseMs);
    services.RefreshFrontPanelWindow();
    services.SendAllParamsIfConnected();
    return result;
}

int32_t XParamDoc::ReadXml(const char* path)
{
    const std::unique_ptr<juce::XmlElement> root = PresetFileReader::Read(SystemFile(path));
    if (root == nullptr || !root->getTagName().equalsIgnoreCase(ToJuceString(appName)))
        return XResult::kFailed;
    // Every preset holds every group of the document: a file without one of them was cut short or
    // is not a whole preset, and reading the rest would leave that group as it was.
    for (GenericList::Link* link = groups.GetHead(); link != nullptr; link = link->next)
    {
        if (FindGroupElement(*root, XList<XParamGroup>::ItemOf(link)->GetName()) == nullptr)
            return XResult::kFailed;
    }

    for (const juce::XmlElement* element : root->getChildIterator())
    {
        XParamGroup* group = FindGroup(element->getTagName().toRawUTF8());
        if (group == nullptr)
            continue;
        ReadGroupElement(*group, *element);
        for (int32_t index = group->CountParams() - 1; index >= 0; --index)
            group->GetParamAt(index)->Notify(XMsgCode::kParamValueSet);
    }
    return 0;
}

void XParamDoc::ReadGroupElement(XParamGroup& group, const juce::XmlElement& element)
{
    for (const juce::XmlElement* child : element.getChildWithTagNameIterator(kParamTag))
    {
        const int64_t id = XmlAttributes::ReadInteger(*child, kIdAttribute, 0);
        XParam* param = id == static_cast<int32_t>(id) ? group.GetParam(static_cast<int32_t>(id)) : nullptr;
        if (param == nullptr)
            continue;

        // Bits 0x40 and 0x80 come from the file alone, other bits are added; the transient bit
        // belongs to the table (a file that set it would drop the parameter from every later save).
        const auto fileFlags = static_cast<int32_t>(
            static_cast<uint32_t>(XmlAttributes::ReadInteger(*child, kFlagsAttribute, 0)) &
            ~XParamDesc::kFlagTransient);
        param->SetFlags(fileFlags | (param->GetFlags() & ~kFileOwnedFlags));

        const int32_t type = param->GetType();
        if (type == XParamDesc::kTypeText)
        {
            param->SetText(child->getStringAttribute(kTextAttribute).toRawUTF8(), true);
        }
        else if (HasIntegerValue(type))
        {
            param->SetValue(static_cast<double>(XmlAttributes::ReadInteger(*child, kValueAttribute, 0)),
                            true);
        }
        else
        {
            const double value = child->getDoubleAttribute(kValueAttribute, 0.0);
            if (std::isfinite(value))
                param->SetValue(value, true);
        }
    }
}

XParamGroup* XParamDoc::FindGroup(const char* name) const
{
    for (GenericList::Link* link = groups.GetHead(); link != nullptr; link = link->next)
    {
        XParamGroup* group = XList<XParamGroup>::ItemOf(link);
        if (group->GetName().EqualsNoCase(name))
            return group;
    }
    return nullptr;
}

// Title and changes
// ------------------------------------------------------------------------------------------------------------

void XParamDoc::UpdateTitle(const char* path)
{
    const XString name = FileNameOf(path);
    if (XParam* sessionName = FindParam("%s", kSessionNamePath))
        sessionName->ChangeText(name.CStr(), true);
    if (titleView == nullptr)
        return;
    IAppIdentity* identity = GetAppIdentity();
    XString title = identity != nullptr ? identity->GetAppName() : appName;
    title += " - ";
    title += name;
    titleView->SetDocumentTitle(title);
}

void XParamDoc::MarkClean()
{
    if (XParam* dirty = FindParam("%s", kDocumentDirtyPath))
        dirty->ChangeValue(0, true);
    SetModified(false);
}

void XParamDoc::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    XHandler::ParamChanged(code, param, key);
    const auto what = static_cast<uint32_t>(code);
    if (what != XMsgCode::kParamValueSet && what != XMsgCode::kParamChangedByUser)
        return;
    if (busy.load() || addingGroup.load() || param == nullptr || IsTransient(param))
        return;
    if (XParam* dirty = FindParam("%s", kDocumentDirtyPath))
        dirty->ChangeValue(1, true);
    SetModified(true);
    GetAppServices().RepaintFrontPanelParam(param);
}
