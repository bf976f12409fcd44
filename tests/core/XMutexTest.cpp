#include "core/XMutex.h"

#include "core/XSmartLock.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(XMutexTest, IsRecursiveAndCountsHolds)
{
    XMutex mutex;
    mutex.Lock();
    mutex.Lock();
    EXPECT_EQ(mutex.GetHoldCount(), 2);
    EXPECT_TRUE(mutex.IsLocked());
    mutex.Unlock();
    EXPECT_TRUE(mutex.IsLocked());
    mutex.Unlock();
    EXPECT_FALSE(mutex.IsLocked());
}

TEST(XMutexTest, UnlockAtHoldCountZeroKeepsZero)
{
    XMutex mutex;
    mutex.Unlock();
    EXPECT_EQ(mutex.GetHoldCount(), 0);
    // Still usable afterwards.
    mutex.Lock();
    EXPECT_EQ(mutex.GetHoldCount(), 1);
    mutex.Unlock();
    EXPECT_EQ(mutex.GetHoldCount(), 0);
}

TEST(XMutexTest, UnlockByAnotherThreadLeavesTheHoldAlone)
{
    XMutex mutex;
    mutex.Lock();
    std::thread([&mutex] { mutex.Unlock(); }).join();
    EXPECT_EQ(mutex.GetHoldCount(), 1);
    mutex.Unlock();
    EXPECT_FALSE(mutex.IsLocked());
}

TEST(XMutexTest, SmartLockHoldsForItsScopeAndAcceptsNull)
{
    XMutex mutex;
    {
        XSmartLock hold(mutex);
        EXPECT_EQ(mutex.GetHoldCount(), 1);
        {
            XSmartLock again(&mutex);
            EXPECT_EQ(mutex.GetHoldCount(), 2);
        }
        EXPECT_EQ(mutex.GetHoldCount(), 1);
    }
    EXPECT_FALSE(mutex.IsLocked());
    XSmartLock nothing(nullptr);
}

TEST(XMutexTest, SerialisesThreads)
{
    XMutex mutex;
    int counter = 0; // guarded by mutex
    constexpr int kThreads = 4;
    constexpr int kRounds = 5000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [&]
            {
                for (int i = 0; i < kRounds; ++i)
                {
                    XSmartLock hold(mutex);
                    XSmartLock nested(mutex);
                    ++counter;
                }
            });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, kThreads * kRounds);
    EXPECT_FALSE(mutex.IsLocked());
}
