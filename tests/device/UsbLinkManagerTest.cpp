#include "device/UsbLinkManager.h"

#include "JoiningThread.h"
#include "UsbUnitPeer.h"
#include "core/ILog.h"
#include "core/Log.h"
#include "core/XMemory.h"
#include "core/XResult.h"
#include "device/IFlashEngine.h"
#include "support/FrameBytes.h"
#include "support/UsbDeviceFolderTest.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace
{
using Bytes = std::vector<uint8_t>;
constexpr int kWaitMs = 10000;

Bytes Received(UsbLinkManager& link)
{
    XMemory chunk;
    if (link.PopReceived(chunk) != 0)
        return {};
    return Bytes(chunk.GetData(), chunk.GetData() + chunk.GetLength());
}

/** Frames from the unit, one by one, until one is there or the wait is over. */
Bytes NextReceived(UsbLinkManager& link)
{
    Bytes frame;
    TestSupport::WaitUntil([&] { return !(frame = Received(link)).empty(); }, kWaitMs);
    return frame;
}

/** Waits until the pump has run count more turns (or its counter reached its cap). */
bool WaitForTurns(UsbLinkManager& link, int32_t count)
{
    const int32_t target = std::min(link.GetTurnCounter() + count, UsbLinkManager::kMaxTurnCount);
    return TestSupport::WaitUntil([&] { return link.GetTurnCounter() >= target; }, kWaitMs);
}

class UsbLinkManagerTest : public UsbDeviceFolderTest
{
protected:
    /** Opens the link to a listening unit and connects the unit's side. */
    void Connect(UsbLinkManager& link, UsbUnitPeer& unit)
    {
        link.Open();
        ASSERT_TRUE(link.IsConnected());
        ASSERT_TRUE(unit.ConnectOutgoing());
    }
};

/** A flash engine with nothing to do: in flash mode it holds the link's frames. */
class IdleEngine final : public IFlashEngine
{
public:
    void RunFlashJob(CFCPipeUSB&) override {}
    bool IsFlashJobIdle() const override { return true; }
};

/** A flash engine that answers each job by reading three bytes and writing them back. */
class EchoFlashEngine final : public IFlashEngine
{
public:
    std::atomic<int> steps{0};
    std::atomic<int> lastResult{1};
    std::atomic<bool> jobPosted{false};
    std::atomic<bool> jobRunning{false};

    void RunFlashJob(CFCPipeUSB& pipe) override
    {
        steps.fetch_add(1);
        if (!jobPosted.load())
            return;
        jobRunning = true; // before the post is taken, so that the job never looks idle meanwhile
        jobPosted = false;
        uint8_t answer[3] = {};
        lastResult = pipe.ReadOverlapped(answer, 3);
        if (lastResult.load() == 0)
            pipe.Write(answer, 3, nullptr);
        jobRunning = false;
    }
    bool IsFlashJobIdle() const override { return !jobPosted.load() && !jobRunning.load(); }
};
} // namespace

TEST_F(UsbLinkManagerTest, AScanThatFindsNothingDoesNotWaitAndOpenScansOnce)
{
    PlatformClock::SetTimeScale(1.0);
    UsbLinkManager link;
    const auto start = std::chrono::steady_clock::now();
    link.Open();
    link.Open();
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(UsbLinkManager::kScanSettleMs));
    EXPECT_EQ(link.GetScanCount(), 1);
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(link.GetDeviceCount(), 0);
    EXPECT_NE(link.QueueFrame("x", 1), 0) << "no port before a unit was opened";
    EXPECT_EQ(link.GetPendingFrames(), 0);
    XMemory chunk;
    EXPECT_EQ(link.PopReceived(chunk), XResult::kFailed);
}

