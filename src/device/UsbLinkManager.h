#pragma once

#include "core/IThreadCallback.h"
#include "core/XMemory.h"
#include "core/XMutex.h"
#include "core/XResult.h"
#include "core/XString.h"
#include "device/CFCPipeUSB.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class FrameSplitter;
class IFlashEngine;
class XThread;

/** The USB link: finds the units, serves one of them with a pump thread that moves bytes between
    its pipes and two message ports ("USB_XMT_Port" out, "USB_RCV_Port" in, each received chunk one
    whole frame), and counts the frames still waiting to be written (the senders' back-pressure).

    The program uses the one instance of Instance(), which is never destroyed; a separately made
    instance stops and joins its pump when destroyed. Every operation may be called from any thread.
    One unit is served at a time: a scan starts no pump while one runs. A turn of the pump lasts
    kPumpTurnMs, its read wait included: it reads what has arrived, writes at most one queued frame
    and spends the rest of the turn waiting on the read pipe, taking bytes as they come. Close asks
    the pump to end and joins it, waiting at most kCloseWaitMs; outside flash mode the pump first
    writes the frames still queued, one a turn, for at most kCloseDrainMs (a write that fails loses
    its frame; frames left are logged). Failures to open a device leave their text in
    GetMessageText(). While flash mode is on, the pump runs the registered flash engine instead of
    its frame reads and writes. */
class UsbLinkManager final : private IThreadCallback
{
public:
    static constexpr int32_t kPortCapacity = 32;
    /** Bytes one pump read takes at most. */
    static constexpr int kReadChunkBytes = 1024;
    static constexpr uint32_t kPumpTurnMs = 5;
    /** How long a closing pump goes on writing the frames still queued. */
    static constexpr uint32_t kCloseDrainMs = 500;
    static constexpr uint32_t kStartPumpWaitMs = 10;
    /** Wait at the end of a scan that found a unit, for it to come up. */
    static constexpr uint32_t kScanSettleMs = 2000;
    static constexpr uint32_t kCloseWaitMs = 2000;
    /** Consecutive failed reads (with auto-reconnect on) beyond which the pipes are closed. */
    static constexpr uint32_t kMaxFailedReads = 100;
    static constexpr int32_t kMaxTurnCount = 500;

    /** States of a device node. */
    static constexpr char kServed = 'Y';
    static constexpr char kNotServed = 'N';

    UsbLinkManager();
    ~UsbLinkManager();
    UsbLinkManager(const UsbLinkManager&) = delete;
    UsbLinkManager& operator=(const UsbLinkManager&) = delete;

    /** The program's link, made on first use. */
    static UsbLinkManager& Instance();

    /** The first call scans for units (ScanDevices); later calls do nothing. */
    void Open();
    /** Finds the units and serves the first one that opens, unless one is served already. Waits
        kScanSettleMs when any unit was found; then clears the turn counter and the queued total.
        Pending frames are those on the transmit port, so frames queued meanwhile stay counted. */
    void ScanDevices();
    /** Asks the pump to close the pipes and end; returns once it ended or after kCloseWaitMs. */
    void Close();
    /** Both pipes open. */
    bool IsConnected() const { return pipe.IsOpen(); }

    /** Puts one frame on the transmit port (never waits): the port's result, 0 or -1 (no port yet). */
    int32_t QueueFrame(const void* data, int n);
    /** Takes one received frame into out, waiting at most 1 ms: 0, or 0x80000001 when none came. */
    int32_t PopReceived(XMemory& out);

    /** Frames queued and not yet taken for writing: those on the transmit port. Frames lost with a
        port that a reopen replaced are no longer counted. */
    int32_t GetPendingFrames() const;
    int32_t GetQueuedTotal() const { return queuedTotal.load(); }
    /** Pump turns since the last scan, up to kMaxTurnCount. */
    int32_t GetTurnCounter() const { return turnCounter.load(); }
    /** Read health of the pump: false once too many reads failed in a row. */
    bool IsAlive() const { return alive.load(); }
    /** Scans run so far. */
    int32_t GetScanCount() const { return scanCount.load(); }
    /** Times a unit's pipes were opened: a frame exchange begun under an earlier count was cut off
        by the link's loss. */
    uint32_t GetOpenCount() const { return openCount.load(); }

