#include "core/XThread.h"

#include "core/IThreadCallback.h"
#include "core/LongArray.h"
#include "core/ThreadServices.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "support/TestSupport.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kWaitMs = 20000;

/** Snapshot of one registry record, taken under the registry's lock. */
struct RecordCopy
{
    std::string name;
    int32_t level = -1;
    int32_t threadId = -1;
};

RecordCopy RecordAt(int index)
{
    auto& registry = GetThreadRegistry();
    XSmartLock hold(registry);
    RecordCopy copy;
    if (const XThreadInfo* info = registry.At(index))
        copy = {info->name, info->level, info->threadId};
    return copy;
}

int RegistryCount()
{
    auto& registry = GetThreadRegistry();
    XSmartLock hold(registry);
    return registry.GetCount();
}

/** Runs until asked to stop; records what the thread saw. */
struct PollingCallback : IThreadCallback
{
    std::atomic<int32_t> seenThreadId{0};
    std::atomic<bool> started{false};
    std::atomic<bool> exited{false};
    std::atomic<bool> runEndedBeforeExit{false};
    std::atomic<bool> runEnded{false};
    void* seenArgument = nullptr;

    void Run(XThread* thread, void* argument) override
    {
        seenArgument = argument;
        seenThreadId.store(CurrentThreadId());
        started.store(true);
        while (!thread->IsStopRequested())
            XSleep(1);
        runEnded.store(true);
    }
    void OnExit(XThread*, void*) override
    {
        runEndedBeforeExit.store(runEnded.load());
        exited.store(true);
    }
};

uint32_t CountUp(void* argument)
{
    static_cast<std::atomic<int>*>(argument)->fetch_add(1);
    return 0;
}
} // namespace

TEST(XThreadTest, FirstStartRegistersMainAtIndexZero)
{
    std::atomic<int> runs{0};
    const int32_t id = StartNamedThread(CountUp, 2, &runs, "Worker");
    ASSERT_NE(id, 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return runs.load() == 1; }, kWaitMs));

    const RecordCopy main = RecordAt(0);
    EXPECT_EQ(main.name, "Main");
    EXPECT_EQ(main.level, 3);
    EXPECT_EQ(main.threadId, GetMainThreadId());
    EXPECT_NE(main.threadId, 0);

    const RecordCopy worker = RecordAt(RegistryCount() - 1);
    EXPECT_EQ(worker.name, "Worker");
    EXPECT_EQ(worker.level, 2);
    EXPECT_EQ(worker.threadId, id);
}

TEST(XThreadTest, LongNamesAreCutAndTerminated)
{
    const std::string longName(200, 'n');
    XThread thread(false, longName.c_str());
    ASSERT_NE(thread.GetInfo(), nullptr);
    EXPECT_EQ(std::strlen(thread.GetInfo()->name), 127u);
    EXPECT_EQ(RecordAt(RegistryCount() - 1).name, std::string(127, 'n'));
}

TEST(XThreadTest, RunsTheCallbackUntilDestroyedThenCallsTheExitHook)
{
    PollingCallback callback;
    int argument = 42;
    int32_t id = 0;
    {
        XThread thread(false, "Poller");
        id = thread.Start(4, &callback, &argument);
        ASSERT_NE(id, 0);
        EXPECT_TRUE(thread.IsRunning());
        EXPECT_EQ(thread.GetThreadId(), id);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return callback.started.load(); }, kWaitMs));
        EXPECT_EQ(callback.seenThreadId.load(), id);
        EXPECT_EQ(thread.GetInfo()->threadId, id);
        EXPECT_EQ(thread.GetInfo()->level, 4);
        // The destructor asks the thread to stop and waits for it.
    }
    EXPECT_TRUE(callback.exited.load());
    EXPECT_TRUE(callback.runEndedBeforeExit.load());
    EXPECT_EQ(callback.seenArgument, &argument);
}

TEST(XThreadTest, FlagsFollowTheLifeCycleAndTheThreadCanRunAgain)
{
    PollingCallback first;
    XThread thread(false, "Twice");
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.GetThreadId(), 0);
    ASSERT_NE(thread.Start(3, &first, nullptr), 0);
    EXPECT_EQ(thread.Start(3, &first, nullptr), 0) << "a running thread is not started twice";
    thread.RequestStop();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return thread.IsFinished() && !thread.IsRunning(); }, kWaitMs));
    EXPECT_FALSE(thread.IsStopRequested()) << "the stop flag is cleared when the thread ends";

    PollingCallback second;
    ASSERT_NE(thread.Start(3, &second, nullptr), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return second.started.load(); }, kWaitMs));
}

TEST(XThreadTest, AutoDeleteThreadDeletesItself)
{
    static std::atomic<bool> destroyed{false};
    struct SelfDeleting : XThread
    {
        SelfDeleting() : XThread(true, "SelfDeleting") {}
        ~SelfDeleting() override { destroyed.store(true); }
        void Run() override { XSleep(5); }
    };
    auto* thread = new SelfDeleting();
    ASSERT_NE(thread->Start(3, nullptr, nullptr), 0);
    EXPECT_TRUE(TestSupport::WaitUntil([] { return destroyed.load(); }, kWaitMs));
}

