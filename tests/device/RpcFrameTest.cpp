#include "core/XMemory.h"
#include "core/XResult.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCConnection.h"
#include "device/TWRPCDispatcher.h"
#include "support/FrameBytes.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace
{
using FrameBytes::Bytes;
using FrameBytes::Contents;
using FrameBytes::Frame;

/** A connection that records the frames sent to it. */
class RecordingConnection : public TWRPCConnection
{
public:
    int32_t Open() override { return 0; }
    bool IsConnected() override { return connected.load(); }
    int32_t Send(TWMsgBuf& frame, TWMsgBuf* reply) override
    {
        std::lock_guard<std::mutex> hold(sentLock);
        sent.push_back(Contents(frame));
        replies.push_back(reply);
        return 0;
    }

    std::atomic<bool> connected{true};
    std::mutex sentLock; // guards sent and replies
    std::vector<Bytes> sent;
    std::vector<TWMsgBuf*> replies;
};

/** A dispatcher that records every command handed to it. */
class RecordingDispatcher : public TWRPCDispatcher
{
public:
    struct Call
    {
        int address;
        int command;
        Bytes payload;
        bool hadReply;
        uint8_t firstRead;
        int32_t errorAfterFirstRead;
    };

    using TWRPCDispatcher::TWRPCDispatcher;
    ~RecordingDispatcher() override { DetachFromConnection(); }

    void HandleCommand(int address, int command, TWMsgBuf* payload, TWMsgBuf* reply) override
    {
        Call call{address, command, Contents(*payload), reply != nullptr, 0, 0};
        call.firstRead = payload->GetInt8();
        call.errorAfterFirstRead = payload->GetLastError();
        calls.push_back(call);
    }

    std::vector<Call> calls;
};

void Deliver(TWRPCConnection& connection, const Bytes& chunk)
{
    connection.DeliverChunk(chunk.data(), static_cast<int>(chunk.size()));
}
} // namespace

TEST(RpcFrame, RequestsAreFramedExactly)
{
    const int command = 0x2A;
    TWMsgBuf frame;
    ASSERT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, command, nullptr), 0);
    EXPECT_EQ(Contents(frame), (Bytes{0xBB, 0x00, 0xAA, 0xFF, 0x0C, 0, 0, 0, 0x03, 0x00, command, 0x00}));

    TWMsgBuf payload;
    payload.WriteInt16(0x0201);
    ASSERT_EQ(TWRPCDispatcher::BuildRequest(frame, 0x1FF, 0x105, &payload), 0);
    EXPECT_EQ(Contents(frame),
              (Bytes{0xBB, 0x00, 0xAA, 0xFF, 0x0E, 0, 0, 0, 0x03, 0xFF, 0x05, 0x02, 0x01, 0x02}))
        << "address and command are cut to a byte, the payload goes out whole";
}

TEST(RpcFrame, APayloadOverTheLengthFieldIsRefusedNotCut)
{
    RecordingConnection connection;
    RecordingDispatcher dispatcher(&connection);
    TWMsgBuf payload;
    for (int i = 0; i < TWMsgBuf::kMaxPayloadSize; ++i)
        payload.WriteInt8(i);
    EXPECT_EQ(dispatcher.SendRequest(0, 5, &payload, nullptr), 0);
    ASSERT_EQ(connection.sent.size(), 1u);
    EXPECT_EQ(connection.sent[0].size(), static_cast<size_t>(TWMsgBuf::kMaxFrameSize));
    EXPECT_EQ(connection.sent[0][11], 0xFF);

    payload.WriteInt8(0);
    EXPECT_EQ(dispatcher.SendRequest(0, 5, &payload, nullptr), XResult::kFailed);
    TWMsgBuf frame;
    EXPECT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, 5, &payload), XResult::kFailed);
    EXPECT_EQ(frame.GetByteCount(), 0);
    EXPECT_EQ(connection.sent.size(), 1u);
}

