#include "core/XParamGroup.h"

#include "core/FloatParam.h"
#include "core/GenericObjectArray.h"
#include "core/MemoryDataIO.h"
#include "core/ParamEdits.h"
#include "core/StringParam.h"
#include "core/TimeParam.h"
#include "core/XMemory.h"
#include "core/XMemoryIO.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XProxyParam.h"
#include "core/XStringConversion.h"
#include "core/XmlAttributes.h"
#include "platform/PlatformClock.h"

#include <juce_core/juce_core.h>

namespace
{
constexpr const char* kVersionItem = "version";
constexpr const char* kBlockItem = "serialMem";
constexpr const char* kNestedItem = "param";
constexpr const char* kNestedId = "pid";
constexpr const char* kNestedPath = "path";
constexpr int32_t kFormVersion = 0;
constexpr uint8_t kMarkerId = 0;
constexpr uint8_t kMarkerPath = 1;
constexpr char kPathSeparator = '\\';

const juce::Identifier& ElementTag()
{
    static const juce::Identifier tag("param");
    return tag;
}

bool IsTransient(const XParam* param)
{
    return (param->GetFlags() & XParamDesc::kFlagTransient) != 0;
}

bool HasIntegerXmlValue(int32_t type)
{
    return type == XParamDesc::kTypeInteger || type == XParamDesc::kTypeOnOff;
}

/** The count N of a name "Base[N]..." and the text around the brackets; false when the name holds
    no well-formed positive count. */
bool SplitBracketedCount(const char* name, XString& before, XString& after, int32_t& count)
{
    const XString text(name);
    const int open = text.FindChar('[');
    if (open < 0)
        return false;
    const XString rest = text.From(open + 1);
    const int close = rest.FindChar(']');
    if (close <= 0)
        return false;
    const XString digits = rest.Left(close);
    for (int i = 0; i < digits.Length(); ++i)
    {
        if (!IsDigitChar(digits.CharAt(static_cast<unsigned>(i))))
            return false;
    }
    count = digits.ToInt();
    if (count <= 0)
        return false;
    before = text.Left(open);
    after = rest.From(close + 1);
    return true;
}

XString JoinPath(const char* prefix, const char* name)
{
    XString path(prefix);
    if (!path.IsEmpty())
        path += kPathSeparator;
    path += name;
    return path;
}
} // namespace

XParamGroup::XParamGroup(const char* name) : XHandler(name != nullptr ? name : "") {}

XParamGroup::~XParamGroup()
{
    XParam::ForgetWatcher(this);
    for (ParamRec& record : params)
        record.owned.reset();
    params.clear();
}

// Filling
// ----------------------------------------------------------------------------------------------------

void XParamGroup::AddParam(XParam* param, int32_t id, bool owned)
{
    if (param == nullptr)
        return;
    if (id != kNoId)
        byId.Add(id, param);
    ParamRec record;
    record.param = param;
    record.id = id;
    if (owned)
        record.owned.reset(param);
    params.push_back(std::move(record));
}

void XParamGroup::AddGroup(XParamGroup* group)
{
    if (group == nullptr || group->GetKey().IsEmpty())
        return;
    subGroups.Add(group->GetKey().CStr(), group);
}

void XParamGroup::AddParamList(const XParamDescWithText* rows, const char* prefix)
{
    if (rows == nullptr)
        return;
    const bool registerPath = prefix != nullptr && prefix[0] != 0;
    for (const XParamDescWithText* row = rows; row->desc.name[0] != 0; ++row)
    {
        if (XParam* param = AddParamFromDesc(&row->desc, prefix, registerPath))
            param->SetTextCallback(row->textCallback, row->textUser);
    }
}

void XParamGroup::AddParams(const XParamDesc* table, const char* prefix)
{
    if (table == nullptr)
        return;
    const bool registerPath = prefix != nullptr && prefix[0] != 0;
    for (const XParamDesc* record = table; record->name[0] != 0; ++record)
    {
        XString before;
        XString after;
        int32_t count = 0;
        if (!SplitBracketedCount(record->name, before, after, count))
        {
            AddParamFromDesc(record, prefix, registerPath);
            continue;
        }
        // Each parameter of a bracketed row gets its own name and id, so that it is found by name
        // and copied (by its descriptor) like any other.
        for (int32_t k = 1; k <= count; ++k)
        {
            XParamDesc expanded = *record;
            expanded.id = record->id + k - 1;
            expanded.SetName((before + XString(k) + after).CStr());
            AddParamFromDesc(&expanded, prefix, registerPath);
        }
    }
}

std::unique_ptr<XParam> XParamGroup::CreateParam(const XParamDesc* desc)
{
    if (desc == nullptr)
        return nullptr;
    switch (desc->type)
    {
    case XParamDesc::kTypeTime:
        return std::make_unique<TimeParam>(*desc);
    case XParamDesc::kTypeText:
        return std::make_unique<StringParam>(*desc);
    case XParamDesc::kTypeProxy:
        return std::make_unique<XProxyParam>();
    default:
        return std::make_unique<FloatParam>(*desc);
    }
}

