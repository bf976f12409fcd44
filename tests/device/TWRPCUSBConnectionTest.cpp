#include "device/TWRPCUSBConnection.h"

#include "UsbUnitPeer.h"
#include "core/ILinkRestoredListener.h"
#include "core/XResult.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCDispatcher.h"
#include "device/UsbLinkManager.h"
#include "support/FrameBytes.h"
#include "support/SimUnitTest.h"

#include <atomic>
#include <juce_core/juce_core.h>
#include <mutex>
#include <vector>

namespace
{
using FrameBytes::Bytes;
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
/** How long one request waits for its answer before it is sent again. */
constexpr int kAnswerWaitMs = 500;

constexpr int kDeviceInfoRequest = 1;
constexpr int kDeviceInfo = 2;
constexpr int kAllValuesRequest = 7;
constexpr int kBulkValues = 8;
constexpr int kBulkFrames = 143;

/** A dispatcher that records the command and payload of every frame handed to it, on any thread. */
class RecordingDispatcher final : public TWRPCDispatcher
{
public:
    struct Call
    {
        int command;
        Bytes payload;
    };

    using TWRPCDispatcher::TWRPCDispatcher;
    ~RecordingDispatcher() override { DetachFromConnection(); }

    void HandleCommand(int /*address*/, int command, TWMsgBuf* payload, TWMsgBuf* /*reply*/) override
    {
        std::lock_guard<std::mutex> hold(callsLock);
        calls.push_back({command, FrameBytes::Contents(*payload)});
    }

    std::vector<Call> Calls()
    {
        std::lock_guard<std::mutex> hold(callsLock);
        return calls;
    }

    int CountOf(int command)
    {
        int count = 0;
        for (const Call& call : Calls())
            count += call.command == command ? 1 : 0;
        return count;
    }

private:
    std::mutex callsLock; // guards calls
    std::vector<Call> calls;
};

/** Counts the link's comebacks. */
class CountingListener final : public ILinkRestoredListener
{
public:
    void LinkRestored() override { restored.fetch_add(1); }
    std::atomic<int> restored{0};
};

/** A connection that records when each reconnect attempt began and ended (in ticks). */
class TimedReconnectConnection final : public TWRPCUSBConnection
{
public:
    struct Attempt
    {
        uint32_t begin;
        uint32_t end;
    };

    using TWRPCUSBConnection::TWRPCUSBConnection;
    ~TimedReconnectConnection() override { Stop(); }

    void Reconnect() override
    {
        const uint32_t begin = PlatformClock::GetTickCount();
        TWRPCUSBConnection::Reconnect();
        std::lock_guard<std::mutex> hold(attemptsLock);
        attempts.push_back({begin, PlatformClock::GetTickCount()});
    }

    std::vector<Attempt> Attempts()
    {
        std::lock_guard<std::mutex> hold(attemptsLock);
        return attempts;
    }

private:
    std::mutex attemptsLock; // guards attempts
    std::vector<Attempt> attempts;
};

class TWRPCUSBConnectionTest : public SimUnitTest
{
protected:
    /** Asks for the device info until the handler got an answer; whether it did. Every request
        carries a reply buffer, which must stay empty. */
    static bool AskForDeviceInfo(RecordingDispatcher& dispatcher)
    {
        const int answered = dispatcher.CountOf(kDeviceInfo);
        int filledReplies = 0;
        const bool gotAnswer = TestSupport::WaitUntil(
            [&]
            {
                TWMsgBuf reply;
                dispatcher.SendRequest(0, kDeviceInfoRequest, nullptr, &reply);
                filledReplies += reply.GetByteCount() > 0 ? 1 : 0;
                return TestSupport::WaitUntil([&] { return dispatcher.CountOf(kDeviceInfo) > answered; },
                                              kAnswerWaitMs);
            },
            kWaitMs);
        EXPECT_EQ(filledReplies, 0);
        return gotAnswer;
    }
};

/** Ticks since an earlier tick. */
uint32_t TicksSince(uint32_t earlier)
{
    return PlatformClock::TicksSince(earlier, PlatformClock::GetTickCount());
}
} // namespace

