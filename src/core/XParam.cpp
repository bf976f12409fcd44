#include "core/XParam.h"

#include "core/IDataIO.h"
#include "core/IParamHost.h"
#include "core/ParamRegistry.h"
#include "core/XLiveParamSet.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XRegistry.h"
#include "core/XSmartLock.h"
#include "platform/PlatformClock.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <unordered_map>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kDestroyed = static_cast<int32_t>(XMsgCode::kParamDestroyed);
/** Bytes of WriteTo's flags word, name length and floats. */
constexpr int kFloatBytes = 4;

/** Which parameters each handler watches, one entry per watcher entry, so that a handler that goes
    can be taken off every list. Guarded by the parameter lock. */
std::unordered_map<const XHandler*, std::vector<XParam*>>& WatchedParams()
{
    static auto* map = new std::unordered_map<const XHandler*, std::vector<XParam*>>(); // never freed
    return *map;
}

void ForgetOneWatch(const XHandler* handler, XParam* param)
{
    auto& watched = WatchedParams();
    const auto found = watched.find(handler);
    if (found == watched.end())
        return;
    auto& params = found->second;
    const auto entry = std::find(params.begin(), params.end(), param);
    if (entry != params.end())
        params.erase(entry);
    if (params.empty())
        watched.erase(found);
}

bool ShuttingDown()
{
    return GetParamHost().IsShuttingDown();
}

/** Text before the last backslash; "" when there is none. */
XString BeforeLastSeparator(const XString& text)
{
    const int separator = text.FindLast("\\");
    return separator < 0 ? XString() : text.Left(separator);
}

/** Text after the last backslash; the whole text when there is none. */
XString AfterLastSeparator(const XString& text)
{
    const int separator = text.FindLast("\\");
    return separator < 0 ? text : text.From(separator + 1);
}
} // namespace

XMutex& GetParamLock()
{
    return XLiveParamSet::Get().GetLock();
}

XParam::XParam() : XHandler("")
{
    XLiveParamSet::Get().Add(this);
}

XParam::~XParam()
{
    Retire();
}

void XParam::Retire()
{
    const bool shuttingDown = ShuttingDown();
    XSmartLock hold(GetParamLock());
    if (retired)
        return;
    // Told first, while the object is whole: watchers may still ask it for its name or value.
    if (!shuttingDown)
        Notify(kDestroyed);
    retired = true;
    XLiveParamSet::Get().Remove(this);
    if (!path.IsEmpty())
    {
        ParamRegistry::Unregister(this, path);
        path = "";
    }
    for (const WatcherData& entry : watchers)
        ForgetOneWatch(entry.handler, this);
    watchers.clear();
    ForgetWatcher(this);
    signal.DisconnectAll();
}

// Handler part ------------------------------------------------------------------------------------------

void XParam::SetMode(int32_t mode)
{
    SetChangeTracking(mode != 0);
}

void XParam::SetChangeTracking(bool on)
{
    XSmartLock hold(GetParamLock());
    changeTracking.store(on);
    if (passingOnTracking)
        return;
    passingOnTracking = true;
    // Snapshot: a watcher's SetMode may change this list.
    const std::vector<WatcherData> entries = watchers;
    for (const WatcherData& entry : entries)
    {
        const bool stillWatching = std::any_of(
            watchers.begin(), watchers.end(), [&](const WatcherData& w) { return w.serial == entry.serial; });
        if (stillWatching)
            entry.handler->SetMode(on ? 1 : 0);
    }
    passingOnTracking = false;
}

void XParam::HandleParamEvent(int32_t code, XParam* source, int32_t key)
{
    // The dying parameter's end concerns only its own watchers.
    if (code == kDestroyed)
        return;
    Notify(code);
}

void XParam::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    HandleParamEvent(code, param, key);
}

