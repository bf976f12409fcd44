#pragma once

#include "core/IThreadCallback.h"
#include "core/XMutex.h"
#include "device/TWRPCConnection.h"

#include <cstdint>
#include <memory>

class ILinkRestoredListener;
class UsbLinkManager;
class XMemory;
class XThread;

/** The connection to the unit over the USB link manager. Send queues whole frames on the link from
    any thread; the reader thread "RPCUSB", started by Open, takes each frame the unit sent and
    hands it to the message handler (DeliverChunk), and while the link is down and the link's
    auto-reconnect flag is set it reconnects: an attempt (Reconnect) at most every
    kReconnectSpacingMs, the first one kReconnectSpacingMs after the loss is seen.

    The link is not owned and must outlive the connection. Open and Stop are called by the one
    thread that controls the connection. Stop ends the reader cooperatively and waits at most
    kStopWaitMs (Open starts it again); the destructor stops it and, should the reader still be
    inside a handler or a reconnect, waits for it to leave, since it uses this object. A subclass
    that overrides IsConnected or Reconnect calls Stop first in its own destructor. */
class TWRPCUSBConnection : public TWRPCConnection, private IThreadCallback
{
public:
    static constexpr int32_t kReaderThreadLevel = 3;
    /** The reader's pause after a turn that found no frame waiting. */
    static constexpr uint32_t kReaderTurnMs = 1;
    /** Least time from the end of one reconnect attempt (or the loss) to the next attempt. */
    static constexpr uint32_t kReconnectSpacingMs = 2000;
    /** An attempt stamp older than this belongs to an earlier loss: it is renewed, not acted on. */
    static constexpr uint32_t kReconnectStaleMs = 8000;
    /** Reconnect's wait between closing the link and scanning again. */
    static constexpr uint32_t kReconnectSettleMs = 2000;
    /** Reconnect's wait after the scan. */
    static constexpr uint32_t kAfterScanMs = 10;
    static constexpr uint32_t kStopWaitMs = 10000;

    /** A connection over the program's link (UsbLinkManager::Instance). */
    TWRPCUSBConnection();
    explicit TWRPCUSBConnection(UsbLinkManager& link);
    ~TWRPCUSBConnection() override;

    /** Opens the link (the first time: finds the unit and starts its pump) and starts the reader.
        0 when the reader runs (also when it ran already), 0x80000001 when it could not start. */
    int32_t Open() override;
    /** Both pipes of the link are open. */
    bool IsConnected() override;
    /** Queues the frame's bytes on the link without waiting. 0 when queued; 0x80000001, with
        nothing queued, while not connected or when the link refuses the frame. A reply buffer is
        left untouched: replies reach the message handler through the reader like every frame. */
    int32_t Send(TWMsgBuf& frame, TWMsgBuf* reply) override;
    /** Only while the link's auto-reconnect flag is set: closes the link, waits kReconnectSettleMs
        and scans for units again, then waits kAfterScanMs. Ends early when the reader is asked to
        stop. Called by the reader; may be called from another thread. */
    virtual void Reconnect();

    /** Asks the reader to end and waits at most kStopWaitMs; whether it has ended. */
    bool Stop();
    bool IsReading() const;

    /** The listener told when the link comes back (null: none); waits for a call in progress. */
    void SetLinkRestoredListener(ILinkRestoredListener* listener);

    UsbLinkManager& GetLink() const { return link; }

private:
    void Run(XThread* thread, void* argument) override;
    /** Takes one received frame, if one came within the link's wait, and delivers it; whether one
        was taken. */
    bool ReadFrame(XMemory& received);
    /** One turn of the reconnect rule while the link is down. */
    void ConsiderReconnect();
    void NotifyLinkRestored();
    /** Waits ms unless the reader is asked to stop first; false when it was. */
    bool WaitUnlessStopping(uint32_t ms) const;

    UsbLinkManager& link;
    const std::unique_ptr<XThread> readerThread;

    // Used by the reader thread only.
    bool reconnectStamped = false;
    uint32_t reconnectStamp = 0;

    XMutex listenerLock;                       // guards listener; held while it is called
    ILinkRestoredListener* listener = nullptr; // guarded by listenerLock
};
