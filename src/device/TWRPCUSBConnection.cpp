#include "device/TWRPCUSBConnection.h"

#include "core/ILinkRestoredListener.h"
#include "core/XMemory.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "core/XThread.h"
#include "device/TWMsgBuf.h"
#include "device/UsbLinkManager.h"
#include "platform/PlatformClock.h"

#include <algorithm>

namespace
{
constexpr const char* kReaderThreadName = "RPCUSB";
/** Step of the waits that watch for a stop request. */
constexpr uint32_t kWaitStepMs = 5;
} // namespace

TWRPCUSBConnection::TWRPCUSBConnection() : TWRPCUSBConnection(UsbLinkManager::Instance()) {}

TWRPCUSBConnection::TWRPCUSBConnection(UsbLinkManager& usbLink)
    : link(usbLink), readerThread(std::make_unique<XThread>(false, kReaderThreadName))
{
}

TWRPCUSBConnection::~TWRPCUSBConnection()
{
    Stop();
    // Should the reader still be inside a handler, the thread's destruction waits for it to leave.
}

int32_t TWRPCUSBConnection::Open()
{
    link.Open();
    if (readerThread->IsRunning())
        return 0;
    return readerThread->Start(kReaderThreadLevel, this, nullptr) != 0 ? 0 : XResult::kFailed;
}

bool TWRPCUSBConnection::IsConnected()
{
    return link.IsConnected();
}

int32_t TWRPCUSBConnection::Send(TWMsgBuf& frame, TWMsgBuf* /*reply*/)
{
    if (!IsConnected())
        return XResult::kFailed;
    // A reply buffer gets nothing: a frame taken here would be lost to the reader and its handler.
    return link.QueueFrame(frame.GetBytes(), frame.GetByteCount()) == 0 ? 0 : XResult::kFailed;
}

void TWRPCUSBConnection::Reconnect()
{
    if (!link.IsAutoReconnect())
        return;
    link.Close();
    if (!WaitUnlessStopping(kReconnectSettleMs))
        return;
    link.ScanDevices();
    WaitUnlessStopping(kAfterScanMs);
}

bool TWRPCUSBConnection::Stop()
{
    if (!readerThread->IsRunning())
        return true; // a stop flag left on an idle thread would end the next Open's reader at once
    readerThread->RequestStop();
    const uint32_t start = PlatformClock::GetTickCount();
    while (readerThread->IsRunning())
    {
        if (PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) >= kStopWaitMs)
            return false;
        PlatformClock::Sleep(kWaitStepMs);
    }
    return true;
}

bool TWRPCUSBConnection::IsReading() const
{
    return readerThread->IsRunning();
}

void TWRPCUSBConnection::SetLinkRestoredListener(ILinkRestoredListener* newListener)
{
    XSmartLock hold(listenerLock);
    listener = newListener;
}

// ---------------------------------------------------------------------------------------------------------
// The reader thread.

void TWRPCUSBConnection::Run(XThread* thread, void* /*argument*/)
{
    XMemory received;
    bool wasConnected = IsConnected();
    while (!thread->IsStopRequested())
    {
        bool tookFrame = false;
        if (IsConnected())
        {
            if (!wasConnected)
            {
                wasConnected = true;
                NotifyLinkRestored();
            }
            tookFrame = ReadFrame(received);
        }
        else
        {
            wasConnected = false;
            if (link.IsAutoReconnect())
                ConsiderReconnect();
        }
        // Frames that wait are taken without a pause each: a pause per frame, whatever its length,
        // costs a wake-up, and on a busy machine hundreds of them (a bulk or compare answer) add up
        // to seconds, so that the reader falls behind the unit.
        if (!tookFrame)
            PlatformClock::Sleep(kReaderTurnMs);
    }
}

bool TWRPCUSBConnection::ReadFrame(XMemory& received)
{
    const bool took = link.PopReceived(received) == 0;
    if (took && received.GetLength() > 0)
        DeliverChunk(received.GetData(), received.GetLength());
    received.Clear();
    return took;
}

void TWRPCUSBConnection::ConsiderReconnect()
{
    const uint32_t now = PlatformClock::GetTickCount();
    if (!reconnectStamped)
    {
        reconnectStamped = true;
        reconnectStamp = now;
    }
    const uint32_t sinceStamp = PlatformClock::TicksSince(reconnectStamp, now);
    if (sinceStamp > kReconnectStaleMs)
    {
        reconnectStamp = now;
    }
    else if (sinceStamp > kReconnectSpacingMs)
    {
        Reconnect();
        reconnectStamp = PlatformClock::GetTickCount();
    }
}

void TWRPCUSBConnection::NotifyLinkRestored()
{
    XSmartLock hold(listenerLock);
    if (listener != nullptr)
        listener->LinkRestored();
}

bool TWRPCUSBConnection::WaitUnlessStopping(uint32_t ms) const
{
    const uint32_t start = PlatformClock::GetTickCount();
    for (;;)
    {
        if (readerThread->IsStopRequested())
            return false;
        const uint32_t waited = PlatformClock::TicksSince(start, PlatformClock::GetTickCount());
        if (waited >= ms)
            return true;
        PlatformClock::Sleep(std::min(kWaitStepMs, ms - waited));
    }
}
