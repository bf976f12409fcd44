#include "LooperTestSupport.h"
#include "core/XLooper.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

using namespace LooperTest;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kStartTick = 100000;
using Entries = std::vector<std::string>;

/** A looper driven by hand on the test's thread with a clock that the test moves. */
class XLooperTimerTest : public ::testing::Test
{
protected:
    XLooperTimerTest() : clock(kStartTick), looper("timers")
    {
        looper.SetTickClock(&clock);
        looper.StartupInit();
    }

    std::unique_ptr<RecordingHandler> MakeHandler(const char* name)
    {
        auto handler = std::make_unique<RecordingHandler>(name, journal);
        looper.AddHandler(handler.get());
        return handler;
    }

    /** Moves the clock to start + ms and runs one turn; returns what fired. */
    Entries TurnAt(uint32_t ms)
    {
        clock.Set(kStartTick + ms);
        looper.LoopOnce(false);
        return journal.Take();
    }

    FakeClock clock;
    Journal journal;
    XLooper looper;
};
} // namespace

TEST_F(XLooperTimerTest, EqualTimersFireInTheOrderSetThenInReverseEachRound)
{
    auto a = MakeHandler("a"), b = MakeHandler("b");
    looper.SetTimer(a.get(), 1, 100, false);
    looper.SetTimer(b.get(), 1, 100, false);

    EXPECT_EQ(TurnAt(99), Entries{});
    EXPECT_EQ(TurnAt(100), (Entries{"a:timer:1", "b:timer:1"}));
    EXPECT_EQ(TurnAt(200), (Entries{"b:timer:1", "a:timer:1"}));
    EXPECT_EQ(TurnAt(300), (Entries{"a:timer:1", "b:timer:1"}));
}

TEST_F(XLooperTimerTest, NextDueTickCountsFromTheTickTheTimerStepStarted)
{
    auto a = MakeHandler("a");
    looper.SetTimer(a.get(), 7, 100, false);
    EXPECT_EQ(TurnAt(150), Entries{"a:timer:7"}); // late: next due 250, not 200
    EXPECT_EQ(TurnAt(249), Entries{});
    EXPECT_EQ(TurnAt(250), Entries{"a:timer:7"});
    EXPECT_EQ(TurnAt(1000), Entries{"a:timer:7"}); // fires once however late
}

TEST_F(XLooperTimerTest, OneShotIsGoneBeforeItsOnTimer)
{
    auto a = MakeHandler("a");
    bool foundWhileFiring = true;
    a->onTimer = [&](int32_t id) { foundWhileFiring = looper.RemoveTimer(a.get(), id); };
    looper.SetTimer(a.get(), 3, 10, true);

    EXPECT_EQ(TurnAt(10), Entries{"a:timer:3"});
    EXPECT_FALSE(foundWhileFiring);
    EXPECT_EQ(TurnAt(20), Entries{});
    EXPECT_EQ(TurnAt(1000), Entries{});
}

TEST_F(XLooperTimerTest, SettingATimerAgainReplacesItWithTheNewPeriod)
{
    auto a = MakeHandler("a");
    looper.SetTimer(a.get(), 1, 100, false);
    looper.SetTimer(a.get(), 1, 30, false);
    looper.SetTimer(a.get(), 2, 1000, false); // another id is another timer

    EXPECT_EQ(TurnAt(30), Entries{"a:timer:1"});
    EXPECT_EQ(TurnAt(60), Entries{"a:timer:1"});
    EXPECT_EQ(TurnAt(90), Entries{"a:timer:1"});
    EXPECT_EQ(TurnAt(100), Entries{}); // the first period is gone
}

TEST_F(XLooperTimerTest, KillTimerFromAnotherThreadActsInTheNextTurn)
{
    auto a = MakeHandler("a");
    looper.SetTimer(a.get(), 1, 50, false);
    bool killed = false;
    std::thread other([&] { killed = looper.KillTimer(a.get(), 1); });
    other.join();
    EXPECT_TRUE(killed);

    EXPECT_EQ(TurnAt(10), Entries{}); // the removal is dispatched in this turn
    EXPECT_EQ(TurnAt(50), Entries{});
    EXPECT_EQ(TurnAt(500), Entries{});

    XLooper elsewhere("elsewhere");
    EXPECT_FALSE(elsewhere.KillTimer(a.get(), 1)); // not its handler
}

