#include "core/XMemPool.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <thread>
#include <vector>

TEST(XMemPoolTest, ByteLimitOfOneStrideHandsOutOneBlockUntilFreed)
{
    XMemPool pool(24, 1, 24, "one");
    ASSERT_EQ(pool.GetStride(), 24);
    void* first = pool.Alloc(24);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(pool.Alloc(24), nullptr);
    pool.Free(first, 24);
    void* again = pool.Alloc(24);
    EXPECT_EQ(again, first);
    pool.Free(again, 24);
    EXPECT_EQ(pool.GetBlocksInUse(), 0);
}

TEST(XMemPoolTest, LimitStopsOnlyNewChunks)
{
    XMemPool pool(16, 4, 16, "four");
    std::vector<void*> blocks;
    blocks.push_back(pool.Alloc(16));
    // The limit is reached, but the chunk's other three blocks are already on the free list.
    for (int i = 0; i < 3; ++i)
        blocks.push_back(pool.Alloc(16));
    for (void* block : blocks)
        EXPECT_NE(block, nullptr);
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), 4u);
    EXPECT_EQ(pool.Alloc(16), nullptr);
    EXPECT_EQ(pool.GetChunkCount(), 1);
    for (void* block : blocks)
        pool.Free(block, 16);
}

TEST(XMemPoolTest, NewChunksAreZeroedAndBlocksAligned)
{
    std::unique_ptr<XMemPool> pool(XMemPool::Create(13, 10));
    EXPECT_EQ(pool->GetName()[0], 0);
    EXPECT_EQ(pool->GetStride() % static_cast<int>(sizeof(void*)), 0);
    for (int i = 0; i < 25; ++i)
    {
        auto* block = static_cast<unsigned char*>(pool->Alloc(13));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % sizeof(void*), 0u);
        if (i == 0 || i == 10)
        {
            for (int b = 0; b < 13; ++b)
                EXPECT_EQ(block[b], 0);
        }
    }
    EXPECT_EQ(pool->GetChunkCount(), 3);
    EXPECT_EQ(pool->GetBlocksInUse(), 25);
}

TEST(XMemPoolTest, OtherSizesGoToTheHeap)
{
    XMemPool pool(32, 8, 0, "heap");
    void* other = pool.Alloc(100);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(pool.GetBlocksInUse(), 0);
    EXPECT_EQ(pool.GetChunkCount(), 0);
    pool.Free(other, 100);
    pool.Free(nullptr, 32);
    EXPECT_EQ(pool.Alloc(0), nullptr);
}

TEST(XMemPoolTest, NameIsCutTo64Characters)
{
    const std::string longName(100, 'p');
    XMemPool pool(8, 1, 0, longName.c_str());
    EXPECT_EQ(std::string(pool.GetName()), std::string(64, 'p'));
}

TEST(XMemPoolTest, ThreadsShareOnePool)
{
    XMemPool pool(48, 16, 0, "shared");
    constexpr int kThreads = 4;
    constexpr int kRounds = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [&pool, t]
            {
                std::vector<int*> mine;
                for (int i = 0; i < kRounds; ++i)
                {
                    auto* block = static_cast<int*>(pool.Alloc(48));
                    ASSERT_NE(block, nullptr);
                    block[0] = t;
                    block[11] = i;
                    mine.push_back(block);
                    if (mine.size() > 8)
                    {
                        EXPECT_EQ(mine.front()[0], t) << "a block was handed to two threads";
                        pool.Free(mine.front(), 48);
                        mine.erase(mine.begin());
                    }
                }
                for (int* block : mine)
                    pool.Free(block, 48);
            });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(pool.GetBlocksInUse(), 0);
}
