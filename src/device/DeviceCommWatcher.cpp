#include "device/DeviceCommWatcher.h"

#include "core/IAppServices.h"
#include "core/XApplication.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"
#include "device/DeviceCommand.h"
#include "device/IReceivePresetHandler.h"
#include "device/RequestPayloads.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "device/WireId.h"
#include "platform/PlatformClock.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace
{
/** Every request goes to address 0. */
constexpr int kAddress = 0;
/** Wire flag of a value that is a slaved unit's meter reading. */
constexpr uint8_t kWireSlaveMeterFlag = 0x40;
/** Serial-control notice mode that puts the serial control in force. */
constexpr uint8_t kSerialNoticeOn = 1;

constexpr uint32_t kUnitRecallPauseMs = 100;
constexpr uint32_t kAfterRecallMs = 1000;
constexpr uint32_t kFinishPauseMs = 100;

constexpr const char* kStatusReceiving = "receiving data...";
constexpr const char* kStatusReceivingCompare = "receiving Flash Compare Mode data...";
constexpr const char* kStatusConnected = "connected to unit";
constexpr const char* kLockedOutText = "L";
constexpr const char* kSlavedText = "S";

/** Ids of each group in the order they are mapped. Each id maps to its group's base + id wherever it
    stands, so the order decides only the order in which the parameters are watched; it is the order
    of the unit's parameter index lists, which this keeps so that both walk the values alike.

    Inputs: the singles (inputMeter, GEQAllBypass, PEQAllBypass, delayTime, delayBypass), then the
    ten filters (high-pass and bands 1..9) one field at a time: types 1.., gains 11.., frequencies
    21.., slopes 41.. before Qs 31.. as the unit lists them, bypasses 51..; then the graphic EQ's 31
    gains 62..92 and its band-bypass mask 93. */
std::vector<int32_t> InputMapIds()
{
    std::vector<int32_t> ids{0, 94, 61, 96, 97};
    for (int32_t first : {1, 11, 21, 41, 31, 51})
        for (int32_t band = 0; band < 10; ++band)
            ids.push_back(first + band);
    for (int32_t geqBand = 62; geqBand <= 92; ++geqBand)
        ids.push_back(geqBand);
    ids.push_back(93);
    return ids;
}

/** Outputs: the singles 0..9 and the delay, EQ-bypass, limiter, gain and polarity rows in the unit's
    order (43, 44, 42, 45, 46, 50, 47, 48, 49, 51, 10), then the five EQ bands one field at a time:
    types 12.., gains 17.., frequencies 22.., slopes 32.. before Qs 27.. as the unit lists them,
    bypasses 37... */
std::vector<int32_t> OutputMapIds()
{
    std::vector<int32_t> ids{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 43, 44, 42, 45, 46, 50, 47, 48, 49, 51, 10};
    for (int32_t first : {12, 17, 22, 32, 27, 37})
        for (int32_t band = 0; band < 5; ++band)
            ids.push_back(first + band);
    return ids;
}

/** The preset and main groups' ids in the unit's order (author and revision, 7 and 8, before the dates
    5 and 6; the main group's edit, lock, listen-mode, dirty and VU rows after the others). */
const std::vector<int32_t> kPresetMapIds{0, 1, 2, 3, 4, 7, 8, 5, 6, 9, 10, 11, 12};
const std::vector<int32_t> kMainMapIds{0,  1,  2,  3,  4,  5,  7,  12, 14, 15, 16, 17, 18, 19,
                                       20, 21, 22, 23, 24, 25, 26, 28, 8,  11, 6,  49, 10};

/** Ids of each group that may reach the wire: 0 up to (not including) these. */
constexpr int32_t kMainIdCount = WireIdSpace::kPresetBase;
constexpr int32_t kPresetIdCount = WireIdSpace::kInputBase - WireIdSpace::kPresetBase;

/** Whether every field read from the payload so far was there. */
bool AllRead(const TWMsgBuf& payload)
{
    return payload.GetLastError() == 0;
}

IAppServices& Services()
{
    return GetAppServices();
}
} // namespace

bool IsFloatParam(const XParam* param)
{
    return param != nullptr && IsFloatParamType(param->GetType());
}