TEST_F(TWRPCUSBConnectionTest, SendsOnAClosedConnectionAreRefusedAndQueueNothing)
{
    UsbLinkManager link;
    TWRPCUSBConnection connection(link);
    link.SetAutoReconnect(false);
    const Bytes frame = FrameBytes::Frame(3, kDeviceInfoRequest, {});
    TWMsgBuf buffer;
    ASSERT_EQ(buffer.SetContents(frame.data(), static_cast<int>(frame.size())), 0);

    EXPECT_EQ(connection.Send(buffer, nullptr), XResult::kFailed) << "before Open";
    ASSERT_EQ(connection.Open(), 0);
    EXPECT_TRUE(connection.IsReading());
    EXPECT_EQ(connection.Open(), 0) << "a second Open keeps the one reader";
    TWMsgBuf reply;
    EXPECT_EQ(connection.Send(buffer, &reply), XResult::kFailed) << "open, but no unit";
    EXPECT_EQ(link.GetQueuedTotal(), 0);

    EXPECT_TRUE(connection.Stop());
    EXPECT_FALSE(connection.IsReading());
    ASSERT_EQ(connection.Open(), 0) << "a stopped reader starts again";
    EXPECT_TRUE(connection.IsReading());
}

TEST_F(TWRPCUSBConnectionTest, OnlyFramesFromTheUnitReachTheHandler)
{
    UsbUnitPeer peer(folder.Path(), "unit0");
    UsbLinkManager link;
    TWRPCUSBConnection connection(link);
    RecordingDispatcher dispatcher(&connection);
    ASSERT_EQ(connection.Open(), 0);
    ASSERT_TRUE(connection.IsConnected());
    ASSERT_TRUE(peer.ConnectOutgoing());

    Bytes wrongMagic = FrameBytes::Frame(3, kDeviceInfo, {9, 9});
    wrongMagic[0] = 0xBC;
    const Bytes frame = FrameBytes::Frame(3, kDeviceInfo, {1, 2, 3});
    ASSERT_TRUE(peer.Send(wrongMagic));
    ASSERT_TRUE(peer.Send(frame));
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !dispatcher.Calls().empty(); }, kWaitMs));

    // Frames the editor sends arrive whole and in order.
    for (int i = 0; i < 3; ++i)
    {
        TWMsgBuf payload;
        payload.WriteInt8(static_cast<uint8_t>(i));
        EXPECT_EQ(dispatcher.SendRequest(0, 5, &payload, nullptr), 0);
    }
    Bytes expectedOut;
    for (int i = 0; i < 3; ++i)
    {
        const Bytes sent = FrameBytes::Frame(3, 5, {static_cast<uint8_t>(i)});
        expectedOut.insert(expectedOut.end(), sent.begin(), sent.end());
    }
    EXPECT_EQ(peer.Receive(expectedOut.size(), kWaitMs), expectedOut);

    const auto calls = dispatcher.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, kDeviceInfo);
    EXPECT_EQ(calls[0].payload, (Bytes{1, 2, 3}));
}

TEST_F(TWRPCUSBConnectionTest, RequestsReachTheSimulatedUnitAndEveryAnswerReachesTheHandler)
{
    ASSERT_TRUE(StartUnit());
    UsbLinkManager link;
    TWRPCUSBConnection connection(link);
    RecordingDispatcher dispatcher(&connection);
    ASSERT_EQ(connection.Open(), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return connection.IsConnected(); }, kWaitMs));

    ASSERT_TRUE(AskForDeviceInfo(dispatcher));
    const auto calls = dispatcher.Calls();
    const Bytes& info = calls.back().payload;
    // status 0, version 0x42010400, then the text's length
    ASSERT_GE(info.size(), 7u);
    EXPECT_EQ(Bytes(info.begin(), info.begin() + 5), (Bytes{0x00, 0x00, 0x04, 0x01, 0x42}));

    // Requests with reply buffers while the bulk answer streams in take none of its frames away.
    TWMsgBuf reply;
    ASSERT_EQ(dispatcher.SendRequest(0, kAllValuesRequest, nullptr, &reply), 0);
    int filledReplies = 0;
    EXPECT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            TWMsgBuf otherReply;
            dispatcher.SendRequest(0, kDeviceInfoRequest, nullptr, &otherReply);
            filledReplies += otherReply.GetByteCount() > 0 ? 1 : 0;
            return dispatcher.CountOf(kBulkValues) >= kBulkFrames || filledReplies > 0;
        },
        kWaitMs));
    EXPECT_EQ(filledReplies, 0);
    EXPECT_EQ(reply.GetByteCount(), 0);
    EXPECT_EQ(dispatcher.CountOf(kBulkValues), kBulkFrames);
}

