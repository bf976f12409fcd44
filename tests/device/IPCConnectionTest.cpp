// The interprocess connection against a loopback server of the test: connecting, replies and their
// checks, frames the server sends on its own, a lost socket, and starting the server program when
// nothing answers.

#include "device/IPCConnection.h"

#include "core/XResult.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCDispatcher.h"
#include "platform/PlatformProcess.h"
#include "support/FrameBytes.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <juce_events/juce_events.h>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
using FrameBytes::Bytes;

constexpr int kWaitMs = 10000;
constexpr int kScriptReportMs = 300;

class LoopbackServer;

/** The server's end of one connection: it hands every message to the server. */
class LoopbackPeer final : public juce::InterprocessConnection
{
public:
    explicit LoopbackPeer(LoopbackServer& server)
        : juce::InterprocessConnection(false, IPCConnection::kMessageMagic), server(server)
    {
    }
    ~LoopbackPeer() override { disconnect(); }

    void connectionMade() override { made.store(true); }
    void connectionLost() override {}
    void messageReceived(const juce::MemoryBlock& message) override;

    /** Set once the server has handed the peer its socket. */
    std::atomic<bool> made{false};

private:
    LoopbackServer& server;
};

/** A server on a free port of this machine that answers every message with a reply frame of its
    command whose payload length byte is replyLength (or stays silent), and records what it got. */
class LoopbackServer final : public juce::InterprocessConnectionServer
{
public:
    ~LoopbackServer() override
    {
        stop();
        std::lock_guard<std::mutex> hold(lock);
        peers.clear();
    }

    juce::InterprocessConnection* createConnectionObject() override
    {
        std::lock_guard<std::mutex> hold(lock);
        peers.push_back(std::make_unique<LoopbackPeer>(*this));
        return peers.back().get();
    }

    void Received(LoopbackPeer& peer, const juce::MemoryBlock& message)
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            received.emplace_back(static_cast<const uint8_t*>(message.getData()),
                                  static_cast<const uint8_t*>(message.getData()) + message.getSize());
        }
        if (silent.load())
            return;
        Bytes reply = FrameBytes::Frame(3, 9, {1, 2});
        reply[11] = static_cast<uint8_t>(replyLength.load());
        if (!goodMagic.load())
            reply[0] = 0xBC;
        peer.sendMessage(juce::MemoryBlock(reply.data(), reply.size()));
    }

    /** Sends bytes from the server's end of every connection; only after HasConnectedPeer, since
        JUCE sets a new peer's socket without a lock after the peer has been made. */
    void SendToClients(const Bytes& bytes)
    {
        std::lock_guard<std::mutex> hold(lock);
        for (auto& peer : peers)
            peer->sendMessage(juce::MemoryBlock(bytes.data(), bytes.size()));
    }

    bool HasConnectedPeer()
    {
        std::lock_guard<std::mutex> hold(lock);
        return !peers.empty() && peers.back()->made.load();
    }

    void DropClients()
    {
        std::lock_guard<std::mutex> hold(lock);
        for (auto& peer : peers)
            peer->disconnect();
    }

    std::vector<Bytes> Received()
    {
        std::lock_guard<std::mutex> hold(lock);
        return received;
    }

    std::atomic<int> replyLength{2};
    std::atomic<bool> goodMagic{true};
    std::atomic<bool> silent{false};

private:
    std::mutex lock; // guards peers and received
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    std::vector<Bytes> received;
};

void LoopbackPeer::messageReceived(const juce::MemoryBlock& message)
{
    server.Received(*this, message);
}

/** Records the frames the connection hands on (on the connection's thread). */
class RecordingDispatcher final : public TWRPCDispatcher
{
public:
    explicit RecordingDispatcher(TWRPCConnection* connection) : TWRPCDispatcher(connection) {}
    ~RecordingDispatcher() override { DetachFromConnection(); }