DeviceCommWatcher::DeviceCommWatcher(TWRPCUSBConnection* connection)
    : XHandler(""), TWRPCDispatcher(nullptr), usbConnection(connection)
{
    // The dispatcher part becomes the connection's handler only now that every member exists: the
    // reader thread may hand it a frame at once.
    if (usbConnection != nullptr)
        usbConnection->SetMessageHandler(this);
    SetParamSendingState(this);
}

DeviceCommWatcher::~DeviceCommWatcher()
{
    DetachFromConnection();
    if (XLooper* looper = GetLooper())
        looper->RemoveHandler(this); // takes the 'idle' timer away; waits for a tick in progress
    SetParamSendingState(nullptr);
    SendCommand3();
    StopWatching();
    XParam::ForgetWatcher(this);
}

int32_t DeviceCommWatcher::SendRequest(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply)
{
    if (usbConnection == nullptr || !usbConnection->IsConnected())
        return XResult::kFailed;
    TWMsgBuf frame;
    if (BuildRequest(frame, address, command, payload) != 0)
        return XResult::kFailed;
    usbConnection->Send(frame, reply);
    return 0;
}

void DeviceCommWatcher::DetachFromConnection()
{
    if (usbConnection != nullptr)
        usbConnection->ClearMessageHandler(this);
}

// Maps ---------------------------------------------------------------------------------------------

void DeviceCommWatcher::BuildWireIdMaps(bool noTimer)
{
    SetSendingEnabled(false);
    if (!noTimer)
        if (XLooper* looper = GetLooper())
            looper->SetTimer(this, kIdleTimerId, kSendPeriodMs, false);

    static const std::vector<int32_t> inputIds = InputMapIds();
    static const std::vector<int32_t> outputIds = OutputMapIds();
    for (int32_t input = 0; input < WireIdSpace::kInputCount; ++input)
        MapChannel(GetInputChannel(input), GetCompareInputChannel(input), inputIds,
                   WireIdSpace::kInputBase + WireIdSpace::kInputStride * input);
    for (int32_t output = 0; output < WireIdSpace::kOutputCount; ++output)
        MapChannel(GetOutputChannel(output), GetCompareOutputChannel(output), outputIds,
                   WireIdSpace::kOutputBase + WireIdSpace::kOutputStride * output);
    MapChannel(Services().GetPresetGroup(), Services().GetComparePresetGroup(), kPresetMapIds,
               WireIdSpace::kPresetBase);
    for (int32_t id : kMainMapIds)
        MapLiveParam(Services().GetParam(id), WireIdSpace::kMainBase + id);

    mapsBuilt.store(true);
    SetSendingEnabled(true);
}

void DeviceCommWatcher::MapChannel(XParamGroup* live, XParamGroup* compare, const std::vector<int32_t>& ids,
                                   int base)
{
    for (int32_t id : ids)
    {
        if (live != nullptr)
            MapLiveParam(live->GetParam(id), base + id);
        if (compare != nullptr)
            MapCompareParam(compare->GetParam(id), base + id);
    }
}

void DeviceCommWatcher::StopWatching()
{
    std::vector<XParam*> watched;
    {
        std::lock_guard<std::mutex> hold(mapLock);
        watched.swap(watchedParams);
    }
    for (XParam* param : watched)
        param->RemoveWatcher(this);
    firmwareOk.store(false);
    unitMode.store(kUnitOrdinary);
    mapsBuilt.store(false);
    awaitingDeviceInfo.store(false);
}

void DeviceCommWatcher::MapLiveParam(XParam* param, int wireId)
{
    if (param == nullptr)
        return;
    // A second build without StopWatching between maps again but watches only once.
    const bool watched = param->IsWatchedBy(this, wireId);
    if (!watched)
        param->AddWatcher(this, wireId, false);
    std::lock_guard<std::mutex> hold(mapLock);
    if (!watched)
        watchedParams.push_back(param);
    liveMap.Add(wireId, param);
}

void DeviceCommWatcher::MapCompareParam(XParam* param, int wireId)
{
    if (param == nullptr)
        return;
    std::lock_guard<std::mutex> hold(mapLock);
    compareMap.Add(wireId, param);
}

XParam* DeviceCommWatcher::GetLiveParam(int wireId) const
{
    std::lock_guard<std::mutex> hold(mapLock);
    return liveMap.Find(wireId);
}

