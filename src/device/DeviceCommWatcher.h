#pragma once

#include "core/LongToPtrMap.h"
#include "core/ObjectArray.h"
#include "core/XHandler.h"
#include "core/XMessageCodes.h"
#include "device/GlobalParamTables.h"
#include "device/IParamSendingState.h"
#include "device/TWRPCDispatcher.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class IReceivePresetHandler;
class TWMsgBuf;
class TWRPCUSBConnection;
class XMessage;
class XParam;
class XParamGroup;

/** The application's side of the unit's protocol. It numbers the parameters for the wire (a live
    map and a compare map from wire id 0..571 to parameter), sends the parameters changed since its
    last tick every 100 ms (timer 'idle'), builds every request the editor sends, and applies every
    command the unit sends: values to the parameters (with change tracking off, so nothing is sent
    back), the front-panel picture and preset replies to the application or the preset handler.

    Threads: OnTimer runs on the looper the watcher is attached to (the application's); HandleCommand
    and everything it calls, including the 100 ms waits of the finishers, on the connection's reader
    thread; the request builders on their caller's thread. Flags and counters are atomics; the maps
    and the watched list are guarded by mapLock, never held while a parameter is changed.

    One request for all values runs at a time: a request made while the unit's answer to an earlier
    one is still coming waits, and runs once that answer has ended, or once the answer is abandoned
    because the link was lost or nothing of it came for kAllAnswerStallMs (checked at the end of the
    answer and at each tick). Requests that waited together run once; the answer they replace does
    not complete on its own, so the application hears of the last one only.

    One instance, created by the application with the USB connection (not owned, must outlive the
    watcher) and registered as the parameter-sending state for its life. Destroy it on the thread of
    its looper or while that looper is idle; the destructor detaches it from the connection and the
    looper first, so no frame or timer reaches it while it goes. */
class DeviceCommWatcher final : public XHandler, public TWRPCDispatcher, public IParamSendingState
{
public:
    /** The sender's timer: 'idle' every 100 ms. */
    static constexpr int32_t kIdleTimerId = static_cast<int32_t>(FourCharCode("idle"));
    static constexpr int32_t kSendPeriodMs = 100;
    /** A tick is skipped while this many frames wait to be written to the unit. */
    static constexpr int32_t kMaxPendingFrames = 5;
    /** Values in a complete bulk answer (143 frames of four records). */
    static constexpr int32_t kBulkValueCount = 572;
    static constexpr int kBulkRecordsPerFrame = 4;
    /** Records in a complete compare answer. */
    static constexpr int32_t kCompareRecordCount = 505;
    /** The unit's front-panel picture: 192 x 38 pixels, eight pixels to a byte. */
    static constexpr int32_t kDisplayWidth = 192;
    static constexpr int32_t kDisplayHeight = 38;
    /** An answer to the request for all values of which nothing came for this long is abandoned. */
    static constexpr uint32_t kAllAnswerStallMs = 10000;
    /** A serial-control notice lapses when a value is applied this long after it. */
    static constexpr uint32_t kSerialNoticeLapseMs = 4000;
    /** The unit's version that needs no firmware update. */
    static constexpr int32_t kExpectedFirmwareVersion = 0x42010400;

    /** Unit modes of the device-info answer. */
    static constexpr uint8_t kUnitOrdinary = 0;
    static constexpr uint8_t kUnitLockedOut = 1;
    static constexpr uint8_t kUnitSlaved = 2;

    /** Application messages the watcher posts. */
    static constexpr uint32_t kMsgAllValuesReceived = FourCharCode("dvAd");
    static constexpr uint32_t kMsgDisplayUpdated = FourCharCode("lcdu");
    static constexpr uint32_t kMsgPresetInfo = FourCharCode("pInf");
    static constexpr uint32_t kMsgPresetFlags = FourCharCode("prfg");
    static constexpr uint32_t kMsgPresetStored = FourCharCode("stor");

