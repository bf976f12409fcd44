#include "core/XMessenger.h"

#include "LooperTestSupport.h"
#include "core/XInvoker.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMsgPort.h"
#include "core/XResult.h"
#include "support/TestSupport.h"

#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

using namespace LooperTest;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kQuestion = 5001;
constexpr uint32_t kAnswer = 5002;

/** Answers every message with kAnswer and the int32 item "echo" = the message's value, unless it
    keeps silent; remembers the "source" pointer of the last message. */
class AnsweringHandler : public XHandler
{
public:
    explicit AnsweringHandler(const char* name, bool silentIn = false) : XHandler(name), silent(silentIn) {}
    ~AnsweringHandler() override
    {
        if (XLooper* looper = GetLooper())
            looper->RemoveHandler(this);
    }

    void MessageReceived(XMessage& message) override
    {
        lastSource.store(message.GetPointer(XInvoker::kSourceItem));
        lastThread.store(CurrentThreadId());
        ++received;
        if (silent)
            return;
        XMessage answer(kAnswer, 0);
        answer.AddInt32("echo", message.GetValue());
        message.SendReply(&answer);
    }

    const bool silent;
    std::atomic<void*> lastSource{nullptr};
    std::atomic<int32_t> lastThread{0};
    std::atomic<int> received{0};
};

/** A looper with its own thread and two handlers, one answering and one silent. */
class MessengerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        looper = std::make_unique<XLooper>("messenger-worker");
        looper->AddHandler(&answering);
        looper->AddHandler(&silent);
        ASSERT_NE(looper->Run(), 0);
    }
    void TearDown() override { looper.reset(); }

    AnsweringHandler answering{"answering"};
    AnsweringHandler silent{"silent", true};
    std::unique_ptr<XLooper> looper;
};
} // namespace

TEST(XMessengerPlainTest, UnattachedHandlerHasNoPort)
{
    AnsweringHandler unattached("alone");
    XMessenger messenger(&unattached);
    EXPECT_EQ(messenger.GetPort(), -1);
    EXPECT_FALSE(messenger.IsValid());
    XMessage message(kQuestion, 0);
    EXPECT_EQ(messenger.SendMessage(&message), XResult::kFailed);
    EXPECT_EQ(messenger.SendAndWait(&message, nullptr), XResult::kFailed);
    EXPECT_EQ(unattached.received.load(), 0);
    EXPECT_EQ(XMessenger().GetPort(), -1);
}

TEST_F(MessengerTest, NamesResolveOnFirstSendAndStayWhileTheLooperIsMissing)
{
    XMessenger missing("no-such-looper", "answering");
    XMessage message(kQuestion, 0);
    EXPECT_EQ(missing.SendMessage(&message), XResult::kFailed);
    EXPECT_TRUE(missing.HasPendingNames()) << "kept for a later try";

    XMessenger named("messenger-worker", "ANSWERING");
    EXPECT_TRUE(named.HasPendingNames());
    ASSERT_EQ(named.SendMessage(&message), 0);
    EXPECT_FALSE(named.HasPendingNames());
    EXPECT_EQ(named.GetPort(), looper->GetPort());
    EXPECT_EQ(named.GetToken(), answering.GetToken());
    EXPECT_TRUE(named.HasHandler());
    EXPECT_TRUE(TestSupport::WaitUntil([this] { return answering.received.load() == 1; }, kWaitMs));

    XMessenger copy = named;
    EXPECT_EQ(copy.GetToken(), answering.GetToken());
}

TEST_F(MessengerTest, SendAndWaitFromAnotherThread)
{
    XMessage question(kQuestion, 42);
    XMessage reply;
    ASSERT_EQ(XMessenger(&answering).SendAndWait(&question, &reply), 0);
    EXPECT_EQ(reply.GetWhat(), kAnswer);
    EXPECT_EQ(reply.GetInt32("echo"), 42);

    XMessage unanswered;
    ASSERT_EQ(XMessenger(&silent).SendAndWait(&question, &unanswered), 0);
    EXPECT_EQ(unanswered.GetWhat(), XMsgCode::kNoReply) << "the message died unanswered";
    EXPECT_EQ(silent.received.load(), 1);
}

TEST_F(MessengerTest, ManyThreadsWaitForTheirOwnReplies)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 40;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [this, t, &wrong]
            {
                XMessenger messenger(&answering);
                for (int round = 0; round < kRounds; ++round)
                {
                    XMessage question(kQuestion, t * 1000 + round);
                    XMessage reply;
                    if (messenger.SendAndWait(&question, &reply) != 0 ||
                        reply.GetInt32("echo") != t * 1000 + round)
                        ++wrong;
                }
            });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(answering.received.load(), kThreads * kRounds);
}

TEST(XMessengerPlainTest, SendAndWaitOnTheLoopersOwnThreadAnswersThroughTheSink)
{
    XLooper here("messenger-here");
    here.StartupInit(); // this thread is the looper's thread
    AnsweringHandler answering("answering");
    here.AddHandler(&answering);
    XMessage question(kQuestion, 7);
    XMessage reply;
    ASSERT_EQ(XMessenger(&answering).SendAndWait(&question, &reply), 0);
    EXPECT_EQ(reply.GetWhat(), kAnswer) << "answered before SendAndWait returned";
    EXPECT_EQ(reply.GetInt32("echo"), 7);
    EXPECT_EQ(answering.lastThread.load(), CurrentThreadId());
    EXPECT_EQ(CountPortBlocks(here.GetPort()), 0) << "no port was used";
    EXPECT_EQ(question.GetReplySink(), nullptr);
}

