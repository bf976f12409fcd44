#include "core/XLooper.h"

#include "LooperTestSupport.h"
#include "core/XMemory.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMsgPort.h"
#include "platform/PlatformClock.h"
#include "support/TestSupport.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace LooperTest;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kCodeA = 5001;
constexpr uint32_t kCodeB = 5002;
constexpr uint32_t kCodeC = 5003;

/** A looper that records what reaches itself. */
class RecordingLooper : public XLooper
{
public:
    RecordingLooper(const char* name, Journal& journalIn) : XLooper(name), journal(journalIn) {}
    void MessageReceived(XMessage& message) override
    {
        journal.Add(GetName().CStr() + std::string(":msg:") + std::to_string(message.GetWhat()));
        XLooper::MessageReceived(message);
    }

private:
    Journal& journal;
};

/** Reads one reply block from a port and returns its code, 0 when none comes. */
uint32_t ReadReplyCode(int32_t port)
{
    XMemory block;
    XMessage reply;
    if (ReadPort(port, nullptr, &block, 0) != 0 || reply.Unflatten(block.GetData(), block.GetLength()) != 0)
        return 0;
    return reply.GetWhat();
}
} // namespace

TEST(XLooperTest, DispatchesByTokenAndSendsUnknownTargetsToThePreferredHandler)
{
    Journal journal;
    RecordingLooper looper("l", journal);
    looper.StartupInit();
    RecordingHandler target("target", journal), preferred("preferred", journal), gone("gone", journal);
    looper.AddHandler(&target);
    looper.AddHandler(&gone);
    const int32_t goneToken = gone.GetToken();
    looper.RemoveHandler(&gone);

    XMessage a(kCodeA, 0), b(kCodeB, 0), c(kCodeC, 0);
    target.PostMessage(&a);
    looper.PostMessage(&b);                            // no target
    c.SendToPort(looper.GetPort(), goneToken, -1, -1); // a handler that left
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), (std::vector<std::string>{"target:msg:5001", "l:msg:5002", "l:msg:5003"}));

    looper.SetPreferredHandler(&preferred);
    looper.PostMessage(&b);
    c.SendToPort(looper.GetPort(), goneToken, -1, -1);
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), (std::vector<std::string>{"preferred:msg:5002", "preferred:msg:5003"}));

    looper.RemoveHandler(&preferred); // not attached: nothing, and it stays preferred
    looper.AddHandler(&preferred);
    looper.RemoveHandler(&preferred);
    EXPECT_EQ(looper.GetPreferredHandler(), nullptr);
}

TEST(XLooperTest, PostToHandlerCarriesTheRepliersPortAndToken)
{
    XLooper looper("l"), other("other");
    XHandler target("target"), replier("replier"), unattached("unattached");
    looper.AddHandler(&target);
    other.AddHandler(&replier);
    struct Route
    {
        int32_t port = 0;
        int32_t token = 0;
    } route;
    target.AddDelegate(
        kCodeA,
        [](void* r, XMessage& m) {
            *static_cast<Route*>(r) = {m.GetReplyPort(), m.GetReplyToken()};
        },
        &route);
    XMessage a(kCodeA, 0);

    looper.PostToHandler(&a, &target, &replier);
    looper.LoopOnce(false);
    EXPECT_EQ(route.port, other.GetPort());
    EXPECT_EQ(route.token, replier.GetToken());

    looper.PostToHandler(&a, &target, &unattached);
    looper.LoopOnce(false);
    EXPECT_EQ(route.port, -1);
    EXPECT_EQ(route.token, -1);
}

TEST(XLooperTest, LeaveLoopEndsTheTurnAfterTheMessagesBeforeIt)
{
    Journal journal;
    RecordingLooper looper("l", journal);
    looper.StartupInit();
    XMessage a(kCodeA, 0), leave(XMsgCode::kLeaveLoop, 0), b(kCodeB, 0);
    looper.PostMessage(&a);
    looper.PostMessage(&leave);
    looper.PostMessage(&b);

    EXPECT_FALSE(looper.LoopOnce(false));
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"l:msg:5001"});
    EXPECT_TRUE(looper.LoopOnce(false)); // the later message stayed queued
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"l:msg:5002"});
}