    /** Ids of the application's parameters the watcher writes (main group, slave group). */
    static constexpr int32_t kListenModeId = GlobalParamTables::kListenModeId;
    static constexpr int32_t kEnableChannelLinkingId = GlobalParamTables::kChannelLinkingId;
    static constexpr int32_t kRs232ActiveId = GlobalParamTables::kRs232ActiveId;
    static constexpr int32_t kConfirmChangeListenModeId = GlobalParamTables::kConfirmChangeListenModeId;
    static constexpr int32_t kGetAllFromRecallId = GlobalParamTables::kGetAllFromRecallId;
    static constexpr int32_t kDisplayLoadingId = GlobalParamTables::kDisplayLoadingId;
    static constexpr int32_t kSlaveMeterInputFirstId = GlobalParamTables::kSlaveMeterInAId;
    static constexpr int32_t kSlaveMeterOutputFirstId = GlobalParamTables::kSlaveMeterOut1Id;
    static constexpr int32_t kSlavedChanConfigId = GlobalParamTables::kSlavedChanConfigId;

    /** connection may be null (nothing is sent then). */
    explicit DeviceCommWatcher(TWRPCUSBConnection* connection);
    ~DeviceCommWatcher() override;

    /** As TWRPCDispatcher::SendRequest, over the USB connection: the dispatcher part is made the
        connection's handler only once the watcher is whole, so it keeps no connection of its own. */
    int32_t SendRequest(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply);
    /** Stops the connection from calling the watcher, waiting for a frame being handled. */
    void DetachFromConnection();
    TWRPCUSBConnection* GetConnection() const { return usbConnection; }

    // Maps ---------------------------------------------------------------------------------------

    /** Switches sending off, sets the 'idle' timer (unless noTimer or unattached), maps the inputs,
        the outputs, the preset group and the main group with their compare copies, and switches
        sending on again. Called by the connect hand-shake. */
    void BuildWireIdMaps(bool noTimer);
    /** Stops watching every mapped parameter and clears firmware OK, unit mode, maps built and
        awaiting device info; the maps keep their entries. */
    void StopWatching();
    /** Watches param (key = wireId) and enters it in the live map; null is ignored. */
    void MapLiveParam(XParam* param, int wireId);
    /** Enters param in the compare map (not watched); null is ignored. */
    void MapCompareParam(XParam* param, int wireId);
    XParam* GetLiveParam(int wireId) const;
    XParam* GetCompareParam(int wireId) const;
    int32_t GetLiveMapCount() const;
    int32_t GetCompareMapCount() const;
    /** The parameter's wire id in the live map; -1 when it is not mapped. */
    int32_t FindLiveWireId(const XParam* param) const;

    // Sender -------------------------------------------------------------------------------------

    /** The change sender on timer 'idle'; other timers are ignored. */
    void OnTimer(int32_t timerId) override;
    /** False for parameters that are never sent (meters, unit-kept values) and ids outside 0..571. */
    static bool ShouldSendParam(const XParam* param, int wireId);

    // Requests (any thread; dropped while the link is down) ------------------------------------------

    void RequestDeviceInfo();
    void SendCommand3();
    /** Command 5: one value with its flags; nothing when ShouldSendParam refuses. */
    void SendParamValue(XParam* param, int wireId);
    /** Command 6 with the parameter's live wire id (0 when not mapped). */
    void SendParamIdCommand(XParam* param);
    /** Command 7: the unit answers with every value; sending stays off until the answer is in. While
        the answer to an earlier request is still coming, the request waits for it to end (see the
        class comment). */
    void RequestAllParams();
    /** Command 3, command 9, a 1000 ms wait, command 12 (0). */
    void RecallPreset(unsigned presetNumber);
    void StorePreset(int location);
    void SendEnterBootloader();
    void SendCommand12(int32_t value);
    void RequestPresetInfo(int presetNumber);
    void RequestPresetFlags(int presetNumber);
    void SetPresetFlags(int presetNumber, int32_t flags);
    void EraseUserPresets();
    /** confirmchangelistenmode := 0, command 19 (the compare answer starts counting again), a 1000
        ms wait, command 12 (0). */
    void RecallPresetForSaving(unsigned presetNumber);
    /** Command 21: true begins a send-all, false ends it. */
    void SendBulkBracket(bool begin);