XString XParam::GetName() const
{
    XString fullPath = GetFullPath();
    if (!fullPath.IsEmpty())
        return AfterLastSeparator(fullPath);
    const XParamDesc* desc = GetDesc();
    return desc != nullptr ? XString(desc->name) : XString();
}

// Descriptor defaults ---------------------------------------------------------------------------------

void XParam::SetDesc(const XParamDesc* desc) {}

int32_t XParam::GetType() const
{
    return 0;
}

const XParamDesc* XParam::GetDesc() const
{
    return nullptr;
}

int32_t XParam::GetFlags() const
{
    return 0;
}

void XParam::SetFlags(int32_t flags) {}

void* XParam::GetClientData() const
{
    return nullptr;
}

void XParam::SetClientData(void* data) {}

int32_t XParam::GetId() const
{
    return -1;
}

void XParam::SetTextCallback(ParamTextCallback callback, int32_t user) {}

void XParam::SetVetoCallback(ParamVetoCallback callback, int32_t user) {}

void XParam::SetValueMapCallback(ParamValueMapCallback callback, int32_t user) {}

void XParam::SetEventCallback(ParamEventCallback callback, int32_t user) {}

ParamFormatCallback XParam::GetFormatCallback() const
{
    return nullptr;
}

void XParam::SetFormatCallback(ParamFormatCallback callback, int32_t user, int32_t extra) {}

double XParam::GetMin() const
{
    return 0.0;
}

double XParam::GetMax() const
{
    return 1.0;
}

uint32_t XParam::GetCount() const
{
    return 1;
}

void XParam::SetMin(double value) {}

void XParam::SetMax(double value) {}

void XParam::SetCount(uint32_t value) {}

bool XParam::IsToggle() const
{
    return GetCount() < 3;
}

uint32_t XParam::NormalisedSteps() const
{
    const uint32_t count = GetCount();
    return count > 1 ? count - 1 : count;
}

double XParam::ValueToNormalised(float value) const
{
    const uint32_t n = NormalisedSteps();
    const auto index = static_cast<uint32_t>(ValueToIndex(value));
    return n != 0 ? static_cast<double>(index) / n : 0.0;
}

double XParam::GetNormalised() const
{
    const uint32_t n = NormalisedSteps();
    const auto index = static_cast<uint32_t>(ValueToIndex(GetValue()));
    return n != 0 ? static_cast<double>(index) / n : 0.0;
}

namespace
{
/** The step index of a position p on n steps, truncated; positions outside 0..1 are held to it. */
int32_t PositionToIndex(double p, uint32_t n)
{
    if (!(p > 0.0))
        return 0;
    const double index = std::min(p, 1.0) * n;
    return static_cast<int32_t>(static_cast<uint32_t>(index));
}
} // namespace

double XParam::NormalisedToValue(float position) const
{
    return IndexToValue(PositionToIndex(position, NormalisedSteps()));
}

bool XParam::BeginEdit()
{
    return false;
}

bool XParam::EndEdit()
{
    return false;
}

bool XParam::IsEditing() const
{
    return false;
}

bool XParam::ChangeNormalised(double position, bool notify)
{
    if (!std::isfinite(position))
        return false;
    return ChangeValue(IndexToValue(PositionToIndex(position, NormalisedSteps())), notify);
}

bool XParam::SetNormalised(double position, bool notify)
{
    if (!std::isfinite(position))
        return false;
    return SetValue(IndexToValue(PositionToIndex(position, NormalisedSteps())), notify);
}

int32_t XParam::GetStepIndex() const
{
    return ValueToIndex(GetValue());
}

bool XParam::SetStepIndex(int32_t index)
{
    return ChangeValue(IndexToValue(index), true);
}

XParam* XParam::GetSelf()
{
    return this;
}

// Watchers --------------------------------------------------------------------------------------------