TEST(RpcFrame, SendRequestGoesOutOnlyWhileConnectedWithTheReplyBufferUntouched)
{
    RecordingConnection connection;
    RecordingDispatcher dispatcher(&connection);
    EXPECT_EQ(connection.GetMessageHandler(), &dispatcher);

    connection.connected = false;
    EXPECT_EQ(dispatcher.SendRequest(0, 1, nullptr, nullptr), XResult::kFailed);
    EXPECT_TRUE(connection.sent.empty());

    connection.connected = true;
    TWMsgBuf reply;
    reply.WriteInt8(0x77);
    EXPECT_EQ(dispatcher.SendRequest(0, 7, nullptr, &reply), 0);
    ASSERT_EQ(connection.sent.size(), 1u);
    EXPECT_EQ(connection.sent[0][10], 7);
    EXPECT_EQ(connection.replies[0], &reply);
    EXPECT_EQ(Contents(reply), Bytes{0x77});

    TWRPCDispatcher unconnected(nullptr);
    EXPECT_EQ(unconnected.SendRequest(0, 1, nullptr, nullptr), XResult::kFailed);
}

TEST(RpcFrame, ReceivedFramesAreSplitIntoAddressCommandAndPayload)
{
    struct Case
    {
        const char* what;
        Bytes chunk;
        bool handled;
        Bytes payload;
    };
    Bytes withExtra = Frame(3, 9, {0x07, 0x01});
    withExtra.insert(withExtra.end(), {0xBB, 0x00, 0xAA, 0xFF});
    Bytes shortPayload = Frame(3, 13, {1, 2, 3, 4});
    shortPayload.resize(shortPayload.size() - 3); // announces 4 bytes, holds 1
    Bytes cutHeader = Frame(3, 13, {});
    cutHeader.resize(10);
    Bytes wrongMagic = Frame(3, 5, {1});
    wrongMagic[0] = 0xBC;
    const Case cases[] = {
        {"a whole frame", Frame(3, 8, {1, 2, 3, 4, 5, 6}), true, {1, 2, 3, 4, 5, 6}},
        {"version other than 3", Frame(2, 8, {1}), false, {}},
        {"version 4", Frame(4, 8, {1}), false, {}},
        {"no payload", Frame(3, 18, {}), true, {}},
        {"bytes after the payload", withExtra, true, {0x07, 0x01}},
        {"payload cut short", shortPayload, true, {1}},
        {"header cut short", cutHeader, false, {}},
        {"wrong magic", wrongMagic, false, {}},
        {"magic alone", {0xBB, 0x00, 0xAA, 0xFF}, false, {}},
    };
    for (const Case& c : cases)
    {
        RecordingConnection connection;
        RecordingDispatcher dispatcher(&connection);
        Deliver(connection, c.chunk);
        ASSERT_EQ(dispatcher.calls.size(), c.handled ? 1u : 0u) << c.what;
        if (!c.handled)
            continue;
        const RecordingDispatcher::Call& call = dispatcher.calls[0];
        EXPECT_EQ(call.command, c.chunk[10]) << c.what;
        EXPECT_EQ(call.address, 0) << c.what;
        EXPECT_EQ(call.payload, c.payload) << c.what;
        EXPECT_FALSE(call.hadReply) << c.what;
        if (c.payload.empty())
        {
            EXPECT_EQ(call.firstRead, 0xFF) << c.what;
            EXPECT_EQ(call.errorAfterFirstRead, static_cast<int32_t>(0x80000007)) << c.what;
        }
    }
}

TEST(RpcFrame, ReadsPastAShortPayloadGiveAllOnes)
{
    // The command 5 record of a unit that stopped after the wire id.
    Bytes chunk = Frame(3, 5, {0x31, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00});
    chunk.resize(14);

    struct Reader : TWRPCDispatcher
    {
        using TWRPCDispatcher::TWRPCDispatcher;
        void HandleCommand(int, int, TWMsgBuf* payload, TWMsgBuf*) override
        {
            wireId = payload->GetInt16();
            kind = payload->GetInt8();
            bits = payload->GetInt32();
            error = payload->GetLastError();
        }
        int wireId = 0, kind = 0, bits = 0;
        int32_t error = 0;
    };
    RecordingConnection connection;
    Reader reader(&connection);
    Deliver(connection, chunk);
    EXPECT_EQ(reader.wireId, 0x131);
    EXPECT_EQ(reader.kind, 0xFF);
    EXPECT_EQ(reader.bits, -1);
    EXPECT_EQ(reader.error, static_cast<int32_t>(0x80000007));
}