TEST_F(XLooperTimerTest, KillTimerReachesTheLooperEvenWithAPreferredHandler)
{
    auto a = MakeHandler("a"), preferred = MakeHandler("preferred");
    looper.SetPreferredHandler(preferred.get());
    looper.SetTimer(a.get(), 1, 50, false);
    looper.KillTimer(a.get(), 1);
    EXPECT_EQ(TurnAt(10), Entries{});
    EXPECT_EQ(TurnAt(50), Entries{});
}

TEST_F(XLooperTimerTest, TimerOperationsInsideOwnOnTimerKeepTheirDocumentedEffects)
{
    struct Case
    {
        const char* what;
        std::function<void(XLooper&, XHandler*)> action;
        Entries secondRound;
    };
    const Case cases[] = {
        // Off the list while it fires: RemoveTimer misses it and it is put back.
        {"RemoveTimer", [](XLooper& l, XHandler* h) { l.RemoveTimer(h, 1); }, {"a:timer:1"}},
        // The removal is posted and dispatched later in the same turn.
        {"KillTimer", [](XLooper& l, XHandler* h) { l.KillTimer(h, 1); }, {}},
        // A second timer with the same handler and id joins the one that is put back.
        {"SetTimer",
         [](XLooper& l, XHandler* h) { l.SetTimer(h, 1, 100, false); },
         {"a:timer:1", "a:timer:1"}},
        // Removing all of the handler's timers includes the one that is firing.
        {"RemoveAllTimers", [](XLooper& l, XHandler* h) { l.RemoveAllTimers(h); }, {}},
        // Cancelled at once, firing or not.
        {"CancelTimer", [](XLooper& l, XHandler* h) { l.CancelTimer(h, 1); }, {}},
    };
    uint32_t base = 0;
    for (const Case& c : cases)
    {
        auto a = MakeHandler("a");
        bool first = true;
        a->onTimer = [&](int32_t)
        {
            if (std::exchange(first, false))
                c.action(looper, a.get());
        };
        looper.SetTimer(a.get(), 1, 100, false);
        EXPECT_EQ(TurnAt(base + 100), Entries{"a:timer:1"}) << c.what;
        EXPECT_EQ(TurnAt(base + 200), c.secondRound) << c.what;
        looper.RemoveAllTimers(a.get());
        base += 1000;
    }
}

TEST_F(XLooperTimerTest, CancellingAOneShotThatFiredLeavesOneSetAgainWithTheSameIdAlone)
{
    auto a = MakeHandler("a");
    looper.SetTimer(a.get(), 3, 10, true);
    EXPECT_EQ(TurnAt(10), Entries{"a:timer:3"});
    EXPECT_FALSE(looper.CancelTimer(a.get(), 3));
    looper.SetTimer(a.get(), 3, 10, true);
    EXPECT_EQ(TurnAt(15), Entries{}); // a turn that dispatches whatever was posted
    EXPECT_EQ(TurnAt(20), Entries{"a:timer:3"});

    looper.SetTimer(a.get(), 3, 10, true);
    EXPECT_TRUE(looper.CancelTimer(a.get(), 3));
    EXPECT_EQ(TurnAt(1000), Entries{});
}

TEST_F(XLooperTimerTest, TimersKeepTheirOrderWhenTheClockWraps)
{
    auto a = MakeHandler("a"), b = MakeHandler("b"), c = MakeHandler("c");
    const uint32_t nearWrap = 0xFFFFFFF0u;
    clock.Set(nearWrap);
    looper.SetTimer(a.get(), 1, 10, true);  // due 0xFFFFFFFA
    looper.SetTimer(b.get(), 1, 40, true);  // due 0x00000018, past the wrap
    looper.SetTimer(c.get(), 1, 20, false); // due 0x00000004

    clock.Set(nearWrap + 8); // 0xFFFFFFF8: nothing past the wrap is due yet
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), Entries{});
    clock.Set(nearWrap + 12);
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), Entries{"a:timer:1"});
    clock.Set(nearWrap + 50); // 0x22: c and b, in due order; c's next due is 0x36
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), (Entries{"c:timer:1", "b:timer:1"}));
    clock.Set(nearWrap + 69);
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), Entries{});
    clock.Set(nearWrap + 70);
    looper.LoopOnce(false);
    EXPECT_EQ(journal.Take(), Entries{"c:timer:1"});
}