XParam* DeviceCommWatcher::GetCompareParam(int wireId) const
{
    std::lock_guard<std::mutex> hold(mapLock);
    return compareMap.Find(wireId);
}

int32_t DeviceCommWatcher::GetLiveMapCount() const
{
    std::lock_guard<std::mutex> hold(mapLock);
    return liveMap.GetCount();
}

int32_t DeviceCommWatcher::GetCompareMapCount() const
{
    std::lock_guard<std::mutex> hold(mapLock);
    return compareMap.GetCount();
}

int32_t DeviceCommWatcher::FindLiveWireId(const XParam* param) const
{
    std::lock_guard<std::mutex> hold(mapLock);
    for (const BinaryTree::Node* node = liveMap.FirstNode(); node != nullptr;
         node = BinaryTree::NextNode(node))
        if (LongToPtrMap<XParam>::GetNodeValue(node) == param)
            return LongToPtrMapBase::GetNodeLong(node);
    return -1;
}

// Sender -------------------------------------------------------------------------------------------

void DeviceCommWatcher::SetSendingEnabled(bool on)
{
    if (on && !sendingEnabled.load())
    {
        resumeTick.store(PlatformClock::GetTickCount());
        resumed.store(true);
    }
    sendingEnabled.store(on);
}

bool DeviceCommWatcher::ShouldSendParam(const XParam* param, int wireId)
{
    return param != nullptr && IsWireIdSent(wireId);
}

void DeviceCommWatcher::OnTimer(int32_t timerId)
{
    if (timerId != kIdleTimerId)
        return;
    // A request for all values that waits for an answer the unit abandoned runs now.
    if (TakeWaitingAllRequest(false))
        RequestAllParams();
    // A slow link delays changes instead of queueing them without bound; they stay for a later tick.
    if (usbConnection != nullptr && usbConnection->GetLink().GetPendingFrames() >= kMaxPendingFrames)
        return;

    const uint32_t now = PlatformClock::GetTickCount();
    if (!ticked)
    {
        ticked = true;
        lastTick = now;
    }
    if (!sendingEnabled.load())
    {
        lastTick = now; // what changed meanwhile is never sent
        sentAtLastTick.clear();
        return;
    }
    // Sending was off and on again between two ticks: what changed while it was off stays home too.
    if (resumed.exchange(false) && PlatformClock::TickIsBefore(lastTick, resumeTick.load()))
    {
        lastTick = resumeTick.load();
        sentAtLastTick.clear();
    }

    std::vector<SentValue> sentNow;
    SendChangedMainParams(lastTick, now, sentNow);
    if (XParamGroup* preset = Services().GetPresetGroup())
    {
        preset->CollectChangedSince(changedParams, lastTick, false);
        SendCollected(WireIdSpace::kPresetBase, kPresetIdCount, now, sentNow);
    }
    for (int32_t input = 0; input < WireIdSpace::kInputCount; ++input)
        if (XParamGroup* group = GetInputChannel(input))
        {
            group->CollectChangedSince(changedParams, lastTick, false);
            SendCollected(WireIdSpace::kInputBase + WireIdSpace::kInputStride * input,
                          WireIdSpace::kInputStride, now, sentNow);
        }
    for (int32_t output = 0; output < WireIdSpace::kOutputCount; ++output)
        if (XParamGroup* group = GetOutputChannel(output))
        {
            group->CollectChangedSince(changedParams, lastTick, false);
            SendCollected(WireIdSpace::kOutputBase + WireIdSpace::kOutputStride * output,
                          WireIdSpace::kOutputStride, now, sentNow);
        }
    changedParams.RemoveAll();
    lastTick = now;
    sentAtLastTick.swap(sentNow);
}

void DeviceCommWatcher::SendChangedMainParams(uint32_t since, uint32_t now, std::vector<SentValue>& sentNow)
{
    // The services do not hand out the main group itself; its parameters that reach the wire are the
    // mapped ones of wire ids 0..50.
    std::vector<XParam*> candidates;
    {
        std::lock_guard<std::mutex> hold(mapLock);
        for (const BinaryTree::Node* node = liveMap.FirstNode();
             node != nullptr && LongToPtrMapBase::GetNodeLong(node) < kMainIdCount;
             node = BinaryTree::NextNode(node))
            candidates.push_back(LongToPtrMap<XParam>::GetNodeValue(node));
    }
    const uint32_t current = PlatformClock::GetTickCount();
    for (XParam* param : candidates)
    {
        const int32_t id = param->GetId();
        if (id >= 0 && id < kMainIdCount &&
            XParamGroup::StampedSince(param->GetLastChangeTick(), since, current))
            SendIfNew(param, WireIdSpace::kMainBase + id, now, sentNow);
    }
}