TEST(XThreadTest, ExitCurrentThreadEndsOnlyTheCallingThread)
{
    EXPECT_EQ(ExitCurrentThread(CurrentThreadId() + 1), XResult::kFailed);

    static std::atomic<bool> pastExit{false};
    static std::atomic<bool> unwound{false};
    struct Exiting : XThread
    {
        Exiting() : XThread(false, "Exiting") {}
        ~Exiting() override { StopAndWait(); }
        void Run() override
        {
            struct Guard
            {
                ~Guard() { unwound.store(true); }
            } guard;
            ExitCurrentThread(CurrentThreadId());
            pastExit.store(true);
        }
    };
    Exiting thread;
    ASSERT_NE(thread.Start(3, nullptr, nullptr), 0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return thread.IsFinished(); }, kWaitMs));
    EXPECT_TRUE(unwound.load());
    EXPECT_FALSE(pastExit.load());
}

TEST(XThreadTest, ListProcessThreadsSeesRunningThreads)
{
    PollingCallback callback;
    XThread thread(false, "Listed");
    const int32_t id = thread.Start(3, &callback, nullptr);
    ASSERT_NE(id, 0);

    LongArray ids;
    ids.Add(12345);
    ASSERT_EQ(ListProcessThreads(PlatformThreads::CurrentProcessId(), ids), 0);
    bool foundSelf = false;
    bool foundStarted = false;
    bool foundStale = false;
    for (int i = 0; i < ids.GetCount(); ++i)
    {
        foundSelf |= ids.GetAt(i) == CurrentThreadId();
        foundStarted |= ids.GetAt(i) == id;
        foundStale |= ids.GetAt(i) == 12345;
    }
    EXPECT_TRUE(foundSelf);
    EXPECT_TRUE(foundStarted);
    EXPECT_FALSE(foundStale);

    EXPECT_EQ(ListProcessThreads(-7, ids), -1);
}

TEST(XThreadTest, PriorityLevelTable)
{
    using Class = PlatformThreads::PriorityClass;
    struct Case
    {
        int32_t level;
        int32_t normal;
        int32_t high;
        int32_t realtime;
    };
    const Case cases[] = {{0, -2, -2, -15}, {1, -1, -1, -15}, {2, 0, 0, 0}, {3, 0, 0, -14}, {4, 1, 1, -2},
                          {5, 15, 15, 15},  {6, 2, 14, 14},   {7, 0, 0, 0}, {-1, 0, 0, 0}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(MapThreadPriorityForClass(c.level, Class::normal), c.normal) << "level " << c.level;
        EXPECT_EQ(MapThreadPriorityForClass(c.level, Class::high), c.high) << "level " << c.level;
        EXPECT_EQ(MapThreadPriorityForClass(c.level, Class::realtime), c.realtime) << "level " << c.level;
    }
}

TEST(XThreadTest, PriorityIsBestEffortAndNeverFailsAStart)
{
    struct NiceProbe
    {
        std::atomic<int> nice{-100};
    };
    auto probe = [](void* argument) -> uint32_t
    {
        static_cast<NiceProbe*>(argument)->nice.store(PlatformThreads::GetCurrentThreadNiceValue());
        return 0;
    };
    NiceProbe low;
    NiceProbe critical;
    ASSERT_NE(StartNamedThread(probe, 0, &low, "Low"), 0);
    ASSERT_NE(StartNamedThread(probe, 5, &critical, "Critical"), 0);
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&] { return low.nice.load() != -100 && critical.nice.load() != -100; }, kWaitMs));
    // Lowering always works; raising needs privileges, so only the start itself is certain.
    EXPECT_GE(low.nice.load(), PlatformThreads::NiceValueFor(MapThreadPriority(0)));
}

TEST(XThreadTest, RegistryStaysWholeWhenThreadsStartFromManyThreads)
{
    constexpr int kStarters = 8;
    constexpr int kThreadsEach = 10;
    RegisterMainThread();
    const int before = RegistryCount();
    std::atomic<int> runs{0};
    std::vector<std::thread> starters;
    for (int s = 0; s < kStarters; ++s)
        starters.emplace_back(
            [&runs, s]
            {
                for (int i = 0; i < kThreadsEach; ++i)
                {
                    const std::string name = "Starter" + std::to_string(s) + "." + std::to_string(i);
                    if (i % 2 == 0)
                        StartNamedThread(CountUp, 3, &runs, name.c_str());
                    else
                    {
                        XThread thread(false, name.c_str());
                        thread.Start(3, nullptr, nullptr);
                        runs.fetch_add(1);
                    }
                }
            });
    for (auto& starter : starters)
        starter.join();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return runs.load() == kStarters * kThreadsEach; }, kWaitMs));

    EXPECT_EQ(RegistryCount(), before + kStarters * kThreadsEach);
    EXPECT_EQ(RecordAt(0).name, "Main");
    auto& registry = GetThreadRegistry();
    XSmartLock hold(registry);
    for (int i = before; i < registry.GetCount(); ++i)
    {
        const XThreadInfo* info = registry.At(i);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(std::string(info->name).rfind("Starter", 0), 0u);
        EXPECT_NE(info->threadId, 0);
    }
}