    bool IsAutoReconnect() const { return autoReconnect.load(); }
    void SetAutoReconnect(bool on) { autoReconnect.store(on); }

    /** The engine that runs in flash mode (null: none; flash mode then exchanges nothing). Waits
        for a job the pump is running on the engine replaced, so that an engine may be destroyed as
        soon as it has unregistered. */
    void SetFlashEngine(IFlashEngine* engine);
    bool IsFlashMode() const { return flashMode.load(); }
    void SetFlashMode(bool on) { flashMode.store(on); }
    /** True when no flash job is posted (also without an engine). */
    bool IsFlashJobIdle() const;

    /** The last failure text of a device open or of the flash engine. */
    XString GetMessageText() const;
    void SetMessageText(const XString& text);
    /** Guards node states, port setup and message text; the flash engine guards its job with it. */
    XMutex& GetMutex() { return mutex; }

    /** Units seen so far. */
    int GetDeviceCount() const;
    /** kServed or kNotServed for a path seen so far, 0 for an unknown path. */
    char GetDeviceState(const char* path) const;

private:
    /** One unit path ever seen; lives as long as the manager. */
    struct DeviceNode
    {
        XString path;
        int32_t index = 0;
        char state = kNotServed; // guarded by mutex
    };

    void Run(XThread* thread, void* argument) override;
    /** One flash-engine step (flash mode). */
    void RunFlashTurn(DeviceNode* node);
    /** The reads and the write of a turn outside flash mode. */
    void RunFrameTurn(DeviceNode* node);
    /** Waits until the real time turnEnd, taking the bytes that arrive meanwhile. */
    void WaitOutTurn(uint64_t turnEnd);
    int32_t OpenDevice(DeviceNode* node);
    int32_t CloseDevice(DeviceNode* node);
    int32_t ReadPipe();
    /** Cuts received bytes into frames and puts each on the receive port. */
    void DeliverReceived(const uint8_t* bytes, int count);
    void WritePending();
    /** Writes the frames still on the transmit port when the pump is asked to end, one a turn for
        at most kCloseDrainMs, so that a frame queued just before Close (the bootloader restart's
        command 11) is not lost to the pump's timing; logs the frames it had to leave. */
    void WriteQueuedBeforeClose();
    void CountFailedRead();
    void CountGoodRead();

    /** Starts a pump for the node unless one runs; marks the node served. */
    bool StartPump(DeviceNode* node);
    bool IsPumpRunning();
    /** Releases a pump thread that has ended. */
    void ReapPump();

    CFCPipeUSB pipe; // used by the pump thread only, apart from IsOpen and CancelReads
    std::vector<std::unique_ptr<DeviceNode>> nodes; // guarded by mutex
    mutable XMutex mutex;
    XMutex scanLock;   // held through a scan, so that scans never interleave
    XMutex pumpLock;   // guards pumpThread; never held by the pump thread itself
    XMutex engineLock; // held by the pump while it runs the engine's job, and by SetFlashEngine
    std::unique_ptr<XThread> pumpThread;

    std::atomic<bool> opened{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<int32_t> turnCounter{0};
    std::atomic<int32_t> queuedTotal{0};
    std::atomic<int32_t> scanCount{0};
    std::atomic<uint32_t> openCount{0};
    std::atomic<bool> autoReconnect{true};
    std::atomic<bool> alive{false};
    std::atomic<bool> flashMode{false};
    std::atomic<IFlashEngine*> flashEngine{nullptr};
    std::atomic<int32_t> transmitPort{-1};
    std::atomic<int32_t> receivePort{-1};
    XString messageText; // guarded by mutex

    // Used by the pump thread only.
    uint32_t failedReads = 0;
    uint32_t goodReads = 0;
    XMemory receiveScratch;
    XMemory writeScratch;
    XMemory frameScratch;
    std::unique_ptr<FrameSplitter> splitter;
};