void DeviceCommWatcher::SendCollected(int32_t base, int32_t idCount, uint32_t now,
                                      std::vector<SentValue>& sentNow)
{
    for (int index = 0; index < changedParams.GetCount(); ++index)
    {
        XParam* param = changedParams.At(index);
        const int32_t id = param != nullptr ? param->GetId() : -1;
        if (id >= 0 && id < idCount)
            SendIfNew(param, base + id, now, sentNow);
    }
}

void DeviceCommWatcher::SendIfNew(XParam* param, int wireId, uint32_t now, std::vector<SentValue>& sentNow)
{
    if (!ShouldSendParam(param, wireId))
        return;
    const SentValue sent{param, param->GetLastChangeTick(), param->GetValue(), param->GetFlags()};
    // A stamp at the last tick itself is collected by both passes; send such a value only once.
    bool sentBefore = false;
    for (const SentValue& before : sentAtLastTick)
        sentBefore = sentBefore || (before.param == param && before.stamp == sent.stamp &&
                                    before.value == sent.value && before.flags == sent.flags);
    if (!sentBefore)
        SendValue(wireId, param->GetType(), sent.value, sent.flags);
    // Still at or after this tick (the clock may not have moved): the next pass collects it again.
    if (XParamGroup::StampedSince(sent.stamp, now, PlatformClock::GetTickCount()))
        sentNow.push_back(sent);
}

// Requests -----------------------------------------------------------------------------------------

void DeviceCommWatcher::SendPayload(int command, TWMsgBuf* payload)
{
    SendRequest(kAddress, command, payload, nullptr);
}

void DeviceCommWatcher::SendInt32Command(int command, int32_t value)
{
    TWMsgBuf payload;
    RequestPayloads::Int32Value(payload, value);
    SendPayload(command, &payload);
}

void DeviceCommWatcher::SendPresetNumberCommand(int command, int presetNumber)
{
    TWMsgBuf payload;
    if (RequestPayloads::PresetNumber(payload, presetNumber) == 0)
        SendPayload(command, &payload);
}

void DeviceCommWatcher::SendRecall(int command, unsigned presetNumber)
{
    TWMsgBuf payload;
    if (RequestPayloads::Recall(payload, presetNumber) == 0)
        SendPayload(command, &payload);
}

void DeviceCommWatcher::SendValue(int wireId, int32_t paramType, double value, int32_t paramFlags)
{
    TWMsgBuf payload;
    if (RequestPayloads::SetParamValue(payload, wireId, paramType, value, paramFlags) == 0)
        SendPayload(kCmdSetParamValue, &payload);
}

void DeviceCommWatcher::RequestDeviceInfo()
{
    SendPayload(kCmdRequestDeviceInfo, nullptr);
}

void DeviceCommWatcher::SendCommand3()
{
    SendInt32Command(kCmdCommand3, 0);
}

void DeviceCommWatcher::SendParamValue(XParam* param, int wireId)
{
    if (ShouldSendParam(param, wireId))
        SendValue(wireId, param->GetType(), param->GetValue(), param->GetFlags());
}

void DeviceCommWatcher::SendParamIdCommand(XParam* param)
{
    const int32_t wireId = FindLiveWireId(param);
    TWMsgBuf payload;
    RequestPayloads::ParamId(payload, wireId < 0 ? 0 : wireId);
    SendPayload(kCmdParamId, &payload);
}

void DeviceCommWatcher::RequestAllParams()
{
    {
        std::lock_guard<std::mutex> hold(allRequestLock);
        // Starting again under a running answer would restart the record count under the reader.
        if (allAnswerRunning && !IsAllAnswerAbandoned())
        {
            allRequestWaiting = true;
            return;
        }
        allAnswerRunning = true;
        allRequestWaiting = false;
    }
    StartAllRequest();
}