TEST_F(UsbLinkManagerTest, FramesTravelWholeBothWaysAndCloseEndsTheLinkInTime)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    Connect(link, unit);
    EXPECT_EQ(link.GetDeviceState(unit.Path().c_str()), UsbLinkManager::kServed);

    const Bytes request = FrameBytes::Frame(3, 5, {1, 2, 3});
    EXPECT_EQ(link.QueueFrame(request.data(), static_cast<int>(request.size())), 0);
    EXPECT_EQ(unit.Receive(request.size()), request);

    // The pipe keeps no write boundaries: two frames in one write, one frame in two writes.
    const Bytes first = FrameBytes::Frame(3, 2, {0x00, 0x04, 0x01, 0x42});
    const Bytes second = FrameBytes::Frame(3, 7, {});
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    ASSERT_TRUE(unit.Send(both));
    EXPECT_EQ(NextReceived(link), first);
    EXPECT_EQ(NextReceived(link), second);
    const Bytes third = FrameBytes::Frame(3, 9, {9, 8, 7, 6, 5});
    ASSERT_TRUE(unit.Send(Bytes(third.begin(), third.begin() + 7)));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(unit.Send(Bytes(third.begin() + 7, third.end())));
    EXPECT_EQ(NextReceived(link), third);
    EXPECT_TRUE(Received(link).empty());

    PlatformClock::SetTimeScale(1.0); // the close's wait in real time, so that a loaded machine keeps up
    const uint32_t start = PlatformClock::GetTickCount();
    link.Close();
    EXPECT_LE(PlatformClock::TicksSince(start, PlatformClock::GetTickCount()),
              UsbLinkManager::kCloseWaitMs + 50);
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(link.GetDeviceState(unit.Path().c_str()), UsbLinkManager::kNotServed);
    PlatformClock::SetTimeScale(kFastTimeScale);

    // A later scan serves the same unit again.
    link.ScanDevices();
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(link.GetDeviceCount(), 1);
}

TEST_F(UsbLinkManagerTest, TenQueuedFramesLeaveOnePerPumpTurn)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    Connect(link, unit);
    PlatformClock::SetTimeScale(1.0); // real 5 ms turns, far longer than queueing takes

    constexpr int kFrames = 10;
    std::vector<Bytes> frames;
    Bytes expected;
    for (int i = 0; i < kFrames; ++i)
    {
        frames.push_back(FrameBytes::Frame(3, 5, {static_cast<uint8_t>(i)}));
        expected.insert(expected.end(), frames.back().begin(), frames.back().end());
    }
    const int32_t turnsBefore = link.GetTurnCounter();
    for (const auto& frame : frames)
        ASSERT_EQ(link.QueueFrame(frame.data(), static_cast<int>(frame.size())), 0);

    std::vector<int32_t> seen;
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            const int32_t pending = link.GetPendingFrames();
            if (seen.empty() || seen.back() != pending)
                seen.push_back(pending);
            return pending == 0;
        },
        kWaitMs));
    const int32_t turnsAfter = link.GetTurnCounter();
    EXPECT_EQ(unit.Receive(expected.size()), expected);

    EXPECT_LE(seen.front(), kFrames);
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_LT(seen[i], seen[i - 1]) << "pending frames only count down";
    EXPECT_EQ(link.GetQueuedTotal(), kFrames);
    if (turnsAfter < UsbLinkManager::kMaxTurnCount)
    {
        EXPECT_GE(turnsAfter - turnsBefore, kFrames - 1) << "more than one frame left in one turn";
    }
}

TEST_F(UsbLinkManagerTest, FramesQueuedJustBeforeACloseStillGoOut)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    Connect(link, unit);
    PlatformClock::SetTimeScale(1.0); // real 5 ms turns: without the last writes most frames stay

    // As the bootloader restart does: a last command, then the close at once.
    constexpr int kFrames = 20;
    Bytes expected;
    for (int i = 0; i < kFrames; ++i)
    {
        const Bytes frame = FrameBytes::Frame(3, 11, {static_cast<uint8_t>(i)});
        ASSERT_EQ(link.QueueFrame(frame.data(), static_cast<int>(frame.size())), 0);
        expected.insert(expected.end(), frame.begin(), frame.end());
    }
    link.Close();
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(unit.Receive(expected.size()), expected);
}

