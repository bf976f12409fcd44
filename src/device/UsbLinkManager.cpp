#include "device/UsbLinkManager.h"

#include "core/Log.h"
#include "core/XMsgPort.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "core/XThread.h"
#include "device/FrameSplitter.h"
#include "device/IFlashEngine.h"
#include "platform/PlatformClock.h"

namespace
{
constexpr const char* kTransmitPortName = "USB_XMT_Port";
constexpr const char* kReceivePortName = "USB_RCV_Port";
constexpr const char* kPumpThreadName = "USBPump";
constexpr int32_t kPumpThreadLevel = 3;
/** How long the reader's port read waits for a received frame. */
constexpr uint32_t kPortWaitMs = 1;
constexpr uint64_t kMicrosecondsPerMs = 1000;
/** Step of the waits that poll a condition. */
constexpr uint32_t kPollStepMs = 5;
/** How long a scan waits for a started pump to open its unit or give up. */
constexpr uint32_t kOpenOutcomeWaitMs = 1000;

/** Waits in small steps until done() holds or ms have passed since start; whether it held. */
template <typename Condition> bool WaitFor(Condition done, uint32_t start, uint32_t ms)
{
    while (!done())
    {
        if (PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) >= ms)
            return false;
        PlatformClock::Sleep(kPollStepMs);
    }
    return true;
}

/** Real microseconds that ms of the clock's (scaled) milliseconds last. */
uint64_t RealMicroseconds(uint32_t ms)
{
    return static_cast<uint64_t>(ms * kMicrosecondsPerMs / PlatformClock::GetTimeScale());
}

/** The clock's milliseconds, rounded up, that real microseconds last. */
uint32_t ScaledMs(uint64_t microseconds)
{
    const double ms = static_cast<double>(microseconds) * PlatformClock::GetTimeScale() / kMicrosecondsPerMs;
    return static_cast<uint32_t>(ms) + 1;
}

/** The start of the turn after one that was to end at turnEnd: on the turns' grid, unless the turn
    overran by a whole turn or more (then the next one starts now, without making up for it). */
uint64_t NextTurnStart(uint64_t turnEnd, uint64_t turnLength)
{
    const uint64_t now = PlatformClock::GetRealMicroseconds();
    return now < turnEnd + turnLength ? turnEnd : now;
}
} // namespace

UsbLinkManager::UsbLinkManager() : splitter(std::make_unique<FrameSplitter>()) {}

UsbLinkManager::~UsbLinkManager()
{
    stopRequested.store(true);
    pipe.CancelReads();
    {
        XSmartLock hold(pumpLock);
        pumpThread.reset(); // asks the thread to stop and joins it
    }
    DeletePort(transmitPort.exchange(-1));
    DeletePort(receivePort.exchange(-1));
}

UsbLinkManager& UsbLinkManager::Instance()
{
    static auto* instance = new UsbLinkManager(); // never destroyed: pump threads may outlive exit
    return *instance;
}

void UsbLinkManager::Open()
{
    if (opened.exchange(true))
        return;
    ScanDevices();
}

void UsbLinkManager::ScanDevices()
{
    XSmartLock scanning(scanLock);
    scanCount.fetch_add(1);
    stopRequested.store(false);
    pipe.ResumeReads(); // a pump that outlived a Close serves on
    const auto paths = CFCPipeUSB::EnumerateDevices();

    for (const auto& path : paths)
    {
        DeviceNode* node = nullptr;
        {
            XSmartLock hold(mutex);
            for (const auto& known : nodes)
                if (known->path.Compare(path.CStr()) == 0)
                    node = known.get();
            if (node == nullptr)
            {
                auto added = std::make_unique<DeviceNode>();
                added->path = path;
                added->index = static_cast<int32_t>(nodes.size());
                node = added.get();
                nodes.push_back(std::move(added));
            }
            if (node->state == kServed)
                continue;
        }
        if (!StartPump(node))
            continue;
        PlatformClock::Sleep(kStartPumpWaitMs);
        // A unit that cannot be opened ends its pump at once; the next path may then be served.
        WaitFor([this] { return IsConnected() || !IsPumpRunning(); }, PlatformClock::GetTickCount(),
                kOpenOutcomeWaitMs);
    }
    if (!paths.empty())
        PlatformClock::Sleep(kScanSettleMs);

    // Pending frames are not cleared: they are the transmit port's, and a frame queued after the
    // pump opened the unit (the hand-shake's first command) is still to be written.
    XSmartLock hold(mutex);
    turnCounter.store(0);
    queuedTotal.store(0);
}

void UsbLinkManager::Close()
{
    const uint32_t start = PlatformClock::GetTickCount();
    stopRequested.store(true);
    pipe.CancelReads(); // a flash job waiting for an answer gives up
    WaitFor([this] { return !IsConnected(); }, start, kCloseWaitMs);
    WaitFor([this] { return !IsPumpRunning(); }, start, kCloseWaitMs);
    ReapPump();
}