XParam* XParamGroup::AddParamFromDesc(const XParamDesc* desc, const char* prefix, bool registerPath)
{
    if (desc == nullptr || desc->name[0] == 0)
        return nullptr;
    std::unique_ptr<XParam> created = CreateParam(desc);
    if (created == nullptr)
        return nullptr;
    XParam* param = created.release();
    AddParam(param, desc->id, true);
    if (registerPath)
        param->SetPath("%s", JoinPath(prefix, desc->name).CStr());
    return param;
}

// Look-up
// ------------------------------------------------------------------------------------------------------

XParam* XParamGroup::GetParam(int32_t id) const
{
    return byId.Find(id);
}

XParamGroup* XParamGroup::GetGroup(const char* groupKey) const
{
    return subGroups.Find(groupKey);
}

int32_t XParamGroup::CountParams() const
{
    return static_cast<int32_t>(params.size());
}

XParam* XParamGroup::GetParamAt(int32_t index) const
{
    if (index < 0 || index >= CountParams())
        return nullptr;
    return params[static_cast<size_t>(index)].param;
}

XParam* XParamGroup::GetParamAndIdAt(int32_t index, int32_t* id) const
{
    XParam* param = GetParamAt(index);
    if (id != nullptr)
        *id = param != nullptr ? params[static_cast<size_t>(index)].id : kNoId;
    return param;
}

XParam* XParamGroup::FindParamByName(const char* text) const
{
    if (text == nullptr || text[0] == 0)
        return nullptr;
    for (const ParamRec& record : params)
    {
        if (record.param->GetName().EqualsNoCase(text) || record.param->GetFullPath().EqualsNoCase(text))
            return record.param;
    }
    return nullptr;
}

// Changes and watching
// ------------------------------------------------------------------------------------------

bool XParamGroup::StampedSince(uint32_t stamp, uint32_t since, uint32_t now)
{
    // 0 is "never"; a since after now has nothing after it.
    if (stamp == 0 || PlatformClock::TickIsBefore(now, since))
        return false;
    // Both measured from since, so that the comparison holds across the wrap of the tick count.
    return PlatformClock::TicksSince(since, stamp) <= PlatformClock::TicksSince(since, now);
}

void XParamGroup::CollectChangedSince(GenericObjectArray& out, uint32_t tick, bool append) const
{
    if (!append)
        out.RemoveAll();
    for (const ParamRec& record : params)
    {
        const uint32_t stamp = record.param->GetLastChangeTick();
        // The clock is read after the stamp, so a change stamped meanwhile on another thread is
        // never taken for one from the future.
        if (StampedSince(stamp, tick, PlatformClock::GetTickCount()))
            out.Add(record.param);
    }
}