void DeviceCommWatcher::StartAllRequest()
{
    Services().HideCompareButton();
    Services().GetParam(kDisplayLoadingId)->SetValue(1.0, true);
    SetChannelLinking(false);
    SetSendingEnabled(false);
    receivingAll.store(true);
    Services().SetStatusText(kStatusReceiving);
    bulkIndex.store(-1);
    {
        std::lock_guard<std::mutex> hold(allRequestLock);
        allAnswerOpenCount = usbConnection != nullptr ? usbConnection->GetLink().GetOpenCount() : 0;
        allAnswerProgressTick.store(PlatformClock::GetTickCount());
    }
    if (SendRequest(kAddress, kCmdRequestAllParams, nullptr, nullptr) != 0)
    {
        // Dropped with the link down: no answer will come, nor to a request waiting for this one.
        std::lock_guard<std::mutex> hold(allRequestLock);
        allAnswerRunning = false;
        allRequestWaiting = false;
    }
}

bool DeviceCommWatcher::IsAllAnswerAbandoned() const
{
    if (usbConnection == nullptr || !usbConnection->IsConnected() ||
        usbConnection->GetLink().GetOpenCount() != allAnswerOpenCount)
        return true;
    // The progress first: a frame handled meanwhile may stamp a tick after a "now" read before it.
    const uint32_t progress = allAnswerProgressTick.load();
    const uint32_t now = PlatformClock::GetTickCount();
    return PlatformClock::TickIsBefore(progress, now) &&
           PlatformClock::TicksSince(progress, now) > kAllAnswerStallMs;
}

bool DeviceCommWatcher::TakeWaitingAllRequest(bool ended)
{
    std::lock_guard<std::mutex> hold(allRequestLock);
    if (!ended && (!allAnswerRunning || !IsAllAnswerAbandoned()))
        return false;
    allAnswerRunning = false;
    return std::exchange(allRequestWaiting, false);
}

bool DeviceCommWatcher::IsAllRequestWaiting() const
{
    std::lock_guard<std::mutex> hold(allRequestLock);
    return allRequestWaiting;
}

void DeviceCommWatcher::RecallPreset(unsigned presetNumber)
{
    SendCommand3();
    SendRecall(kCmdRecallPreset, presetNumber);
    PlatformClock::Sleep(kAfterRecallMs);
    SendCommand12(0);
}

void DeviceCommWatcher::StorePreset(int location)
{
    SendPresetNumberCommand(kCmdStorePreset, location);
}

void DeviceCommWatcher::SendEnterBootloader()
{
    TWMsgBuf payload;
    RequestPayloads::ByteValue(payload, 0);
    SendPayload(kCmdEnterBootloader, &payload);
}

void DeviceCommWatcher::SendCommand12(int32_t value)
{
    SendInt32Command(kCmdCommand12, value);
}

void DeviceCommWatcher::RequestPresetInfo(int presetNumber)
{
    SendPresetNumberCommand(kCmdPresetInfo, presetNumber);
}

void DeviceCommWatcher::RequestPresetFlags(int presetNumber)
{
    SendPresetNumberCommand(kCmdPresetFlags, presetNumber);
}

void DeviceCommWatcher::SetPresetFlags(int presetNumber, int32_t flags)
{
    TWMsgBuf payload;
    if (RequestPayloads::PresetFlags(payload, presetNumber, flags) == 0)
        SendPayload(kCmdSetPresetFlags, &payload);
}

void DeviceCommWatcher::EraseUserPresets()
{
    SendPayload(kCmdEraseUserPresets, nullptr);
}

void DeviceCommWatcher::RecallPresetForSaving(unsigned presetNumber)
{
    Services().GetParam(kConfirmChangeListenModeId)->SetValue(0.0, true);
    // A compare answer cut short earlier must not shift the count of this one.
    compareCount.store(0);
    SendRecall(kCmdRecallPresetForSaving, presetNumber);
    PlatformClock::Sleep(kAfterRecallMs);
    SendCommand12(0);
}

void DeviceCommWatcher::SendBulkBracket(bool begin)
{
    TWMsgBuf payload;
    RequestPayloads::ByteValue(payload, begin ? 1 : 0);
    SendPayload(kCmdBulkBracket, &payload);
}

// Unit's commands ----------------------------------------------------------------------------------

