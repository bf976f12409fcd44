#include "core/XSemaphore.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(XSemaphoreTest, WaitZeroReportsTimeOutUntilSignalled)
{
    XSemaphore semaphore(10);
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kTimedOut);
    semaphore.Signal();
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kSignalled);
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kTimedOut);
}

TEST(XSemaphoreTest, ReleaseBeyondTheMaximumHasNoEffect)
{
    XSemaphore semaphore(2);
    for (int i = 0; i < 5; ++i)
        semaphore.Signal();
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kSignalled);
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kSignalled);
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kTimedOut);
}

TEST(XSemaphoreTest, TimedWaitEndsWithTimeOut)
{
    XSemaphore semaphore(1);
    EXPECT_EQ(semaphore.Wait(20), XSemaphore::kTimedOut);
}

TEST(XSemaphoreTest, CopySharesTheCountAndOutlivesTheOwner)
{
    auto owner = std::make_unique<XSemaphore>(5);
    XSemaphore copy(*owner);
    EXPECT_TRUE(owner->OwnsHandle());
    EXPECT_FALSE(copy.OwnsHandle());
    owner->Signal();
    EXPECT_EQ(copy.Wait(0), XSemaphore::kSignalled);
    owner.reset();
    copy.Signal();
    EXPECT_EQ(copy.Wait(0), XSemaphore::kSignalled);
}

TEST(XSemaphoreTest, EverySignalWakesOneWaiterAcrossThreads)
{
    constexpr int kProducers = 3;
    constexpr int kItemsEach = 200;
    XSemaphore semaphore(kProducers * kItemsEach);
    std::atomic<int> taken{0};
    std::thread consumer(
        [&]
        {
            while (taken.load() < kProducers * kItemsEach)
                if (semaphore.Wait(XSemaphore::kWaitForever) == XSemaphore::kSignalled)
                    taken.fetch_add(1);
        });
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)
        producers.emplace_back(
            [&]
            {
                for (int i = 0; i < kItemsEach; ++i)
                    semaphore.Signal();
            });
    for (auto& producer : producers)
        producer.join();
    consumer.join();
    EXPECT_EQ(taken.load(), kProducers * kItemsEach);
    EXPECT_EQ(semaphore.Wait(0), XSemaphore::kTimedOut);
}