TEST_F(XLooperTimerTest, HandlerDestroyedInsideAnotherHandlersOnTimerIsNeverTouchedAgain)
{
    // b fires first, then a deletes b while b's periodic timer waits to be put back; a deletes
    // itself as well. ASan reports any later read of either.
    auto b = MakeHandler("b");
    RecordingHandler* a = MakeHandler("a").release();
    RecordingHandler* c = MakeHandler("c").release();
    looper.SetTimer(b.get(), 1, 100, false);
    looper.SetTimer(a, 1, 100, false);
    looper.SetTimer(c, 1, 100, false);
    a->onTimer = [&](int32_t)
    {
        b.reset();
        delete c; // c's timer is still on the list, due in this very step
        delete a;
    };
    EXPECT_EQ(TurnAt(100), (Entries{"b:timer:1", "a:timer:1"}));
    EXPECT_EQ(TurnAt(200), Entries{});
}

TEST_F(XLooperTimerTest, StaleTimerRemovalOfADestroyedHandlerIsIgnored)
{
    auto a = MakeHandler("a");
    looper.SetTimer(a.get(), 1, 50, false);
    looper.KillTimer(a.get(), 1);
    a.reset(); // the 'remT' names a handler that is gone
    auto b = MakeHandler("b");
    looper.SetTimer(b.get(), 1, 50, false);
    EXPECT_EQ(TurnAt(50), Entries{"b:timer:1"});
}

TEST_F(XLooperTimerTest, AnotherThreadSetsAndCancelsTimersWithoutWaitingForTheLoopersLock)
{
    // A dispatch holds the looper's lock and may take a parameter lock; a view that sets a timer
    // from a parameter notification holds that parameter lock. Waiting for the looper's lock there
    // would take the two in the reverse order.
    auto a = MakeHandler("a");
    looper.Lock();
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread other(
        [&]
        {
            looper.SetTimer(a.get(), 1, 10, true);
            looper.SetTimer(a.get(), 2, 10, true);
            looper.CancelTimer(a.get(), 2);
            done.set_value();
        });
    const bool inTime = finished.wait_for(std::chrono::milliseconds(kWaitMs)) == std::future_status::ready;
    looper.Unlock();
    other.join();
    EXPECT_TRUE(inTime);
    EXPECT_EQ(TurnAt(10), Entries{"a:timer:1"});
}

TEST(XLooperTimerThreadTest, TimerSetFromAnotherThreadWakesAWaitingLooper)
{
    Journal journal;
    auto looper = std::make_unique<XLooper>("waiting");
    RecordingHandler handler("h", journal);
    looper->AddHandler(&handler);
    ASSERT_NE(looper->Run(), 0);
    // Let the thread settle into its wait for a message (500 s without timers).
    XMessage ping(6000, 0);
    handler.PostMessage(&ping);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return journal.Take().size() == 1; }, kWaitMs));
    XSleep(50);

    looper->SetTimer(&handler, 1, 10, true);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return journal.Count() == 1; }, kWaitMs));
    EXPECT_EQ(handler.lastThread.load(), looper->GetThreadId());
}

TEST(XLooperTimerThreadTest, TimersSetAndKilledFromManyThreadsWhileTheLooperRuns)
{
    constexpr int kThreads = 3;
    constexpr int kRounds = 100;
    Journal journal;
    auto looper = std::make_unique<XLooper>("busy");
    std::vector<std::unique_ptr<RecordingHandler>> handlers;
    for (int i = 0; i < kThreads; ++i)
    {
        handlers.push_back(std::make_unique<RecordingHandler>("h", journal));
        looper->AddHandler(handlers.back().get());
    }
    ASSERT_NE(looper->Run(), 0);

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [&, t]
            {
                XHandler* h = handlers[t].get();
                for (int i = 0; i < kRounds; ++i)
                {
                    looper->SetTimer(h, i % 4, 1, i % 2 == 0);
                    if (i % 3 == 0)
                        looper->KillTimer(h, i % 4);
                    XMessage ping(6000 + t, 0);
                    h->PostMessage(&ping);
                }
            });
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return journal.Count() >= kThreads * kRounds; }, kWaitMs));

    // A handler destroyed on another thread while its timers may be firing.
    looper->SetTimer(handlers[0].get(), 9, 0, false);
    handlers[0].reset();
    looper.reset();
}