TEST(XLooperTest, QuitRequestAsksTheLooperAndQuitDeletesItAtTheEndOfTheTurn)
{
    Journal journal;
    std::atomic<bool> destroyed{false};
    auto* looper = new ObservedLooper("quitting", destroyed);
    looper->StartupInit();
    RecordingHandler handler("h", journal);
    looper->AddHandler(&handler);
    XMessage quit(XMsgCode::kQuitRequested, 0), a(kCodeA, 0);

    looper->allowQuit.store(false);
    looper->PostMessage(&quit);
    handler.PostMessage(&a);
    EXPECT_TRUE(looper->LoopOnce(false)); // refused: the turn ends, the later message waits
    EXPECT_EQ(journal.Count(), 0u);
    EXPECT_TRUE(looper->LoopOnce(false));
    EXPECT_EQ(journal.Take(), std::vector<std::string>{"h:msg:5001"});

    looper->allowQuit.store(true);
    looper->PostMessage(&quit);
    EXPECT_FALSE(looper->LoopOnce(false));
    EXPECT_TRUE(destroyed.load());
    EXPECT_EQ(handler.GetLooper(), nullptr); // the handler outlives its looper safely
}

TEST(XLooperTest, QuitFromInsideADispatchStopsTheTurnAndDeletesTheLooperAfterIt)
{
    Journal journal;
    std::atomic<bool> destroyed{false};
    auto* looper = new ObservedLooper("self quit", destroyed);
    looper->StartupInit();
    RecordingHandler handler("h", journal);
    looper->AddHandler(&handler);
    handler.AddDelegate(
        kCodeA, [](void* l, XMessage&) { static_cast<XLooper*>(l)->Quit(); }, looper);
    XMessage a(kCodeA, 0), b(kCodeB, 0);
    handler.PostMessage(&a);
    handler.PostMessage(&b);

    EXPECT_FALSE(looper->LoopOnce(false));
    EXPECT_TRUE(destroyed.load());
    EXPECT_EQ(journal.Count(), 0u); // the message behind the quit was not dispatched
}

TEST(XLooperTest, BlockThatDoesNotRebuildIsDroppedAndItsOwedReplyIsSent)
{
    Journal journal;
    RecordingLooper looper("l", journal);
    looper.StartupInit();
    const int32_t replyPort = CreatePort("reply", 8);

    // A current header that owes a reply, with a total size beyond the block.
    int32_t header[7] = {64,       static_cast<int32_t>(kCodeA), 0x8 | 0x4 | 0x1, 0, looper.GetToken(), 77,
                         replyPort};
    ASSERT_EQ(WritePort(looper.GetPort(), kCodeA, header, sizeof header), 0);
    // Too short for any header: nothing to answer.
    ASSERT_EQ(WritePort(looper.GetPort(), kCodeB, header, 6), 0);

    EXPECT_TRUE(looper.LoopOnce(false));
    EXPECT_EQ(journal.Count(), 0u);
    EXPECT_EQ(ReadReplyCode(replyPort), XMsgCode::kNoReply);
    EXPECT_EQ(ReadReplyCode(replyPort), 0u);
    DeletePort(replyPort);
}

TEST(XLooperTest, DestructionAnswersMessagesThatStillOweAReply)
{
    const int32_t replyPort = CreatePort("reply", 8);
    {
        Journal journal;
        RecordingLooper looper("l", journal);
        XMessage request(kCodeA, 0);
        request.SendToPort(looper.GetPort(), -1, replyPort, -1);
    }
    EXPECT_EQ(ReadReplyCode(replyPort), XMsgCode::kNoReply);
    DeletePort(replyPort);
}

