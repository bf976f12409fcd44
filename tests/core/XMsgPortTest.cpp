#include "core/XMsgPort.h"

#include "core/XMemory.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XResult.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int32_t kLooperSlots = 255;

/** A port made for one test and deleted after it. */
class ScopedPort
{
public:
    explicit ScopedPort(const char* name, int32_t capacity = kLooperSlots) : id(CreatePort(name, capacity)) {}
    ~ScopedPort() { DeletePort(id); }
    ScopedPort(const ScopedPort&) = delete;
    ScopedPort& operator=(const ScopedPort&) = delete;

    const int32_t id;
};

int32_t ReadInt(int32_t port, uint32_t& code, uint32_t timeoutMs)
{
    XMemory buffer;
    if (ReadPort(port, &code, &buffer, timeoutMs) != 0)
        return -1;
    EXPECT_EQ(4, buffer.GetLength());
    int32_t v = -1;
    std::memcpy(&v, buffer.GetData(), sizeof v);
    return v;
}
} // namespace

TEST(XMsgPort, MoreBlocksThanSlotsAreAllReadBackInOrder)
{
    ScopedPort port("LooperPort");
    ASSERT_GE(port.id, 0);
    for (int32_t i = 0; i < 300; ++i)
        ASSERT_EQ(0, WritePort(port.id, static_cast<uint32_t>(1000 + i), &i, sizeof i));
    EXPECT_EQ(300, CountPortBlocks(port.id));
    for (int32_t i = 0; i < 300; ++i)
    {
        uint32_t code = 0;
        ASSERT_EQ(i, ReadInt(port.id, code, 0));
        EXPECT_EQ(static_cast<uint32_t>(1000 + i), code);
    }
    uint32_t code = 0;
    EXPECT_EQ(XResult::kFailed, ReadPort(port.id, &code, nullptr, 0));
}