TEST(RpcFrame, NoHandlerAfterTheDispatcherIsGone)
{
    RecordingConnection connection;
    Bytes chunk = Frame(3, 8, {});
    {
        RecordingDispatcher dispatcher(&connection);
        EXPECT_TRUE(connection.DeliverChunk(chunk.data(), static_cast<int>(chunk.size())));
    }
    EXPECT_EQ(connection.GetMessageHandler(), nullptr);
    EXPECT_FALSE(connection.DeliverChunk(chunk.data(), static_cast<int>(chunk.size())));

    // A dispatcher that goes leaves a newer handler in place.
    RecordingDispatcher newer(&connection);
    {
        TWRPCDispatcher older(nullptr);
        connection.ClearMessageHandler(&older);
    }
    EXPECT_EQ(connection.GetMessageHandler(), &newer);
}

TEST(RpcFrame, SetContentsReplacesAndRewinds)
{
    TWMsgBuf buffer;
    buffer.WriteInt32(0x11223344);
    EXPECT_EQ(buffer.GetInt8(), 0x44);
    const uint8_t bytes[] = {9, 8, 7};
    ASSERT_EQ(buffer.SetContents(bytes, 3), 0);
    EXPECT_EQ(Contents(buffer), (Bytes{9, 8, 7}));
    EXPECT_EQ(buffer.GetReadPosition(), 0);
    buffer.WriteInt8(6);
    EXPECT_EQ(Contents(buffer), (Bytes{9, 8, 7, 6}));
    EXPECT_EQ(buffer.SetContents(nullptr, 2), static_cast<int32_t>(0x80000001));
    EXPECT_EQ(buffer.GetByteCount(), 0);
    EXPECT_EQ(buffer.PatchFrameLength(), static_cast<int32_t>(0x80000001));
}

TEST(RpcFrame, RandomChunksNeverReadOutOfBounds)
{
    RecordingConnection connection;
    RecordingDispatcher dispatcher(&connection);
    std::mt19937 random(17);
    for (int round = 0; round < 20000; ++round)
    {
        Bytes chunk(random() % 300);
        for (uint8_t& byte : chunk)
            byte = static_cast<uint8_t>(random());
        if (chunk.size() >= 9 && random() % 2 == 0)
        {
            // Mostly well-formed headers, so that the parser gets past the magic and version.
            chunk[0] = 0xBB, chunk[1] = 0x00, chunk[2] = 0xAA, chunk[3] = 0xFF, chunk[8] = 3;
        }
        const size_t before = dispatcher.calls.size();
        Deliver(connection, chunk);
        if (dispatcher.calls.size() == before)
            continue;
        const size_t announced = chunk[11];
        ASSERT_EQ(dispatcher.calls.back().payload.size(), std::min(announced, chunk.size() - 12));
        ASSERT_TRUE(std::equal(dispatcher.calls.back().payload.begin(), dispatcher.calls.back().payload.end(),
                               chunk.begin() + 12));
    }
    EXPECT_GT(dispatcher.calls.size(), 1000u);
}

TEST(RpcFrame, ManyThreadsSendWhileTheReaderDelivers)
{
    RecordingConnection connection;
    RecordingDispatcher dispatcher(&connection);
    constexpr int kSenders = 4;
    constexpr int kRequestsEach = 200;
    // The senders wait after their first request until the reader has delivered, and the reader
    // delivers until the senders are done, so sending and delivering overlap however they are
    // scheduled.
    std::atomic<int> sendersDone{0};
    std::atomic<int> deliveries{0};
    std::thread reader(
        [&]
        {
            const Bytes chunk = Frame(3, 8, {1, 2, 3, 4});
            while (sendersDone.load() < kSenders)
            {
                Deliver(connection, chunk);
                deliveries.fetch_add(1);
            }
        });
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s)
        senders.emplace_back(
            [&, s]
            {
                for (int i = 0; i < kRequestsEach; ++i)
                {
                    TWMsgBuf payload;
                    payload.WriteInt8(s);
                    dispatcher.SendRequest(0, 5, &payload, nullptr);
                    while (i == 0 && deliveries.load() == 0)
                        std::this_thread::yield();
                }
                sendersDone.fetch_add(1);
            });
    for (std::thread& sender : senders)
        sender.join();
    reader.join();
    dispatcher.DetachFromConnection();

    ASSERT_EQ(connection.sent.size(), static_cast<size_t>(kSenders * kRequestsEach));
    std::vector<int> perSender(kSenders);
    for (const Bytes& frame : connection.sent)
    {
        ASSERT_EQ(frame.size(), 13u);
        ++perSender.at(frame[12]);
    }
    for (int count : perSender)
        EXPECT_EQ(count, kRequestsEach);
    EXPECT_FALSE(dispatcher.calls.empty());
}