void XParam::AddWatcher(XHandler* handler, int32_t key, bool notifyNow)
{
    if (handler == nullptr || ShuttingDown())
        return;
    XSmartLock hold(GetParamLock());
    if (retired)
        return;
    watchers.push_back(WatcherData{handler, key, ++lastSerial});
    WatchedParams()[handler].push_back(this);
    if (notifyNow)
        handler->DeliverParamChanged(kValueSet, this, key);
}

void XParam::RemoveWatcher(XHandler* handler)
{
    if (ShuttingDown())
        return;
    XSmartLock hold(GetParamLock());
    const auto entry = std::find_if(watchers.begin(), watchers.end(),
                                    [handler](const WatcherData& w) { return w.handler == handler; });
    if (entry == watchers.end())
        return;
    watchers.erase(entry);
    ForgetOneWatch(handler, this);
}

bool XParam::IsWatchedBy(XHandler* handler, int32_t key) const
{
    if (handler == nullptr)
        return false;
    XSmartLock hold(GetParamLock());
    return std::any_of(watchers.begin(), watchers.end(),
                       [&](const WatcherData& w) { return w.handler == handler && w.key == key; });
}

int32_t XParam::GetWatcherCount() const
{
    XSmartLock hold(GetParamLock());
    return static_cast<int32_t>(watchers.size());
}

int32_t XParam::DropWatcherEntries(const XHandler* handler)
{
    const auto oldSize = watchers.size();
    watchers.erase(std::remove_if(watchers.begin(), watchers.end(),
                                  [handler](const WatcherData& w) { return w.handler == handler; }),
                   watchers.end());
    return static_cast<int32_t>(oldSize - watchers.size());
}

void XParam::ForgetWatcher(XHandler* handler)
{
    if (handler == nullptr)
        return;
    XSmartLock hold(GetParamLock());
    auto& watched = WatchedParams();
    const auto found = watched.find(handler);
    if (found == watched.end())
        return;
    const std::vector<XParam*> params = std::move(found->second);
    watched.erase(found);
    for (XParam* param : params)
        param->DropWatcherEntries(handler);
}

void XParam::Notify(int32_t code)
{
    if (ShuttingDown())
        return;
    NotifyWatchers(code, nullptr);
}

void XParam::NotifyWatchers(int32_t code, XHandler* except)
{
    if (ShuttingDown())
        return;
    XSmartLock hold(GetParamLock());
    WalkWatchers(code, except, Delivery::ByRule);
    signal.Emit(this);
}

void XParam::NotifyWatchersNow(int32_t code)
{
    if (ShuttingDown())
        return;
    XSmartLock hold(GetParamLock());
    WalkWatchers(code, nullptr, Delivery::Virtual);
}

void XParam::WalkWatchers(int32_t code, XHandler* except, Delivery delivery)
{
    // Walk by serial, not by position: a watcher called here may add or remove entries (of this
    // parameter or, by its destruction, its own). Entries added meanwhile wait for the next change.
    const uint32_t newest = lastSerial;
    uint32_t after = 0;
    for (;;)
    {
        const auto next =
            std::upper_bound(watchers.begin(), watchers.end(), after,
                             [](uint32_t serial, const WatcherData& w) { return serial < w.serial; });
        if (next == watchers.end() || next->serial > newest)
            return;
        after = next->serial;
        const WatcherData entry = *next;
        if (entry.handler == except)
            continue;
        if (delivery == Delivery::Virtual)
            entry.handler->NotifyParamChanged(code, this, entry.key);
        else
            entry.handler->DeliverParamChanged(code, this, entry.key);
    }
}

// Change tracking and the document ----------------------------------------------------------------------

void XParam::StampChange(bool force)
{
    if (force || changeTracking.load())
        lastChangeTick.store(PlatformClock::GetTickCount());
}

void XParam::MarkDocument()
{
    if ((GetFlags() & XParamDesc::kFlagTransient) == 0)
        GetParamHost().MarkDocumentModified();
}

// Path ------------------------------------------------------------------------------------------------