int32_t UsbLinkManager::QueueFrame(const void* data, int n)
{
    const int32_t result = WritePort(transmitPort.load(), 0, data, n);
    if (result == 0)
        queuedTotal.fetch_add(1);
    return result;
}

int32_t UsbLinkManager::GetPendingFrames() const
{
    const int32_t queued = CountPortBlocks(transmitPort.load());
    return queued > 0 ? queued : 0;
}

int32_t UsbLinkManager::PopReceived(XMemory& out)
{
    return ReadPort(receivePort.load(), nullptr, &out, kPortWaitMs) == 0 ? 0 : XResult::kFailed;
}

void UsbLinkManager::SetFlashEngine(IFlashEngine* engine)
{
    XSmartLock running(engineLock);
    flashEngine.store(engine);
}

bool UsbLinkManager::IsFlashJobIdle() const
{
    const IFlashEngine* engine = flashEngine.load();
    return engine == nullptr || engine->IsFlashJobIdle();
}

XString UsbLinkManager::GetMessageText() const
{
    XSmartLock hold(mutex);
    return messageText;
}

void UsbLinkManager::SetMessageText(const XString& text)
{
    XSmartLock hold(mutex);
    messageText = text;
}

int UsbLinkManager::GetDeviceCount() const
{
    XSmartLock hold(mutex);
    return static_cast<int>(nodes.size());
}

char UsbLinkManager::GetDeviceState(const char* path) const
{
    XSmartLock hold(mutex);
    for (const auto& node : nodes)
        if (node->path.Compare(path) == 0)
            return node->state;
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// The pump thread.

void UsbLinkManager::Run(XThread* thread, void* argument)
{
    auto* node = static_cast<DeviceNode*>(argument);
    failedReads = 0;
    goodReads = 0;
    const bool openedDevice = OpenDevice(node) == 0;
    if (openedDevice)
        openCount.fetch_add(1);
    // A unit whose pipes did not open is not alive: the application goes on treating the link as lost.
    alive.store(openedDevice);
    splitter->Reset();
    bool lastTurnInFlashMode = false;
    uint64_t turnStart = PlatformClock::GetRealMicroseconds();
    while (openedDevice && IsConnected() && !stopRequested.load() && !thread->IsStopRequested())
    {
        if (flashMode.load())
        {
            lastTurnInFlashMode = true;
            RunFlashTurn(node);
            PlatformClock::Sleep(kPumpTurnMs);
            turnStart = PlatformClock::GetRealMicroseconds();
            continue;
        }
        if (lastTurnInFlashMode)
        {
            splitter->Reset(); // raw bootloader bytes are no part of any frame
            lastTurnInFlashMode = false;
        }
        const uint64_t turnLength = RealMicroseconds(kPumpTurnMs);
        const uint64_t turnEnd = turnStart + turnLength;
        RunFrameTurn(node);
        WaitOutTurn(turnEnd);
        turnStart = NextTurnStart(turnEnd, turnLength);
    }
    if (openedDevice && !flashMode.load())
        WriteQueuedBeforeClose();
    CloseDevice(node);
    XSmartLock hold(mutex);
    node->state = kNotServed; // also after a failed open, so that a later scan tries the path again
}

void UsbLinkManager::RunFlashTurn(DeviceNode* node)
{
    {
        XSmartLock running(engineLock);
        if (IFlashEngine* engine = flashEngine.load())
            engine->RunFlashJob(pipe);
    }
    // Nothing else would ever close the pipes of a unit that left while in its bootloader.
    if (pipe.IsPeerGone())
        CloseDevice(node);
}

void UsbLinkManager::RunFrameTurn(DeviceNode* node)
{
    if (autoReconnect.load())
    {
        if (ReadPipe() == 0)
            CountGoodRead();
        else
            CountFailedRead();
        if (!alive.load())
        {
            failedReads = 0;
            goodReads = 0;
            CloseDevice(node);
        }
    }
    else
    {
        ReadPipe();
        // Without auto-reconnect the read health never closes; a unit that left must still do so.
        if (pipe.IsPeerGone())
            CloseDevice(node);
    }
    if (IsConnected())
        WritePending();
}

void UsbLinkManager::WaitOutTurn(uint64_t turnEnd)
{
    for (;;)
    {
        const uint64_t now = PlatformClock::GetRealMicroseconds();
        if (now >= turnEnd || !IsConnected())
            return;
        if (!pipe.WaitForInput(static_cast<uint32_t>(turnEnd - now)))
            return; // the turn's time is up
        if (ReadPipe() != 0)
        {
            // The unit's side has gone: the next turn's read counts it; until then nothing to wait for.
            const uint64_t after = PlatformClock::GetRealMicroseconds();
            if (after < turnEnd)
                PlatformClock::Sleep(ScaledMs(turnEnd - after));
            return;
        }
    }
}

void UsbLinkManager::WriteQueuedBeforeClose()
{
    const uint32_t start = PlatformClock::GetTickCount();
    uint64_t turnStart = PlatformClock::GetRealMicroseconds();
    while (IsConnected() && GetPendingFrames() > 0 &&
           PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) < kCloseDrainMs)
    {
        const uint64_t turnLength = RealMicroseconds(kPumpTurnMs);
        const uint64_t turnEnd = turnStart + turnLength;
        WritePending();
        WaitOutTurn(turnEnd);
        turnStart = NextTurnStart(turnEnd, turnLength);
    }
    if (const int32_t left = GetPendingFrames(); left > 0)
        LogFormatted(nullptr, "UsbLinkManager::Close: %d queued frames were not written to the unit", left);
}