TEST(XLooperTest, FindsLoopersAndHandlersByNameAndPath)
{
    Journal journal;
    XLooper first("Alpha"), second("Beta");
    RecordingHandler handler("Worker", journal);
    second.AddHandler(&handler);

    EXPECT_EQ(FindLooperByName("Alpha"), &first);
    EXPECT_EQ(FindLooperByName("alpha"), nullptr); // case counts
    EXPECT_EQ(FindLooperByPort(second.GetPort()), &second);
    EXPECT_EQ(second.FindHandlerByName("worker"), &handler);
    EXPECT_EQ(second.FindHandlerByName(""), nullptr);
    EXPECT_EQ(second.FindHandler(handler.GetToken()), &handler);

    struct Case
    {
        const char* path;
        XHandler* handler;
        XLooper* looper;
    };
    const Case cases[] = {
        {"Beta\\WORKER", &handler, &second}, {"Beta", &second, &second},
        {"Beta\\", &second, &second},        {"Beta\\nobody", nullptr, &second},
        {"Gamma\\Worker", nullptr, nullptr},
    };
    for (const Case& c : cases)
    {
        XLooper* found = reinterpret_cast<XLooper*>(1);
        EXPECT_EQ(FindHandlerByPath(c.path, &found), c.handler) << c.path;
        EXPECT_EQ(found, c.looper) << c.path;
    }

    UnlinkLooper(&first);
    EXPECT_EQ(FindLooperByName("Alpha"), nullptr);
    UnlinkLooper(&first); // not in the list: nothing
}

TEST(XLooperTest, LooperThreadDispatchesOnItsOwnThreadAndQuitRequestEndsIt)
{
    Journal journal;
    std::atomic<bool> destroyed{false};
    auto* looper = new ObservedLooper("worker", destroyed);
    RecordingHandler handler("h", journal);
    looper->AddHandler(&handler);
    const int32_t threadId = looper->Run();
    ASSERT_NE(threadId, 0);
    EXPECT_EQ(looper->Run(), threadId); // already running

    XMessage a(kCodeA, 0);
    handler.PostMessage(&a);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return journal.Count() == 1; }, kWaitMs));
    EXPECT_EQ(handler.lastThread.load(), threadId);

    looper->PostCode(XMsgCode::kQuitRequested);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return destroyed.load(); }, kWaitMs));
}

TEST(XLooperTest, DestroyingARunningLooperFromAnotherThreadEndsItsThread)
{
    Journal journal;
    std::atomic<bool> destroyed{false};
    auto* looper = new ObservedLooper("idle", destroyed);
    RecordingHandler handler("h", journal);
    looper->AddHandler(&handler);
    ASSERT_NE(looper->Run(), 0);
    XMessage a(kCodeA, 0);
    handler.PostMessage(&a);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return journal.Count() == 1; }, kWaitMs));

    delete looper; // the thread waits for a message or 500 s: it must wake and leave
    EXPECT_TRUE(destroyed.load());
    EXPECT_EQ(handler.GetLooper(), nullptr);
}

TEST(XLooperTest, ALooperDestroyedAtOnceEndsItsThreadAlsoWithTheClockAtAStandstill)
{
    // The thread's start-up pause counts in the clock's time: slowed this far it would last for days.
    struct Destruction
    {
        std::unique_ptr<XLooper> looper = std::make_unique<XLooper>("paused");
        std::atomic<bool> done{false};
    };
    const double savedScale = PlatformClock::GetTimeScale();
    PlatformClock::SetTimeScale(1e-9);
    auto destruction = std::make_shared<Destruction>();
    ASSERT_NE(destruction->looper->Run(), 0);
    std::thread destroyer(
        [destruction]
        {
            destruction->looper.reset();
            destruction->done.store(true);
        });
    const bool ended = TestSupport::WaitUntil([&] { return destruction->done.load(); }, kWaitMs);
    PlatformClock::SetTimeScale(savedScale);
    EXPECT_TRUE(ended) << "the destruction waited for the start-up pause";
    if (ended)
        destroyer.join();
    else
        destroyer.detach(); // left to the process's end rather than hanging the test
}

TEST(XLooperTest, QuitFromAnotherThreadEndsTheLoopAndQuitAllLoopersEmptiesTheList)
{
    std::atomic<bool> destroyedA{false}, destroyedB{false};
    auto* a = new ObservedLooper("A", destroyedA);
    auto* b = new ObservedLooper("B", destroyedB);
    ASSERT_NE(a->Run(), 0);
    ASSERT_NE(b->Run(), 0);

    QuitAllLoopers(b);
    EXPECT_EQ(FindLooperByName("A"), nullptr);
    EXPECT_EQ(FindLooperByName("B"), nullptr);
    EXPECT_FALSE(destroyedA.load()); // ended, not deleted: its owner still deletes it
    delete a;
    delete b; // the excepted looper still runs: its destruction stops it
    EXPECT_TRUE(destroyedA.load());
    EXPECT_TRUE(destroyedB.load());
}