    // Unit's commands (reader thread) ----------------------------------------------------------------

    void HandleCommand(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply) override;
    /** Applies one value from the unit: flags, then a slave meter reading (wire flag 0x40) or the
        value, with the parameter's change tracking off and without telling this watcher. */
    void ApplyParamFromDevice(XParam* param, int32_t bits, uint8_t kind, uint8_t flags, uint16_t wireId);
    void HandleDeviceInfo(uint8_t status, int32_t version, const XString& text);

    // Application parameters -------------------------------------------------------------------------

    bool IsGetAllFromRecall() const;
    void SetGetAllFromRecall(bool on);
    void SetChannelLinking(bool on);
    void SetSlaveMeter(XParam* param, float value, int wireId);

    // State --------------------------------------------------------------------------------------

    bool IsFirmwareOk() const { return firmwareOk.load(); }
    uint8_t GetUnitMode() const { return unitMode.load(); }
    bool AreMapsBuilt() const { return mapsBuilt.load(); }
    bool IsAwaitingDeviceInfo() const { return awaitingDeviceInfo.load(); }
    void SetAwaitingDeviceInfo(bool on) { awaitingDeviceInfo.store(on); }
    bool IsSendingEnabled() const { return sendingEnabled.load(); }
    /** Switching sending on again also drops what changed while it was off, should no tick have
        passed meanwhile. */
    void SetSendingEnabled(bool on);
    bool IsReceivingAll() const { return receivingAll.load(); }
    bool IsNoDeviceAnswer() const { return noDeviceAnswer.load(); }
    void SetNoDeviceAnswer(bool on) { noDeviceAnswer.store(on); }
    /** Set by the recall command before it stores first; read when all values have come back. */
    bool IsRecallAfterStore() const { return recallAfterStore.load(); }
    void SetRecallAfterStore(bool on) { recallAfterStore.store(on); }
    IReceivePresetHandler* GetPresetHandler() const { return presetHandler.load(); }
    /** The job that waits for preset replies (null: none; they go to the application). Waits for a
        reply being handed to the previous handler, so a job that clears the slot may be deleted
        as soon as this returns. Never call it while holding a lock that the handler's callbacks
        take. */
    void SetPresetHandler(IReceivePresetHandler* handler);

    /** Wire id of the last value of a bulk answer; -1 while none is under way. */
    int32_t GetBulkIndex() const { return bulkIndex.load(); }
    /** A request for all values waits for the answer to an earlier one. */
    bool IsAllRequestWaiting() const;
    int32_t GetCompareCount() const { return compareCount.load(); }

    bool IsParamSendingSuspended() override { return !sendingEnabled.load(); }

private:
    /** A value sent whose stamp lies at or after the last tick: the next pass would collect it
        again, so it is skipped there while its stamp, value and flags stay the same. */
    struct SentValue
    {
        const XParam* param;
        uint32_t stamp;
        double value;
        int32_t flags;
    };

    void SendPayload(int command, TWMsgBuf* payload);
    void SendInt32Command(int command, int32_t value);
    void SendPresetNumberCommand(int command, int presetNumber);
    void SendRecall(int command, unsigned presetNumber);
    void SendValue(int wireId, int32_t paramType, double value, int32_t paramFlags);