void XParamGroup::WatchParams(const int32_t* ids, XHandler* handler, int32_t watchKey)
{
    if (handler == nullptr)
        return;
    if (ids == nullptr)
    {
        for (auto* node = byId.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
            LongToPtrMap<XParam>::GetNodeValue(node)->AddWatcher(handler, watchKey, true);
        return;
    }
    for (const int32_t* id = ids; *id != kNoId; ++id)
    {
        if (XParam* param = GetParam(*id))
            param->AddWatcher(handler, watchKey, true);
    }
}

void XParamGroup::ResetToDefaults(int32_t flags)
{
    if ((flags & kResetFlag) == 0)
        return;
    for (const ParamRec& record : params)
        record.param->ResetToDefault();
}

// Message form
// ------------------------------------------------------------------------------------------------------

void XParamGroup::WriteSelectedToMessage(XMessage* message, int32_t flags, const int32_t* ids)
{
    if (ids == nullptr)
    {
        WriteToMessage(message, flags);
        return;
    }
    std::vector<ParamRec> listed;
    for (const int32_t* id = ids; *id != kNoId; ++id)
    {
        ParamRec record;
        record.param = GetParam(*id);
        record.id = *id;
        listed.push_back(std::move(record));
    }
    std::vector<const ParamRec*> records;
    for (const ParamRec& record : listed)
        records.push_back(&record);
    WriteRecords(message, flags, records);
}

void XParamGroup::WriteToMessage(XMessage* message, int32_t flags)
{
    std::vector<const ParamRec*> records;
    for (const ParamRec& record : params)
        records.push_back(&record);
    WriteRecords(message, flags, records);
}

void XParamGroup::WriteRecords(XMessage* message, int32_t flags, const std::vector<const ParamRec*>& records)
{
    if (message == nullptr || (flags & kMessageFormFlags) == 0)
        return;
    message->AddInt32(kVersionItem, kFormVersion);

    XMemory block;
    XMemoryIO stream(&block, XMemoryIO::kWritable);
    stream.PutInt32(0); // the record count, written when known
    int32_t written = 0;
    for (const ParamRec* record : records)
    {
        XParam* param = record->param;
        if (param == nullptr || IsTransient(param))
            continue;
        if (record->id != kNoId)
        {
            stream.PutInt8(kMarkerId);
            stream.PutInt32(record->id);
        }
        else
        {
            const XString path = param->GetFullPath();
            if (path.IsEmpty())
                continue;
            stream.PutInt8(kMarkerPath);
            stream.WriteString16(path.CStr());
        }
        param->WriteTo(&stream, flags);
        ++written;
    }
    stream.SetWritePosition(0);
    stream.PutInt32(written);
    message->AddData(kBlockItem, XMessage::kTypeRaw, block.GetData(), block.GetLength(), false);
}

void XParamGroup::ReadFromMessage(const XMessage* message, int32_t flags)
{
    if (message == nullptr || (flags & kMessageFormFlags) == 0)
        return;
    const void* data = nullptr;
    int32_t size = 0;
    if (message->FindData(kBlockItem, XMessage::kTypeRaw, data, size) == 0)
        ReadBlock(data, size);
    else
        ReadNestedMessages(message);
}

void XParamGroup::ReadBlock(const void* data, int32_t size)
{
    // A private copy: the stream wants writable memory, and the message may be changed by a
    // notified watcher while values are applied.
    std::vector<uint8_t> bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    if (bytes.empty())
        return;
    MemoryDataIO stream(bytes.data(), size);
    const int32_t count = stream.GetInt32();
    for (int32_t i = 0; i < count && stream.GetLastError() == 0 && stream.GetPosition() < size; ++i)
    {
        const uint8_t marker = stream.GetInt8();
        XParam* param = nullptr;
        if (marker == kMarkerId)
        {
            const int32_t id = stream.GetInt32();
            param = GetParam(id);
        }
        else if (marker == kMarkerPath)
        {
            XString path;
            stream.ReadString16(path);
            param = FindParamByName(path.CStr());
        }
        if (stream.GetLastError() != 0 || param == nullptr || IsTransient(param))
            return;
        if (!param->ReadFrom(&stream))
            return;
    }
}

void XParamGroup::ReadNestedMessages(const XMessage* message)
{
    const int32_t count = message->CountValues(XMessage::kTypeMessage, kNestedItem);
    for (int32_t i = 0; i < count; ++i)
    {
        XMessage nested;
        if (message->FindMessage(kNestedItem, nested, i) != 0)
            return;
        XParam* param = nullptr;
        int32_t id = 0;
        const char* path = nullptr;
        if (nested.FindInt32(kNestedId, id) == 0)
            param = GetParam(id);
        else if (nested.FindString(kNestedPath, path) == 0)
            param = FindParamByName(path);
        if (param == nullptr)
            return;
        if (!IsTransient(param))
            param->ReadValueFromMessage(&nested, 0);
    }
}

// XML form
// ------------------------------------------------------------------------------------------------------------

void XParamGroup::WriteXml(juce::XmlElement& element)
{
    for (const ParamRec& record : params)
    {
        XParam* param = record.param;
        const XParamDesc* desc = param->GetDesc();
        if (desc == nullptr || IsTransient(param))
            continue;
        juce::XmlElement* child = element.createNewChildElement(ElementTag().toString());
        child->setAttribute("name", juce::String::fromUTF8(desc->name));
        child->setAttribute("pid", record.id);
        const int32_t type = param->GetType();
        if (type == XParamDesc::kTypeText)
        {
            child->setAttribute("valstr", ToJuceString(param->GetText()));
        }
        else if (HasIntegerXmlValue(type))
        {
            child->setAttribute("val", ParamEdits::TruncToInt(param->GetValue()));
            child->setAttribute("min", ParamEdits::TruncToInt(param->GetMin()));
            child->setAttribute("max", ParamEdits::TruncToInt(param->GetMax()));
        }
        else
        {
            child->setAttribute("val", param->GetValue());
            child->setAttribute("min", param->GetMin());
            child->setAttribute("max", param->GetMax());
        }
    }
}

void XParamGroup::ReadXml(const juce::XmlElement& element)
{
    for (const juce::XmlElement* child : element.getChildWithTagNameIterator(ElementTag().toString()))
    {
        int32_t pid = 0;
        if (!XmlAttributes::ReadInt32(*child, "pid", pid))
            continue;
        XParam* param = GetParam(pid);
        if (param == nullptr)
            continue;
        const int32_t type = param->GetType();
        if (type == XParamDesc::kTypeText)
        {
            if (child->hasAttribute("valstr"))
                param->SetText(child->getStringAttribute("valstr").toRawUTF8(), true);
        }
        else if (child->hasAttribute("val"))
        {
            if (HasIntegerXmlValue(type))
                param->SetValue(static_cast<double>(XmlAttributes::ReadInteger(*child, "val", 0)), true);
            else
                param->SetValue(child->getDoubleAttribute("val"), true);
        }
    }
}