void DeviceCommWatcher::HandleCommand(int /*address*/, int command, TWMsgBuf* payload, TWMsgBuf* /*reply*/)
{
    if (payload == nullptr)
        return;
    TWMsgBuf& in = *payload;
    switch (command)
    {
    case kCmdDeviceInfo:
    {
        const uint8_t status = in.GetInt8();
        const int32_t version = in.GetInt32();
        XString text;
        in.ReadString16(text);
        if (AllRead(in)) // a cut-short answer tells nothing about the unit
            HandleDeviceInfo(status, version, text);
        break;
    }
    case kCmdDisplayData:
        HandleDisplayData(in);
        break;
    case kCmdSetParamValue:
        HandleParamValue(in);
        break;
    case kCmdBulkParamData:
        HandleBulkParamData(in);
        break;
    case kCmdRecallPreset:
        HandleUnitRecall();
        break;
    case kCmdStorePreset:
        HandlePresetStored(in);
        break;
    case kCmdPresetInfo:
        HandlePresetInfo(in);
        break;
    case kCmdPresetFlags:
        HandlePresetFlags(in);
        break;
    case kCmdSlaveStatus:
    {
        const uint8_t mode = in.GetInt8();
        const uint8_t value = in.GetInt8();
        if (AllRead(in))
            HandleSlaveStatus(mode, value);
        break;
    }
    case kCmdFlashCompareData:
        HandleFlashCompareData(in);
        break;
    default: // among them 18, the answer to the erase
        break;
    }
}

void DeviceCommWatcher::HandleDeviceInfo(uint8_t status, int32_t version, const XString& text)
{
    bool ok = status == 0 && version == kExpectedFirmwareVersion;
    uint8_t mode = kUnitOrdinary;
    if (text == kLockedOutText)
    {
        mode = kUnitLockedOut;
    }
    else if (text == kSlavedText)
    {
        mode = kUnitSlaved;
        ok = true; // a slaved unit is not offered an update
    }
    firmwareOk.store(ok);
    unitMode.store(mode);
    awaitingDeviceInfo.store(false);
}

void DeviceCommWatcher::HandleParamValue(TWMsgBuf& in)
{
    const uint16_t wireId = in.GetInt16();
    const uint8_t kind = in.GetInt8();
    const int32_t bits = in.GetInt32();
    const uint8_t flags = in.GetInt8();
    if (!AllRead(in))
        return;
    if (XParam* param = GetLiveParam(wireId))
        ApplyParamFromDevice(param, bits, kind, flags, wireId);
}

void DeviceCommWatcher::ApplyParamFromDevice(XParam* param, int32_t bits, uint8_t /*kind*/, uint8_t flags,
                                             uint16_t wireId)
{
    if (param == nullptr)
        return;
    double value = 0.0;
    if (IsFloatParam(param))
    {
        float asFloat = 0.0F;
        std::memcpy(&asFloat, &bits, sizeof asFloat);
        if (!std::isfinite(asFloat))
            return;
        value = asFloat;
    }
    else
    {
        value = bits; // exact: a bit mask or a packed word loses bits through a float
    }

    const uint32_t now = PlatformClock::GetTickCount();
    if (serialNoticeActive.load() &&
        PlatformClock::TicksSince(serialNoticeTick.load(), now) > kSerialNoticeLapseMs)
    {
        serialNoticeActive.store(false);
        SetRs232Active(false);
    }

    // Without tracking neither the flags nor the value get a new stamp, so the sender never
    // echoes them back to the unit.
    const bool wasTracking = param->IsChangeTracking();
    param->SetChangeTracking(false);
    param->SetFlags(ParamFlagsFromWireFlags(param->GetFlags(), flags));
    if ((flags & kWireSlaveMeterFlag) != 0)
        SetSlaveMeter(param, static_cast<float>(value), wireId);
    else if (param->ChangeValue(value, false))
        param->NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), this);
    param->SetChangeTracking(wasTracking);
}