TEST_F(UsbLinkManagerTest, AClosingPumpGivesUpOnAUnitThatDoesNotReadAndLogsTheFramesLeft)
{
    TestSupport::TempFolder logFolder;
    SetAppLog(OpenLogFile(logFolder.Child("log.txt").c_str(), true));
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    Connect(link, unit);

    // The unit reads nothing: its pipe fills up, and then every write waits in vain.
    const int toUnit = ::open((unit.Path() + "/PIPE00").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(toUnit, 0);
    const int pipeSize = ::fcntl(toUnit, F_GETPIPE_SZ);
    ::close(toUnit);
    const Bytes block(4096, 0x55);
    ASSERT_GE(pipeSize, static_cast<int>(block.size()));
    for (int i = 0; i < pipeSize / static_cast<int>(block.size()); ++i)
        ASSERT_EQ(link.QueueFrame(block.data(), static_cast<int>(block.size())), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return link.GetPendingFrames() == 0; }, kWaitMs));
    constexpr int kLeft = 10;
    for (int i = 0; i < kLeft; ++i)
        ASSERT_EQ(link.QueueFrame(block.data(), static_cast<int>(block.size())), 0);
    PlatformClock::SetTimeScale(1.0); // the close outlasts the writes that wait in vain
    link.Close();
    EXPECT_FALSE(link.IsConnected());
    SetAppLog(nullptr);

    std::ifstream logFile(logFolder.Child("log.txt"));
    const std::string log{std::istreambuf_iterator<char>(logFile), std::istreambuf_iterator<char>()};
    EXPECT_NE(log.find("queued frames were not written to the unit"), std::string::npos) << log;
}

TEST_F(UsbLinkManagerTest, FramesQueuedWhileAScanSettlesStayCounted)
{
    // Frames held by flash mode stay pending, so the count can be read after the scan.
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    IdleEngine engine;
    link.SetFlashEngine(&engine);
    link.SetFlashMode(true);
    PlatformClock::SetTimeScale(1.0); // a scan's settle wait of two real seconds to queue in

    JoiningThread scanning([&] { link.Open(); });
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return link.IsConnected(); }, kWaitMs));
    const Bytes frame = FrameBytes::Frame(3, 3, {0, 0, 0, 0});
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(link.QueueFrame(frame.data(), static_cast<int>(frame.size())), 0);
    scanning.Join();
    EXPECT_EQ(link.GetPendingFrames(), 3) << "the hand-shake's first frames still count after the scan";

    PlatformClock::SetTimeScale(kFastTimeScale);
    ASSERT_TRUE(unit.ConnectOutgoing());
    link.SetFlashMode(false);
    Bytes expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), frame.begin(), frame.end());
    EXPECT_EQ(unit.Receive(expected.size()), expected);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return link.GetPendingFrames() == 0; }, kWaitMs));
    link.Close();
    link.SetFlashEngine(nullptr);
}

TEST_F(UsbLinkManagerTest, ZeroByteReadsAreGoodAndPutNothingOnThePort)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    Connect(link, unit);
    ASSERT_TRUE(WaitForTurns(link, 20));
    EXPECT_TRUE(link.IsAlive());
    EXPECT_TRUE(link.IsConnected());
    EXPECT_TRUE(Received(link).empty());
}