void UsbLinkManager::CountFailedRead()
{
    ++failedReads;
    goodReads = 0;
    if (failedReads > kMaxFailedReads)
        alive.store(false);
}

void UsbLinkManager::CountGoodRead()
{
    ++goodReads;
    failedReads = 0;
    alive.store(true);
}

int32_t UsbLinkManager::OpenDevice(DeviceNode* node)
{
    if (node == nullptr)
        return XResult::kFailed;
    {
        XSmartLock hold(mutex);
        if (IsConnected() && CountPortBlocks(transmitPort.load()) >= 0 &&
            CountPortBlocks(receivePort.load()) >= 0)
            return 0;
        // Frames left in the old ports belong to the unit that went; they are no longer pending.
        DeletePort(transmitPort.exchange(-1));
        transmitPort.store(CreatePort(kTransmitPortName, kPortCapacity));
        DeletePort(receivePort.exchange(-1));
        receivePort.store(CreatePort(kReceivePortName, kPortCapacity));
    }
    // The pipes belong to this thread alone; the mutex is not held through the open's settle wait.
    if (pipe.Open(node->path.CStr()) != 0)
    {
        XString text;
        text.Format("Can not open device %d\n%s\n", node->index, node->path.CStr());
        SetMessageText(text);
        return XResult::kFailed;
    }
    return 0;
}

int32_t UsbLinkManager::CloseDevice(DeviceNode* node)
{
    if (node == nullptr)
        return XResult::kFailed;
    {
        XSmartLock hold(mutex);
        if (!IsConnected())
            return 0;
        node->state = kNotServed;
        stopRequested.store(false);
    }
    pipe.Close();
    return 0;
}

int32_t UsbLinkManager::ReadPipe()
{
    receiveScratch.Clear();
    if (receiveScratch.SetSize(kReadChunkBytes) != 0)
        return XResult::kFailed;
    const int count = pipe.Read(receiveScratch.GetData(), kReadChunkBytes);
    if (count < 0)
        return XResult::kFailed;
    if (count > 0)
        DeliverReceived(receiveScratch.GetData(), count);
    receiveScratch.Clear();
    return 0;
}

void UsbLinkManager::DeliverReceived(const uint8_t* bytes, int count)
{
    splitter->Feed(bytes, count);
    while (splitter->PopFrame(frameScratch))
        WritePort(receivePort.load(), 0, frameScratch.GetData(), frameScratch.GetLength());
}

void UsbLinkManager::WritePending()
{
    // No wait for a frame: the turn waits on the read pipe instead, and a frame queued meanwhile
    // leaves at the next turn.
    if (ReadPort(transmitPort.load(), nullptr, &writeScratch, 0) == 0)
    {
        pipe.Write(writeScratch.GetData(), writeScratch.GetLength(), nullptr);
        writeScratch.Clear();
    }
    int32_t turns = turnCounter.load();
    while (turns < kMaxTurnCount && !turnCounter.compare_exchange_weak(turns, turns + 1))
    {
    }
}

// ---------------------------------------------------------------------------------------------------------
// Pump thread ownership.

bool UsbLinkManager::StartPump(DeviceNode* node)
{
    XSmartLock hold(pumpLock);
    if (pumpThread != nullptr && !pumpThread->IsFinished())
        return false;
    pumpThread.reset();
    {
        XSmartLock states(mutex);
        node->state = kServed;
    }
    pumpThread = std::make_unique<XThread>(false, kPumpThreadName);
    if (pumpThread->Start(kPumpThreadLevel, this, node) != 0)
        return true;
    pumpThread.reset();
    XSmartLock states(mutex);
    node->state = kNotServed;
    return false;
}

bool UsbLinkManager::IsPumpRunning()
{
    XSmartLock hold(pumpLock);
    return pumpThread != nullptr && !pumpThread->IsFinished();
}

void UsbLinkManager::ReapPump()
{
    XSmartLock hold(pumpLock);
    if (pumpThread != nullptr && pumpThread->IsFinished())
        pumpThread.reset();
}