    /** Sends each collected parameter whose id lies in 0..idCount - 1 as wire id base + id. */
    void SendCollected(int32_t base, int32_t idCount, uint32_t now, std::vector<SentValue>& sentNow);
    void SendChangedMainParams(uint32_t since, uint32_t now, std::vector<SentValue>& sentNow);
    void SendIfNew(XParam* param, int wireId, uint32_t now, std::vector<SentValue>& sentNow);
    void MapChannel(XParamGroup* live, XParamGroup* compare, const std::vector<int32_t>& ids, int base);

    /** Sends command 7 with the steps around it for a request that holds the running mark. */
    void StartAllRequest();
    /** Whether the running answer to the request for all values was abandoned; under allRequestLock. */
    bool IsAllAnswerAbandoned() const;
    /** Takes the waiting request when the running answer has ended (ended) or was abandoned; whether
        there was one to run. Ending clears the running mark unless a waiting request takes it over. */
    bool TakeWaitingAllRequest(bool ended);

    void HandleParamValue(TWMsgBuf& payload);
    void HandleBulkParamData(TWMsgBuf& payload);
    void FinishReceiveAll();
    void HandleFlashCompareData(TWMsgBuf& payload);
    void FinishCompareReceive();
    void HandleDisplayData(TWMsgBuf& payload);
    void HandlePresetInfo(TWMsgBuf& payload);
    void HandlePresetFlags(TWMsgBuf& payload);
    void HandlePresetStored(TWMsgBuf& payload);
    void HandleSlaveStatus(uint8_t mode, uint8_t value);
    void HandleUnitRecall();
    void SetRs232Active(bool on);
    /** Posts to the looper the watcher is attached to (the application's), else the application. */
    void PostToApplication(XMessage& message);

    TWRPCUSBConnection* const usbConnection;

    mutable std::mutex mapLock;         // guards watchedParams, liveMap and compareMap
    std::vector<XParam*> watchedParams; // not owned
    LongToPtrMap<XParam> liveMap;       // wire id -> live parameter, not owned
    LongToPtrMap<XParam> compareMap;    // wire id -> compare copy, not owned

    std::atomic<bool> firmwareOk{false};
    std::atomic<uint8_t> unitMode{kUnitOrdinary};
    std::atomic<bool> mapsBuilt{false};
    std::atomic<bool> awaitingDeviceInfo{false};
    std::atomic<bool> sendingEnabled{true};
    std::atomic<uint32_t> resumeTick{0}; // when sending was last switched on again
    std::atomic<bool> resumed{false};    // switched on again since the last tick
    std::atomic<bool> receivingAll{false};
    std::atomic<bool> noDeviceAnswer{false};
    std::atomic<bool> recallAfterStore{false};
    std::atomic<IReceivePresetHandler*> presetHandler{nullptr}; // not owned
    std::recursive_mutex presetHandlerCall; // held while a reply is handed to the preset handler

    // Receive state: the reader thread's, but RequestAllParams and the compare request reset it.
    std::atomic<int32_t> bulkIndex{-1};
    std::atomic<int32_t> bulkCount{0};
    std::atomic<int32_t> compareCount{0};
    std::atomic<bool> serialNoticeActive{false};
    std::atomic<uint32_t> serialNoticeTick{0};

    // The request for all values: at most one answer runs, and one request may wait for it.
    mutable std::mutex allRequestLock;              // guards the three fields below
    bool allAnswerRunning = false;                  // command 7 sent and its answer not ended
    bool allRequestWaiting = false;                 // a request made while the answer ran
    uint32_t allAnswerOpenCount = 0;                // the link's open count when command 7 was sent
    std::atomic<uint32_t> allAnswerProgressTick{0}; // when command 7 went or a bulk frame came

    // The sender's: the looper thread only.
    bool ticked = false;
    uint32_t lastTick = 0;
    ObjectArray<XParam> changedParams;
    std::vector<SentValue> sentAtLastTick;
};

/** Whether the parameter's values travel as float32 (its type is not integer, on/off, time or text);
    false for null. */
bool IsFloatParam(const XParam* param);