TEST_F(UsbLinkManagerTest, AUnitThatLeavesIsClosedAfterTheReadHealthRuleOrAtOnce)
{
    struct Case
    {
        const char* name;
        bool autoReconnect;
        int32_t minTurns; // pump turns between the unit leaving and the pipes closing
        int32_t maxTurns;
    };
    // With auto-reconnect on, more than 100 failed reads in a row close the pipes (the turn that
    // closes writes nothing, so 100 turns count); with it off, the end of file closes at once.
    const Case cases[] = {{"auto-reconnect on", true, 100, UsbLinkManager::kMaxTurnCount},
                          {"auto-reconnect off", false, 0, 5}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        PlatformClock::SetTimeScale(kFastTimeScale);
        UsbUnitPeer unit(folder.Path(), c.autoReconnect ? "on" : "off");
        UsbLinkManager link;
        link.SetAutoReconnect(c.autoReconnect);
        Connect(link, unit);
        PlatformClock::SetTimeScale(1.0); // the turn counter stays far from its cap of 500

        const int32_t turns = link.GetTurnCounter();
        unit.CloseOutgoing();
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !link.IsConnected(); }, kWaitMs));
        const int32_t turnsToClose = link.GetTurnCounter() - turns;
        EXPECT_GE(turnsToClose, c.minTurns);
        EXPECT_LE(turnsToClose, c.maxTurns);
        EXPECT_EQ(link.IsAlive(), !c.autoReconnect);
        ASSERT_TRUE(TestSupport::WaitUntil(
            [&] { return link.GetDeviceState(unit.Path().c_str()) == UsbLinkManager::kNotServed; }, kWaitMs));
    }
}

TEST_F(UsbLinkManagerTest, AUnitThatCannotBeOpenedIsReportedAndTriedAgainLater)
{
    UsbUnitPeer unit(folder.Path(), "unit0", false);
    UsbLinkManager link;
    link.Open();
    EXPECT_FALSE(link.IsConnected());
    EXPECT_STREQ(link.GetMessageText().CStr(), ("Can not open device 0\n" + unit.Path() + "\n").c_str());
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&] { return link.GetDeviceState(unit.Path().c_str()) == UsbLinkManager::kNotServed; }, kWaitMs));
    EXPECT_FALSE(link.IsAlive()) << "a unit whose pipes did not open is not alive";

    unit.Listen();
    link.ScanDevices();
    EXPECT_TRUE(link.IsConnected());
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return link.IsAlive(); }, kWaitMs));
    EXPECT_EQ(link.GetDeviceCount(), 1);
}

TEST_F(UsbLinkManagerTest, OneUnitIsServedAtATime)
{
    UsbUnitPeer broken(folder.Path(), "unit0", false);
    UsbUnitPeer first(folder.Path(), "unit1");
    UsbUnitPeer second(folder.Path(), "unit2");
    UsbLinkManager link;
    link.Open();
    ASSERT_TRUE(link.IsConnected()) << "the unit after one that cannot be opened is served";
    EXPECT_EQ(link.GetDeviceCount(), 3);
    EXPECT_EQ(link.GetDeviceState(first.Path().c_str()), UsbLinkManager::kServed);
    EXPECT_EQ(link.GetDeviceState(second.Path().c_str()), UsbLinkManager::kNotServed);
    EXPECT_TRUE(first.ConnectOutgoing());
    EXPECT_FALSE(second.ConnectOutgoing(100)) << "nobody reads the second unit's pipe";

    link.ScanDevices(); // a rescan while serving starts nothing either
    EXPECT_EQ(link.GetDeviceState(second.Path().c_str()), UsbLinkManager::kNotServed);
    EXPECT_FALSE(second.ConnectOutgoing(100));
}

TEST_F(UsbLinkManagerTest, FlashModeRunsTheEngineInsteadOfFramesAndClosesWhenTheUnitLeaves)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    EchoFlashEngine engine;
    link.SetFlashEngine(&engine);
    link.SetAutoReconnect(false);
    Connect(link, unit);

    link.SetFlashMode(true);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return engine.steps.load() > 2; }, kWaitMs));
    const Bytes frame = FrameBytes::Frame(3, 1, {});
    ASSERT_EQ(link.QueueFrame(frame.data(), static_cast<int>(frame.size())), 0);
    engine.jobPosted = true;
    EXPECT_FALSE(link.IsFlashJobIdle());
    const Bytes ack = {'A', 'C', 'K'};
    ASSERT_TRUE(unit.Send(ack));
    EXPECT_EQ(unit.Receive(ack.size()), ack) << "raw bytes, not a frame, and the queued frame stays";
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return link.IsFlashJobIdle(); }, kWaitMs));
    EXPECT_EQ(engine.lastResult.load(), 0);
    EXPECT_EQ(link.GetPendingFrames(), 1);
    EXPECT_TRUE(Received(link).empty());

    unit.CloseOutgoing();
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return !link.IsConnected(); }, kWaitMs));
    link.SetFlashEngine(nullptr);
}