    void HandleCommand(int, int command, TWMsgBuf* payload, TWMsgBuf*) override
    {
        std::lock_guard<std::mutex> hold(lock);
        commands.push_back(command);
        payloads.push_back(FrameBytes::Contents(*payload));
    }

    std::vector<int> Commands()
    {
        std::lock_guard<std::mutex> hold(lock);
        return commands;
    }
    std::vector<Bytes> Payloads()
    {
        std::lock_guard<std::mutex> hold(lock);
        return payloads;
    }

private:
    std::mutex lock; // guards commands and payloads
    std::vector<int> commands;
    std::vector<Bytes> payloads;
};

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

/** A server program of the test: a script that writes its argument count and working folder to
    report (atomically, through a rename) and ends. */
std::string WriteServerScript(const TestSupport::TempFolder& folder, const std::string& report)
{
    const std::string path = folder.Child("server.sh");
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$#\" > '" << report << ".part'\npwd -P >> '" << report
                        << ".part'\nmv '" << report << ".part' '" << report << "'\n";
    juce::File(path).setExecutePermission(true);
    return path;
}

/** A port on which nothing listens (one that a server just gave up). */
int FreePort()
{
    LoopbackServer probe;
    if (!probe.beginWaitingForSocket(0, "127.0.0.1"))
        return -1;
    const int port = probe.getBoundPort();
    probe.stop();
    return port;
}

class IPCLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.beginWaitingForSocket(0, "127.0.0.1"));
        port = server.getBoundPort();
    }

    TestSupport::TempFolder folder;
    LoopbackServer server;
    int port = 0;
};
} // namespace

TEST_F(IPCLink, FirstTryConnectsAndStartsNoProcess)
{
    const std::string report = folder.Child("started");
    IPCConnection connection(port, WriteServerScript(folder, report).c_str());
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(connection.Open(), 0);
    EXPECT_TRUE(connection.IsConnected());

    // A request goes out as one message, byte for byte.
    RecordingDispatcher dispatcher(&connection);
    EXPECT_EQ(dispatcher.SendRequest(0, 7, nullptr, nullptr), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return server.Received().size() == 1; }, kWaitMs));
    EXPECT_EQ(server.Received()[0], (Bytes{0xBB, 0x00, 0xAA, 0xFF, 0x0C, 0, 0, 0, 3, 0, 7, 0}));
    // Time enough for a started script to have reported.
    std::this_thread::sleep_for(std::chrono::milliseconds(kScriptReportMs));
    EXPECT_FALSE(juce::File(report).exists());
}

TEST_F(IPCLink, ReplyChecksMagicAndPayloadLength)
{
    IPCConnection connection(port, XString());
    ASSERT_EQ(connection.Open(), 0);
    struct Case
    {
        int replyLength;
        bool goodMagic;
        int32_t expected;
    };
    const Case cases[] = {{2, true, 0},     {0x7F, true, 0},  {0, true, -1},
                          {0x80, true, -1}, {0xFF, true, -1}, {2, false, -1}};
    for (const Case& c : cases)
    {
        server.replyLength.store(c.replyLength);
        server.goodMagic.store(c.goodMagic);
        TWMsgBuf frame;
        TWMsgBuf reply;
        ASSERT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, 9, nullptr), 0);
        EXPECT_EQ(connection.Send(frame, &reply), c.expected) << c.replyLength << " " << c.goodMagic;
        ASSERT_EQ(reply.GetByteCount(), 14);
        EXPECT_EQ(reply.GetBytes()[11], c.replyLength);
    }

    server.silent.store(true);
    TWMsgBuf frame;
    TWMsgBuf reply;
    ASSERT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, 9, nullptr), 0);
    EXPECT_EQ(connection.Send(frame, &reply), IPCConnection::kBadReply);
    EXPECT_EQ(reply.GetByteCount(), 0);
}