TEST(XMsgPort, EmptyPortWithTimeoutZeroFailsAtOnce)
{
    ScopedPort port("empty");
    XMemory buffer;
    uint32_t code = 7;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(XResult::kFailed, ReadPort(port.id, &code, &buffer, 0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(7u, code);
}

TEST(XMsgPort, TimedReadRunsOut)
{
    ScopedPort port("timed");
    EXPECT_EQ(XResult::kFailed, ReadPort(port.id, nullptr, nullptr, 20));
}

TEST(XMsgPort, NullDataReadsBackEmptyWithItsCode)
{
    ScopedPort port("null data");
    ASSERT_EQ(0, WritePort(port.id, 0x706D7367, nullptr, 50));
    XMemory buffer;
    buffer.SetSize(10);
    uint32_t code = 0;
    ASSERT_EQ(0, ReadPort(port.id, &code, &buffer, 0));
    EXPECT_EQ(0, buffer.GetLength());
    EXPECT_EQ(0x706D7367u, code);
    EXPECT_EQ(-1, WritePort(port.id, 1, "x", -1));
}

TEST(XMsgPort, NamesAreCutTo31Characters)
{
    const std::string forty(40, 'p');
    ScopedPort port(forty.c_str());
    EXPECT_EQ(std::string(31, 'p'), GetPortName(port.id).CStr());
    ScopedPort unnamed(nullptr);
    EXPECT_STREQ("", GetPortName(unnamed.id).CStr());
}

TEST(XMsgPort, DeletedPortsRefuseEverything)
{
    const int32_t port = CreatePort("short-lived", 4);
    ASSERT_EQ(0, WritePort(port, 1, "abc", 3));
    EXPECT_EQ(0, DeletePort(port));
    EXPECT_EQ(-1, DeletePort(port));
    EXPECT_EQ(-1, WritePort(port, 1, "abc", 3));
    EXPECT_EQ(XResult::kFailed, ReadPort(port, nullptr, nullptr, 0));
    EXPECT_EQ(-1, CountPortBlocks(port));
    EXPECT_STREQ("", GetPortName(port).CStr());

    const int32_t next = CreatePort("next", 4);
    EXPECT_GT(next, port); // ids are never reused
    DeletePort(next);
}

TEST(XMsgPort, DeleteAllPortsEmptiesTheTable)
{
    const int32_t first = CreatePort("a", 4);
    const int32_t second = CreatePort("b", 4);
    WritePort(first, 1, "x", 1);
    DeleteAllPorts();
    EXPECT_EQ(-1, CountPortBlocks(first));
    EXPECT_EQ(-1, DeletePort(second));
    const int32_t third = CreatePort("c", 4);
    EXPECT_GT(third, second);
    EXPECT_EQ(0, CountPortBlocks(third));
    DeletePort(third);
}

TEST(XMsgPort, ReaderWaitingOnADeletedPortWakesSafely)
{
    for (int round = 0; round < 20; ++round)
    {
        const int32_t port = CreatePort("deleted while read", 255);
        std::atomic<int32_t> result{0};
        std::atomic<bool> done{false};
        std::thread reader(
            [&]
            {
                XMemory buffer;
                uint32_t code = 0;
                result = ReadPort(port, &code, &buffer, kPortWaitForever);
                done = true;
            });
        if (round % 2 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(0, DeletePort(port));
        reader.join();
        EXPECT_TRUE(done);
        EXPECT_EQ(XResult::kFailed, result.load());
    }
}

TEST(XMsgPort, WaitingReaderGetsABlockWrittenLater)
{
    ScopedPort port("late");
    std::atomic<int32_t> received{-1};
    std::thread reader(
        [&]
        {
            uint32_t code = 0;
            received = ReadInt(port.id, code, kPortWaitForever);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int32_t v = 31;
    ASSERT_EQ(0, WritePort(port.id, 3, &v, sizeof v));
    reader.join();
    EXPECT_EQ(31, received.load());
}

TEST(XMsgPort, ManyWritersOneReaderEveryBlockExactlyOnceInWriterOrder)
{
    constexpr int kWriters = 4;
    constexpr int kBlocksPerWriter = 500;
    ScopedPort port("crowded", 16);
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back(
            [&port, w]
            {
                for (int32_t i = 0; i < kBlocksPerWriter; ++i)
                    EXPECT_EQ(0, WritePort(port.id, static_cast<uint32_t>(w), &i, sizeof i));
            });

    std::vector<int32_t> nextExpected(kWriters, 0);
    for (int n = 0; n < kWriters * kBlocksPerWriter; ++n)
    {
        uint32_t code = 0;
        const int32_t v = ReadInt(port.id, code, 10000);
        ASSERT_LT(code, static_cast<uint32_t>(kWriters));
        ASSERT_EQ(nextExpected[code], v);
        ++nextExpected[code];
    }
    for (std::thread& t : writers)
        t.join();
    EXPECT_EQ(0, CountPortBlocks(port.id));
}

TEST(XMsgPort, TwoReadersShareTheBlocks)
{
    constexpr int kBlocks = 400;
    ScopedPort port("two readers", 8);
    std::atomic<int> taken{0};
    std::vector<std::atomic<int>> seen(kBlocks);
    auto read = [&]
    {
        while (taken < kBlocks)
        {
            uint32_t code = 0;
            const int32_t v = ReadInt(port.id, code, 20);
            if (v < 0)
                continue; // timed out: look again whether everything was taken
            seen[static_cast<size_t>(v)]++;
            taken++;
        }
    };
    std::thread first(read);
    std::thread second(read);
    for (int32_t i = 0; i < kBlocks; ++i)
        WritePort(port.id, 0, &i, sizeof i);
    first.join();
    second.join();
    EXPECT_EQ(kBlocks, taken.load());
    for (const auto& count : seen)
        EXPECT_EQ(1, count.load());
}

// Replies ----------------------------------------------------------------------------------------

namespace
{
/** Sends a message with a reply port through a port and rebuilds it as a receiver would. */
void ReceiveWithReplyPort(int32_t requestPort, int32_t replyPort, XMessage& received)
{
    XMessage request(FourCharCode("ask?"), 0);
    ASSERT_EQ(0, request.SendToPort(requestPort, 4, replyPort, 9));
    EXPECT_FALSE(request.IsReplyExpected()); // the flags went only to the flattened copy
    ASSERT_EQ(0, received.ReadFromPort(requestPort, 0));
}

std::vector<XMessage> DrainReplies(int32_t port)
{
    std::vector<XMessage> replies;
    XMessage reply;
    while (reply.ReadFromPort(port, 0) == 0)
        replies.push_back(reply);
    return replies;
}
} // namespace

TEST(XMessageReply, UnansweredMessageSendsTheAutomaticReplyOnce)
{
    ScopedPort requests("requests");
    ScopedPort replies("app_reply");
    {
        auto received = std::make_unique<XMessage>();
        ReceiveWithReplyPort(requests.id, replies.id, *received);
        EXPECT_TRUE(received->IsReplyExpected());
        EXPECT_EQ(9, received->GetReplyToken());
        XMessage copy(*received); // a copy shares the duty
        received.reset();
        EXPECT_EQ(0, CountPortBlocks(replies.id));
    }
    const std::vector<XMessage> answers = DrainReplies(replies.id);
    ASSERT_EQ(1u, answers.size());
    EXPECT_EQ(XMsgCode::kNoReply, answers[0].GetWhat());
    EXPECT_EQ(9, answers[0].GetTargetToken());
    EXPECT_TRUE((answers[0].GetFlags() & XMessage::kFlagIsReply) != 0);
    EXPECT_FALSE(answers[0].IsReplyExpected());
}

TEST(XMessageReply, AnsweredOnceAcrossCopies)
{
    ScopedPort requests("requests");
    ScopedPort replies("app_reply");
    {
        XMessage received;
        ReceiveWithReplyPort(requests.id, replies.id, received);
        XMessage copy(received);
        XMessage answer(FourCharCode("ans!"), 1);
        EXPECT_EQ(0, copy.SendReply(&answer, 77, 3));
        EXPECT_FALSE(copy.IsReplyExpected());
        EXPECT_FALSE(received.IsReplyExpected());
        EXPECT_EQ(-1, received.SendReply(&answer));
        EXPECT_EQ(-1, copy.SendReplyCode(5));
        EXPECT_EQ(0u, answer.GetFlags() & XMessage::kFlagIsReply); // restored after the send
    }
    const std::vector<XMessage> answers = DrainReplies(replies.id);
    ASSERT_EQ(1u, answers.size());
    EXPECT_EQ(FourCharCode("ans!"), answers[0].GetWhat());
    EXPECT_EQ(77, answers[0].GetReplyPort());
    EXPECT_EQ(3, answers[0].GetReplyToken());
    EXPECT_TRUE(answers[0].IsReplyExpected()); // the answer itself may be answered
}

TEST(XMessageReply, CopiesDestroyedOnManyThreadsReplyOnce)
{
    constexpr int kThreads = 4;
    ScopedPort requests("requests");
    ScopedPort replies("app_reply");
    for (int round = 0; round < 20; ++round)
    {
        std::vector<std::unique_ptr<XMessage>> copies;
        {
            XMessage received;
            ReceiveWithReplyPort(requests.id, replies.id, received);
            for (int i = 0; i < kThreads; ++i)
                copies.push_back(std::make_unique<XMessage>(received));
        }
        std::vector<std::thread> threads;
        for (auto& copy : copies)
            threads.emplace_back(
                [&copy, i = threads.size()]
                {
                    if (i == 0)
                        copy->SendReplyCode(XMsgCode::kDocumentReply);
                    copy.reset();
                });
        for (std::thread& t : threads)
            t.join();
        const std::vector<XMessage> answers = DrainReplies(replies.id);
        ASSERT_EQ(1u, answers.size());
    }
}

TEST(XMessageReply, ReplySinkTakesTheReplyWithoutAPort)
{
    XMessage sink;
    XMessage message(1, 0);
    message.SetReplySink(&sink);
    XMessage answer(2, 0);
    answer.AddInt32("result", 0x42);
    EXPECT_EQ(0, message.SendReply(&answer));
    EXPECT_EQ(2u, sink.GetWhat());
    EXPECT_EQ(0x42, sink.GetInt32("result"));
    EXPECT_EQ(0, message.SendReply(nullptr));
    EXPECT_EQ(0, sink.GetItemBytes());
}

TEST(XMessageReply, NoReplyOwedWithoutAReplyPort)
{
    ScopedPort requests("requests");
    XMessage plain(1, 0);
    EXPECT_EQ(-1, plain.SendReplyCode(XMsgCode::kDocumentReply));
    ASSERT_EQ(0, plain.SendToPort(requests.id, -1, -1, -1));
    XMessage received;
    ASSERT_EQ(0, received.ReadFromPort(requests.id, 0));
    EXPECT_TRUE((received.GetFlags() & XMessage::kFlagFromPort) != 0);
    EXPECT_FALSE(received.IsReplyExpected());
    EXPECT_EQ(-1, received.SendReplyCode(XMsgCode::kDocumentReply));
}

TEST(XMessageReply, ReplyToADeletedPortFailsQuietly)
{
    ScopedPort requests("requests");
    const int32_t replies = CreatePort("tmp_reply_port", 255);
    XMessage received;
    ReceiveWithReplyPort(requests.id, replies, received);
    DeletePort(replies);
    EXPECT_EQ(XResult::kFailed, received.SendReplyCode(XMsgCode::kDocumentReply));
    EXPECT_FALSE(received.IsReplyExpected());
}

TEST(XMessageReply, LargeMessagesCrossAPort)
{
    ScopedPort port("large");
    XMessage big(3, 4);
    const std::string text(5000, 'z');
    big.AddString("text", text.c_str());
    ASSERT_GT(big.GetFlattenedSize(), 128);
    ASSERT_EQ(0, big.SendToPort(port.id, -1, -1, -1));
    XMessage received;
    ASSERT_EQ(0, received.ReadFromPort(port.id, 0));
    EXPECT_EQ(text, received.GetString("text"));
    EXPECT_EQ(XResult::kFailed, received.ReadFromPort(port.id, 0));
}