void DeviceCommWatcher::HandleBulkParamData(TWMsgBuf& in)
{
    SetSendingEnabled(false);
    SetChannelLinking(false);
    Services().SetStatusText(kStatusReceiving);
    allAnswerProgressTick.store(PlatformClock::GetTickCount());
    if (bulkIndex.load() < 0)
        bulkCount.store(0);

    int32_t count = 0;
    for (int record = 0; record < kBulkRecordsPerFrame; ++record)
    {
        const int32_t wireId = bulkIndex.fetch_add(1) + 1;
        const int32_t bits = in.GetInt32();
        const uint8_t kind = in.GetInt8();
        const uint8_t flags = in.GetInt8();
        count = bulkCount.fetch_add(1) + 1;
        // A record cut off keeps its place in the answer but is not applied.
        if (!AllRead(in))
            continue;
        if (XParam* param = GetLiveParam(wireId))
            ApplyParamFromDevice(param, bits, kind, flags, static_cast<uint16_t>(wireId));
    }
    if (count >= kBulkValueCount)
        FinishReceiveAll();
}

void DeviceCommWatcher::FinishReceiveAll()
{
    bulkIndex.store(-1);
    {
        // A request that waited for this answer replaces it: its answer completes in its place.
        std::unique_lock<std::mutex> hold(allRequestLock);
        if (std::exchange(allRequestWaiting, false))
        {
            hold.unlock();
            StartAllRequest();
            return;
        }
    }
    SetChannelLinking(true);
    PlatformClock::Sleep(kFinishPauseMs);
    SetSendingEnabled(true);
    receivingAll.store(false);
    Services().SetStatusText(kStatusConnected);
    Services().ShowCompareButton();
    Services().GetParam(kDisplayLoadingId)->SetValue(0.0, true);

    if (IsGetAllFromRecall())
    {
        Services().SyncCompareGroups(false);
        SetGetAllFromRecall(false); // the application clears it too; once is enough
    }
    else
    {
        Services().GetParam(kConfirmChangeListenModeId)->SetValue(1.0, true);
        XParam* listenMode = Services().GetParam(kListenModeId);
        if (listenMode->GetValue() == 0.0)
            listenMode->NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), this);
    }
    XMessage done(kMsgAllValuesReceived);
    PostToApplication(done);
    // A request made while this answer was finishing runs now.
    if (TakeWaitingAllRequest(true))
        RequestAllParams();
}

void DeviceCommWatcher::HandleFlashCompareData(TWMsgBuf& in)
{
    SetSendingEnabled(false);
    SetChannelLinking(false);
    Services().SetStatusText(kStatusReceivingCompare);
    const uint16_t wireId = in.GetInt16();
    const uint8_t kind = in.GetInt8();
    const int32_t bits = in.GetInt32();
    const uint8_t flags = in.GetInt8();
    const int32_t count = compareCount.fetch_add(1) + 1;
    if (AllRead(in))
        if (XParam* param = GetCompareParam(wireId))
            ApplyParamFromDevice(param, bits, kind, flags, wireId);
    if (count >= kCompareRecordCount)
    {
        FinishCompareReceive();
        compareCount.store(0);
    }
}

void DeviceCommWatcher::SetPresetHandler(IReceivePresetHandler* handler)
{
    std::lock_guard<std::recursive_mutex> hold(presetHandlerCall);
    presetHandler.store(handler);
}

void DeviceCommWatcher::FinishCompareReceive()
{
    SetChannelLinking(true);
    bulkIndex.store(-1);
    PlatformClock::Sleep(kFinishPauseMs);
    {
        std::lock_guard<std::recursive_mutex> handing(presetHandlerCall);
        if (IReceivePresetHandler* handler = presetHandler.load())
            handler->PresetDataReceived();
    }
    SetSendingEnabled(true);
    receivingAll.store(false);
    Services().SetStatusText(kStatusConnected);
}

void DeviceCommWatcher::HandleDisplayData(TWMsgBuf& in)
{
    const int32_t block = in.GetInt8();
    const int32_t lastBlock = in.GetInt8();
    in.GetInt8(); // two fields the picture does not use
    in.GetInt8();
    const int32_t bytesPerRow = in.GetInt8();
    const int32_t rows = in.GetInt8();
    if (!AllRead(in))
        return;
    constexpr int32_t kPixelsPerByte = 8;
    for (int32_t i = 0; i < bytesPerRow * rows; ++i)
    {
        const int32_t bits = in.GetInt8();
        if (!AllRead(in))
            break;
        const int32_t row = block * rows + i / bytesPerRow;
        const int32_t x = (i % bytesPerRow) * kPixelsPerByte;
        if (row < kDisplayHeight && x < kDisplayWidth)
            Services().DrawDisplayColumn(row, x, bits);
    }
    if (block == lastBlock)
    {
        XMessage updated(kMsgDisplayUpdated);
        PostToApplication(updated);
    }
}