TEST_F(TWRPCUSBConnectionTest, KillingTheUnitAndStartingItAgainReconnects)
{
    ASSERT_TRUE(StartUnit());
    CountingListener listener;
    UsbLinkManager link;
    TWRPCUSBConnection connection(link);
    RecordingDispatcher dispatcher(&connection);
    connection.SetLinkRestoredListener(&listener);
    ASSERT_EQ(connection.Open(), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return connection.IsConnected(); }, kWaitMs));
    ASSERT_TRUE(AskForDeviceInfo(dispatcher));
    const int restoredBefore = listener.restored.load();

    StopUnit();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !connection.IsConnected(); }, kWaitMs));
    TWMsgBuf frame;
    ASSERT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, kDeviceInfoRequest, nullptr), 0);
    EXPECT_EQ(connection.Send(frame, nullptr), XResult::kFailed) << "the unit is away";

    // Nobody but the connection's reader scans for the unit again.
    ASSERT_TRUE(StartUnit());
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return connection.IsConnected(); }, kWaitMs));
    ASSERT_TRUE(AskForDeviceInfo(dispatcher));
    EXPECT_EQ(listener.restored.load(), restoredBefore + 1);
    EXPECT_GE(link.GetScanCount(), 2);
    connection.SetLinkRestoredListener(nullptr);
}

TEST_F(TWRPCUSBConnectionTest, ReconnectAttemptsAreSpacedAndOnlyMadeWithAutoReconnect)
{
    struct Case
    {
        const char* name;
        bool autoReconnect;
    };
    const Case cases[] = {{"auto-reconnect on", true}, {"auto-reconnect off", false}};
    constexpr size_t kAttempts = 4;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        UsbLinkManager link; // the device folder holds no unit
        link.SetAutoReconnect(c.autoReconnect);
        TimedReconnectConnection connection(link);
        const uint32_t opened = PlatformClock::GetTickCount();
        ASSERT_EQ(connection.Open(), 0);

        if (!c.autoReconnect)
        {
            const uint32_t quiet = 3 * TWRPCUSBConnection::kReconnectSpacingMs;
            ASSERT_TRUE(TestSupport::WaitUntil([&] { return TicksSince(opened) > quiet; }, kWaitMs));
            EXPECT_TRUE(connection.Attempts().empty());
            continue;
        }
        ASSERT_TRUE(
            TestSupport::WaitUntil([&] { return connection.Attempts().size() >= kAttempts; }, kWaitMs));
        ASSERT_TRUE(connection.Stop());
        const auto attempts = connection.Attempts();
        EXPECT_GE(PlatformClock::TicksSince(opened, attempts[0].begin),
                  TWRPCUSBConnection::kReconnectSpacingMs);
        for (size_t i = 1; i < attempts.size(); ++i)
            EXPECT_GE(PlatformClock::TicksSince(attempts[i - 1].end, attempts[i].begin),
                      TWRPCUSBConnection::kReconnectSpacingMs)
                << "attempt " << i;
    }
}

TEST_F(TWRPCUSBConnectionTest, AfterALongConnectedSpellTheFirstAttemptStillWaitsTheSpacing)
{
    CountingListener listener;
    UsbLinkManager link; // no unit at first: the reader stamps its attempts
    TimedReconnectConnection connection(link);
    connection.SetLinkRestoredListener(&listener);
    ASSERT_EQ(connection.Open(), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !connection.Attempts().empty(); }, kWaitMs));

    UsbUnitPeer peer(folder.Path(), "unit0");
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return listener.restored.load() == 1; }, kWaitMs));
    ASSERT_TRUE(peer.ConnectOutgoing(kWaitMs));
    const uint32_t connected = PlatformClock::GetTickCount();
    const uint32_t longSpell = TWRPCUSBConnection::kReconnectStaleMs + 1000;
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return TicksSince(connected) > longSpell; }, kWaitMs));
    ASSERT_TRUE(connection.IsConnected());
    const size_t attemptsBefore = connection.Attempts().size();

    const uint32_t left = PlatformClock::GetTickCount();
    peer.CloseOutgoing();
    ASSERT_TRUE(
        TestSupport::WaitUntil([&] { return connection.Attempts().size() > attemptsBefore; }, kWaitMs));
    EXPECT_GE(PlatformClock::TicksSince(left, connection.Attempts()[attemptsBefore].begin),
              TWRPCUSBConnection::kReconnectSpacingMs);
    connection.SetLinkRestoredListener(nullptr);
}