bool XParam::SetPath(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    XString text;
    const bool formatted = RegistryPath::FormatV(text, format, args);
    va_end(args);

    XSmartLock hold(GetParamLock());
    if (retired)
        return false;
    if (!path.IsEmpty())
    {
        ParamRegistry::Unregister(this, path);
        path = "";
    }
    if (!formatted)
        return false;
    if (text.IsEmpty())
        return true;
    if (!ParamRegistry::Register(this, text))
        return false;
    path = text;
    return true;
}

XString XParam::GetFullPath() const
{
    XSmartLock hold(GetParamLock());
    return path;
}

XString XParam::GetPath() const
{
    return BeforeLastSeparator(GetFullPath());
}

// Serialised form -----------------------------------------------------------------------------------

void XParam::WriteTo(IDataIO* stream, int32_t flags)
{
    if (stream == nullptr)
        return;
    stream->PutInt32(flags);
    if ((flags & kWriteWithRange) != 0)
    {
        stream->WriteString16(GetName().CStr());
        stream->PutFloat(static_cast<float>(GetMin()));
        stream->PutFloat(static_cast<float>(GetMax()));
    }
    const int32_t kind = GetValueKind();
    if (kind == kKindText)
        stream->WriteString16(GetText().CStr());
    else if (kind != kKindTime)
        stream->PutFloat(static_cast<float>(GetValue()));
}

bool XParam::ReadFrom(IDataIO* stream)
{
    if (stream == nullptr)
        return false;
    const int32_t errorBefore = stream->GetLastError();
    stream->SetLastError(0);
    const auto failed = [&]()
    {
        const bool bad = stream->GetLastError() != 0;
        if (!bad)
            stream->SetLastError(errorBefore);
        return bad;
    };

    const int32_t flags = stream->GetInt32();
    if ((flags & kWriteWithRange) != 0)
    {
        XString ignoredName;
        stream->ReadString16(ignoredName);
        stream->GetFloat();
        stream->GetFloat();
    }
    if (failed())
        return false;
    const int32_t kind = GetValueKind();
    if (kind == kKindText)
    {
        XString text;
        stream->ReadString16(text);
        if (failed())
            return false;
        SetText(text.CStr(), true);
    }
    else if (kind != kKindTime)
    {
        const float value = stream->GetFloat();
        if (failed())
            return false;
        SetValue(value, true);
    }
    return true;
}

bool XParam::ReadValueFromMessage(const XMessage* message, int32_t index)
{
    if (message == nullptr)
        return false;
    // Index 0 also carries "name", "min" and "max", which describe the parameter and are not applied.
    const int32_t kind = GetValueKind();
    if (kind == kKindText)
    {
        const char* text = nullptr;
        if (message->FindString("value", text, index) != 0)
            return false;
        SetText(text, true);
        return true;
    }
    if (kind == kKindNumeric)
    {
        float value = 0.0f;
        if (message->FindFloat("value", value, index) != 0)
            return false;
        SetValue(value, true);
        return true;
    }
    return false;
}

// Free functions ----------------------------------------------------------------------------------------

bool ParamsHaveSameRange(XParam* a, XParam* b)
{
    if (a == b && a != nullptr)
        return true;
    if (a == nullptr || b == nullptr)
        return false;
    return a->GetCount() == b->GetCount() && a->GetMin() == b->GetMin() && a->GetMax() == b->GetMax() &&
           a->GetValueKind() == b->GetValueKind();
}

bool ParamsDiffer(XParam* a, XParam* b)
{
    if (a == nullptr || b == nullptr)
        return true;
    if (a == b)
        return false;
    if (!ParamsHaveSameRange(a, b))
        return true;
    switch (a->GetValueKind())
    {
    case XParam::kKindNumeric:
        return a->GetValue() != b->GetValue();
    case XParam::kKindText:
        return a->GetText() != b->GetText();
    default:
        return true;
    }
}

bool IsValueChangeCode(int32_t code)
{
    return code == kValueSet || code == kChangedByUser;
}