TEST(XMessengerPlainTest, SendAndWaitToALooperWithoutThreadDoesNotWait)
{
    XLooper idle("messenger-idle");
    AnsweringHandler answering("answering");
    idle.AddHandler(&answering);
    XMessage question(kQuestion, 0);
    XMessage reply;
    EXPECT_EQ(XMessenger(&answering).SendAndWait(&question, &reply), 0);
    EXPECT_EQ(reply.GetWhat(), XMsgCode::kNoReply);
    EXPECT_EQ(CountPortBlocks(idle.GetPort()), 1) << "the message waits for the looper's thread";
}

TEST(XMessengerPlainTest, EveryWriteToALoopersPortWakesItAsItsOwnPostsDo)
{
    // A looper whose thread does not wait on its port (as the GUI application's) learns of every
    // block through its wake-up, whichever way the block came.
    XLooper looper("messenger-woken");
    looper.StartupInit(); // the test's thread is the looper's
    AnsweringHandler silent("silent", true);
    looper.AddHandler(&silent);
    std::atomic<int> wakes{0};
    looper.SetWakeCallback([&wakes] { ++wakes; });
    XMessage message(kQuestion, 0);
    struct Case
    {
        const char* what;
        std::function<bool()> write;
    };
    const Case cases[] = {
        {"messenger", [&] { return XMessenger(&silent).SendMessage(&message) == 0; }},
        {"messenger by names",
         [&] { return XMessenger("messenger-woken", "silent").SendMessage(&message) == 0; }},
        {"messenger waiting from another thread",
         [&]
         {
             // The silent handler never answers: the looper's reply comes when the message is dropped.
             std::atomic<int32_t> result{-1};
             std::thread asker(
                 [&]
                 {
                     XMessage reply;
                     result = XMessenger(&silent).SendAndWait(&message, &reply);
                 });
             const bool written =
                 TestSupport::WaitUntil([&] { return CountPortBlocks(looper.GetPort()) > 0; }, kWaitMs);
             const bool answered = written && TestSupport::WaitUntil(
                                                  [&]
                                                  {
                                                      looper.LoopOnce(false);
                                                      return result.load() == 0;
                                                  },
                                                  kWaitMs);
             asker.join();
             return answered;
         }},
        {"handler post", [&] { return silent.PostMessage(&message) == 0; }},
        {"looper post", [&] { return looper.PostMessage(&message) == 0; }},
        {"timer removal", [&] { return looper.KillTimer(&silent, 1); }},
        {"timer set from another thread",
         [&]
         {
             std::thread setter([&] { looper.SetTimer(&silent, 1, 1000, true); });
             setter.join();
             return true;
         }},
    };
    for (const Case& c : cases)
    {
        const int before = wakes.load();
        EXPECT_TRUE(c.write()) << c.what;
        EXPECT_EQ(wakes.load(), before + 1) << c.what;
    }

    const int32_t strayPort = CreatePort("messenger-stray", 4);
    EXPECT_EQ(
        PostToLooperPort(strayPort, &message, XHandler::kNoToken, XMessage::kNoRoute, XMessage::kNoRoute), 0);
    DeletePort(strayPort);
    looper.SetWakeCallback(nullptr);
    EXPECT_EQ(silent.PostMessage(&message), 0);
    EXPECT_EQ(wakes.load(), static_cast<int>(std::size(cases)))
        << "a port of no looper, or no callback: no wake-up";
    looper.RemoveAllTimers(&silent);
}

TEST(XMessengerPlainTest, AWaitEndsWhenTheTargetPortIsDeletedUnread)
{
    XLooper stalled("messenger-stalled");
    stalled.StartupInit();
    const int32_t port = stalled.GetPort();
    XMessenger messenger(&stalled);
    XMessage question(kQuestion, 0);
    XMessage reply;
    int32_t result = 0;
    std::thread waiter([&] { result = messenger.SendAndWait(&question, &reply); });
    ASSERT_TRUE(TestSupport::WaitUntil([port] { return CountPortBlocks(port) == 1; }, kWaitMs));
    DeletePort(port);
    waiter.join();
    EXPECT_EQ(result, XResult::kFailed);
    EXPECT_EQ(reply.GetWhat(), XMsgCode::kNoReply);
}

TEST_F(MessengerTest, InvokeSendsACopyNamingTheInvoker)
{
    XInvoker invoker(&answering);
    EXPECT_EQ(invoker.Invoke(), XResult::kFailed) << "neither a stored nor a given message";

    invoker.SetMessage(new XMessage(kQuestion, 1));
    ASSERT_EQ(invoker.Invoke(), 0);
    EXPECT_TRUE(TestSupport::WaitUntil([this] { return answering.received.load() == 1; }, kWaitMs));
    EXPECT_EQ(answering.lastSource.load(), &invoker);
    EXPECT_EQ(invoker.GetMessage()->FindItem(XInvoker::kSourceItem), nullptr)
        << "the stored one is unchanged";

    XMessage given(kQuestion, 2);
    ASSERT_EQ(invoker.Invoke(&given), 0);
    EXPECT_TRUE(TestSupport::WaitUntil([this] { return answering.received.load() == 2; }, kWaitMs));

    AnsweringHandler unattached("alone");
    EXPECT_EQ(invoker.SetTarget(&unattached, nullptr), XResult::kFailed);
    EXPECT_EQ(invoker.SetTarget(&silent, nullptr), 0);
    XMessenger aimed;
    invoker.GetMessenger(aimed);
    EXPECT_EQ(aimed.GetToken(), silent.GetToken());
}