TEST_F(IPCLink, FramesFromTheServerReachTheHandlerWhileRepliesAreExchanged)
{
    IPCConnection connection(port, XString());
    ASSERT_EQ(connection.Open(), 0);
    RecordingDispatcher dispatcher(&connection);
    // The server's end may send only once JUCE has handed it its socket.
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return server.HasConnectedPeer(); }, kWaitMs));

    // Two senders with replies and the server's own frames at once; the frames that no exchange
    // took reach the handler, and a chunk without the frame magic never does.
    constexpr int kExchanges = 20;
    std::atomic<int> goodReplies{0};
    std::vector<std::thread> senders;
    for (int sender = 0; sender < 2; ++sender)
    {
        senders.emplace_back(
            [&]
            {
                for (int exchange = 0; exchange < kExchanges; ++exchange)
                {
                    TWMsgBuf frame;
                    TWMsgBuf reply;
                    TWRPCDispatcher::BuildRequest(frame, 0, 9, nullptr);
                    if (connection.Send(frame, &reply) == 0)
                        goodReplies.fetch_add(1);
                }
            });
    }
    server.SendToClients({0x01, 0x02, 0x03});
    for (auto& sender : senders)
        sender.join();
    EXPECT_GT(goodReplies.load(), 0);

    server.SendToClients(FrameBytes::Frame(3, 42, {5, 6, 7}));
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            const auto commands = dispatcher.Commands();
            return std::find(commands.begin(), commands.end(), 42) != commands.end();
        },
        kWaitMs));
    const auto commands = dispatcher.Commands();
    const size_t at = static_cast<size_t>(std::find(commands.begin(), commands.end(), 42) - commands.begin());
    EXPECT_EQ(dispatcher.Payloads()[at], (Bytes{5, 6, 7}));
}

TEST_F(IPCLink, LosingTheServerEndsTheConnection)
{
    IPCConnection connection(port, XString());
    ASSERT_EQ(connection.Open(), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return server.HasConnectedPeer(); }, kWaitMs));
    server.DropClients();
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return !connection.IsConnected(); }, kWaitMs));

    // Frames now go nowhere, and say so.
    TWMsgBuf frame;
    ASSERT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, 9, nullptr), 0);
    EXPECT_EQ(connection.Send(frame, nullptr), XResult::kFailed);

    EXPECT_EQ(connection.Open(), 0);
    EXPECT_TRUE(connection.IsConnected());
}

TEST(IPCConnectionStart, WithoutServerOrProgramItStaysUnconnected)
{
    const int port = FreePort();
    ASSERT_GT(port, 0);
    IPCConnection connection(port, XString());
    EXPECT_EQ(connection.Open(), XResult::kFailed);
    EXPECT_FALSE(connection.IsConnected());

    TestSupport::TempFolder folder;
    IPCConnection cannotStart(port, folder.Child("no-such-server").c_str());
    EXPECT_EQ(cannotStart.Open(), XResult::kFailed);
    EXPECT_FALSE(cannotStart.IsConnected());
}

TEST(IPCConnectionStart, StartsTheServerProgramInTheProgramsFolderWhenNothingAnswers)
{
    TestSupport::TempFolder folder;
    const std::string report = folder.Child("started");
    const int port = FreePort();
    ASSERT_GT(port, 0);

    // The script only reports; the test plays the server it would have become once it ran.
    LoopbackServer lateServer;
    std::atomic<bool> stopWatching{false};
    std::thread watcher(
        [&]
        {
            if (TestSupport::WaitUntil([&] { return stopWatching.load() || juce::File(report).exists(); },
                                       kWaitMs))
                lateServer.beginWaitingForSocket(port, "127.0.0.1");
        });
    IPCConnection connection(port, WriteServerScript(folder, report).c_str());
    const int32_t opened = connection.Open();
    stopWatching.store(true);
    watcher.join();

    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(connection.IsConnected());
    const std::string expected =
        "0\n" +
        juce::File(PlatformProcess::ProgramFolder()).getLinkedTarget().getFullPathName().toStdString() + "\n";
    EXPECT_EQ(Contents(report), expected);
}