TEST_F(UsbLinkManagerTest, LeavingFlashModeResumesFramesWithAFreshSplitter)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    EchoFlashEngine engine;
    link.SetFlashEngine(&engine);
    Connect(link, unit);

    // Half a frame is read, then flash mode comes: those bytes must not join the next frame.
    const Bytes frame = FrameBytes::Frame(3, 4, {7});
    ASSERT_TRUE(unit.Send(Bytes(frame.begin(), frame.begin() + 5)));
    ASSERT_TRUE(WaitForTurns(link, 2));
    link.SetFlashMode(true);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return engine.steps.load() > 0; }, kWaitMs));
    link.SetFlashMode(false);
    ASSERT_TRUE(unit.Send(frame));
    EXPECT_EQ(NextReceived(link), frame);
    link.Close();
    link.SetFlashEngine(nullptr);
}

TEST_F(UsbLinkManagerTest, UnregisteringTheEngineWaitsForTheJobThePumpRunsOnIt)
{
    /** An engine whose job runs until the test releases it. */
    class HeldEngine final : public IFlashEngine
    {
    public:
        std::atomic<bool> running{false};
        std::atomic<bool> release{false};
        void RunFlashJob(CFCPipeUSB&) override
        {
            running = true;
            while (!release.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            running = false;
        }
        bool IsFlashJobIdle() const override { return !running.load(); }
    };

    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    HeldEngine engine;
    link.SetFlashEngine(&engine);
    Connect(link, unit);
    link.SetFlashMode(true);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return engine.running.load(); }, kWaitMs));

    // The engine may be destroyed once the call returns: its job must have ended by then.
    std::atomic<bool> unregistered{false};
    std::atomic<bool> runningWhenUnregistered{true};
    JoiningThread unregistering(
        [&]
        {
            link.SetFlashEngine(nullptr);
            runningWhenUnregistered = engine.running.load();
            unregistered = true;
        },
        [&] { engine.release = true; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(unregistered.load()) << "returned while the job ran";
    engine.release = true;
    unregistering.Join();
    EXPECT_FALSE(runningWhenUnregistered.load());
    link.SetFlashMode(false);
    link.Close();
}

TEST_F(UsbLinkManagerTest, SendersOnManyThreadsLoseNoFrameAndCloseJoinsThePump)
{
    UsbUnitPeer unit(folder.Path(), "unit0");
    UsbLinkManager link;
    Connect(link, unit);

    constexpr int kThreads = 4;
    constexpr int kFramesEach = 25;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t)
        senders.emplace_back(
            [&link, t]
            {
                for (int i = 0; i < kFramesEach; ++i)
                {
                    const Bytes frame =
                        FrameBytes::Frame(3, 5, {static_cast<uint8_t>(t), static_cast<uint8_t>(i)});
                    link.QueueFrame(frame.data(), static_cast<int>(frame.size()));
                    (void)link.GetPendingFrames();
                    (void)link.IsConnected();
                }
            });
    std::thread poller(
        [&link]
        {
            XMemory chunk;
            for (int i = 0; i < 50; ++i)
                link.PopReceived(chunk);
        });
    for (auto& sender : senders)
        sender.join();
    poller.join();

    const size_t frameSize = FrameBytes::Frame(3, 5, {0, 0}).size();
    EXPECT_EQ(unit.Receive(frameSize * kThreads * kFramesEach).size(), frameSize * kThreads * kFramesEach);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return link.GetPendingFrames() == 0; }, kWaitMs));
    link.Close();
    EXPECT_FALSE(link.IsConnected());
}
