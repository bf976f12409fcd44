#include "core/XMemory.h"

#include "core/XResult.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

TEST(XMemoryTest, CapacityFollowsTheSizeClasses)
{
    struct Case
    {
        int count;
        bool exact;
        int capacity;
        XMemory::Mode mode;
    };
    const Case cases[] = {
        {1, false, 32, XMemory::kPoolBlock},    {31, false, 32, XMemory::kPoolBlock},
        {32, false, 64, XMemory::kPoolBlock},   {100, false, 128, XMemory::kPoolBlock},
        {223, false, 224, XMemory::kPoolBlock}, {224, false, 448, XMemory::kHeap},
        {1023, false, 2048, XMemory::kHeap},    {1500, false, 1980, XMemory::kHeap},
        {40, true, 40, XMemory::kHeap},         {64, true, 64, XMemory::kPoolBlock},
        {41, true, 44, XMemory::kHeap},
    };
    for (const Case& c : cases)
    {
        XMemory memory;
        ASSERT_EQ(memory.SetCapacity(c.count, c.exact), 0) << c.count;
        EXPECT_EQ(memory.GetCapacity(), c.capacity) << c.count;
        EXPECT_EQ(memory.GetMode(), c.mode) << c.count;
        EXPECT_EQ(memory.GetLength(), 0);
    }

    XMemory memory;
    EXPECT_EQ(memory.SetCapacity(2000000000, false), XResult::kFailed);
    EXPECT_EQ(memory.SetCapacity(-1, false), XResult::kFailed);
    EXPECT_TRUE(memory.IsValid()); // a refused size does not spoil the buffer
}

TEST(XMemoryTest, GrowthKeepsTheContentAndZeroFillsTheRest)
{
    XMemory memory;
    const char text[] = "0123456789";
    ASSERT_EQ(memory.Append(text, 10), 0);
    ASSERT_EQ(memory.GetCapacity(), 32);
    ASSERT_EQ(memory.SetCapacity(500, false), 0);
    EXPECT_EQ(memory.GetCapacity(), 1000);
    EXPECT_EQ(memory.GetLength(), 10);
    EXPECT_EQ(std::memcmp(memory.GetData(), text, 10), 0);
    EXPECT_EQ(memory.GetData()[10], 0);
    EXPECT_EQ(memory.GetData()[999], 0);

    // Appending the buffer's own bytes survives the move to larger storage.
    ASSERT_EQ(memory.SetCapacity(10, true), 0);
    ASSERT_EQ(memory.Append(memory.GetData(), 10), 0);
    EXPECT_EQ(memory.GetLength(), 20);
    EXPECT_EQ(std::memcmp(memory.GetData() + 10, text, 10), 0);

    // Shrinking with exact cuts the used length.
    ASSERT_EQ(memory.SetSizeExact(4), 0);
    EXPECT_EQ(memory.GetCapacity(), 4);
    EXPECT_EQ(std::memcmp(memory.GetData(), "0123", 4), 0);
    memory.Clear();
    EXPECT_TRUE(memory.IsEmpty());
    EXPECT_EQ(memory.GetCapacity(), 4);
}

TEST(XMemoryTest, WrappedCallerMemoryIsNeverWrittenPastItsSizeNorFreed)
{
    std::vector<unsigned char> caller(7, 0xEE);
    {
        XMemory memory(5, caller.data());
        EXPECT_EQ(memory.GetMode(), XMemory::kCallerMemory);
        EXPECT_EQ(memory.GetCapacity(), 5);
        ASSERT_EQ(memory.Append("abcde", 5), 0);
        EXPECT_EQ(memory.GetData(), caller.data());
        ASSERT_EQ(memory.Append("f", 1), 0); // moves to pooled storage
        EXPECT_NE(memory.GetData(), caller.data());
        EXPECT_EQ(memory.GetMode(), XMemory::kPoolBlock);
        EXPECT_EQ(std::memcmp(memory.GetData(), "abcdef", 6), 0);
    }
    EXPECT_EQ(std::memcmp(caller.data(), "abcde", 5), 0);
    EXPECT_EQ(caller[5], 0xEE);
    EXPECT_EQ(caller[6], 0xEE);

    XMemory unwrapped(5, nullptr);
    EXPECT_EQ(unwrapped.GetMode(), XMemory::kNoStorage);
}

TEST(XMemoryTest, CopyFromTakesTheUsedBytes)
{
    XMemory source;
    ASSERT_EQ(source.Append("payload", 7), 0);
    XMemory target;
    ASSERT_EQ(target.Append("old stuff here", 14), 0);
    target = source;
    EXPECT_EQ(target.GetLength(), 7);
    EXPECT_EQ(std::memcmp(target.GetData(), "payload", 7), 0);

    XMemory empty;
    EXPECT_EQ(target.CopyFrom(empty), 0);
    EXPECT_EQ(target.GetLength(), 0);
    EXPECT_EQ(source.CopyFrom(source), 0);
    EXPECT_EQ(source.GetLength(), 7);
}

TEST(XMemoryTest, TheBufferIsItsOwnRecursiveLock)
{
    XMemory memory;
    memory.Lock();
    memory.Lock();
    EXPECT_TRUE(memory.IsLocked());
    memory.Unlock();
    memory.Unlock();
    EXPECT_FALSE(memory.IsLocked());
}