void DeviceCommWatcher::HandlePresetInfo(TWMsgBuf& in)
{
    const int32_t number = in.GetInt8();
    XString name;
    in.ReadString16(name);
    const int32_t configuration = in.GetInt32();
    if (!AllRead(in))
        return;
    std::unique_lock<std::recursive_mutex> handing(presetHandlerCall);
    if (IReceivePresetHandler* handler = presetHandler.load())
    {
        handler->PresetInfoReceived(number, configuration, name);
        return;
    }
    handing.unlock();
    XMessage info(kMsgPresetInfo);
    info.AddInt32("presetNum", number);
    info.AddInt32("presetConfig", configuration);
    info.AddString("presetName", name.CStr());
    PostToApplication(info);
}

void DeviceCommWatcher::HandlePresetFlags(TWMsgBuf& in)
{
    const int32_t number = in.GetInt8();
    const int32_t flags = in.GetInt8();
    if (!AllRead(in))
        return;
    std::unique_lock<std::recursive_mutex> handing(presetHandlerCall);
    if (IReceivePresetHandler* handler = presetHandler.load())
    {
        handler->PresetFlagsReceived(number, flags);
        return;
    }
    handing.unlock();
    XMessage message(kMsgPresetFlags);
    message.AddInt32("presetNum", number);
    message.AddInt32("presetFlags", flags);
    PostToApplication(message);
}

void DeviceCommWatcher::HandlePresetStored(TWMsgBuf& in)
{
    const int32_t number = in.GetInt8();
    if (!AllRead(in))
        return;
    XMessage stored(kMsgPresetStored);
    stored.AddInt32("presetNum", number);
    PostToApplication(stored);
}

void DeviceCommWatcher::HandleSlaveStatus(uint8_t mode, uint8_t value)
{
    serialNoticeActive.store(false);
    serialNoticeTick.store(0);
    if (mode == kSerialNoticeOn)
    {
        Services().GetSlaveParam(kSlavedChanConfigId)->ChangeValue(value, true);
        serialNoticeTick.store(PlatformClock::GetTickCount());
        serialNoticeActive.store(true);
        SetRs232Active(true);
    }
    else
    {
        SetRs232Active(false);
    }
}

void DeviceCommWatcher::HandleUnitRecall()
{
    // A preset was recalled on the unit: read every value again.
    SendCommand3();
    PlatformClock::Sleep(kUnitRecallPauseMs);
    SendCommand12(0);
    SetGetAllFromRecall(true);
    RequestAllParams();
}

// Application parameters ---------------------------------------------------------------------------

bool DeviceCommWatcher::IsGetAllFromRecall() const
{
    return Services().GetParam(kGetAllFromRecallId)->GetValue() == 1.0;
}

void DeviceCommWatcher::SetGetAllFromRecall(bool on)
{
    Services().GetParam(kGetAllFromRecallId)->ChangeValue(on ? 1.0 : 0.0, true);
}

void DeviceCommWatcher::SetChannelLinking(bool on)
{
    Services().GetParam(kEnableChannelLinkingId)->ChangeValue(on ? 1.0 : 0.0, true);
}

void DeviceCommWatcher::SetRs232Active(bool on)
{
    Services().GetParam(kRs232ActiveId)->ChangeValue(on ? 1.0 : 0.0, true);
}

void DeviceCommWatcher::SetSlaveMeter(XParam* /*param*/, float value, int wireId)
{
    int kind = 0;
    int block = 0;
    if (!DecodeWireId(wireId, &kind, &block, nullptr))
        return;
    const int32_t meterId =
        kind == WireIdSpace::kOutput ? kSlaveMeterOutputFirstId + block : kSlaveMeterInputFirstId + block;
    Services().GetSlaveParam(meterId)->ChangeValue(value, true);
}

void DeviceCommWatcher::PostToApplication(XMessage& message)
{
    if (XLooper* looper = GetLooper())
        looper->PostMessage(&message);
    else if (XApplication* application = GetApplication())
        application->PostMessage(&message);
}
