#include "core/LongArray.h"

#include "core/GenericObjectArray.h"
#include "core/ObjectArray.h"
#include "core/XResult.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

std::vector<int32_t> Entries(const LongArray& array)
{
    std::vector<int32_t> entries;
    for (int i = 0; i < array.GetCount(); ++i)
        entries.push_back(array.GetAt(i));
    return entries;
}
} // namespace

TEST(LongArrayTest, RemoveAtEdgeCases)
{
    struct Case
    {
        int index;
        int count;
        int32_t result;
        std::vector<int32_t> left;
    };
    const Case cases[] = {
        {2, 10, 0, {10, 20}},                            // a count past the end is cut
        {5, 1, XResult::kFailed, {10, 20, 30, 40, 50}},  // index at the count
        {0, 0, XResult::kFailed, {10, 20, 30, 40, 50}},  // nothing to remove
        {-1, 1, XResult::kFailed, {10, 20, 30, 40, 50}}, // negative index
        {1, 2, 0, {10, 40, 50}},                         // entries behind move down
        {4, 1, 0, {10, 20, 30, 40}},
    };
    for (const Case& c : cases)
    {
        LongArray array;
        for (int i = 1; i <= 5; ++i)
            array.Add(i * 10);
        EXPECT_EQ(array.RemoveAt(c.index, c.count), c.result) << c.index << "," << c.count;
        EXPECT_EQ(Entries(array), c.left) << c.index << "," << c.count;
    }
    LongArray empty;
    EXPECT_EQ(empty.RemoveAt(0, 1), XResult::kFailed);
}

TEST(LongArrayTest, InsertBeyondTheCountFillsWithZeros)
{
    LongArray array;
    array.Add(1);
    array.Add(2);
    array.Add(3);
    ASSERT_EQ(array.InsertAt(7, 99), 0);
    EXPECT_EQ(Entries(array), (std::vector<int32_t>{1, 2, 3, 0, 0, 0, 0, 99}));
    ASSERT_EQ(array.InsertAt(0, 5), 0);
    ASSERT_EQ(array.InsertAt(-1, 6), 0);
    EXPECT_EQ(array.GetAt(0), 5);
    EXPECT_EQ(array.GetAt(array.GetCount() - 1), 6);
    EXPECT_EQ(array.InsertAt(-2, 1), XResult::kFailed);
}

TEST(LongArrayTest, GrowthAfterShrinkReadsZerosNotStaleEntries)
{
    LongArray array;
    for (int i = 1; i <= 8; ++i)
        array.Add(i);
    ASSERT_EQ(array.RemoveAt(2, 6), 0);
    ASSERT_EQ(array.SetAt(6, 7), 0);
    EXPECT_EQ(Entries(array), (std::vector<int32_t>{1, 2, 0, 0, 0, 0, 7}));
    EXPECT_EQ(array.SetAt(-1, 7), XResult::kFailed);
}

TEST(LongArrayTest, UniqueAddScansUpToTheFirstZero)
{
    LongArray array;
    EXPECT_EQ(array.Add(4, true), 0);
    EXPECT_EQ(array.Add(4, true), XResult::kFailed);
    array.Add(0);
    array.Add(9);
    EXPECT_EQ(array.Add(9, true), 0) << "entries behind a 0 are not looked at";
    int index = 0;
    std::vector<int32_t> walked;
    while (index < array.GetCount())
        walked.push_back(array.GetNext(index));
    EXPECT_EQ(walked, (std::vector<int32_t>{4, 0, 9, 9}));
    EXPECT_EQ(array.GetNext(index), 0);
}

TEST(LongArrayTest, SixteenBitTwinsShareTheBytes)
{
    LongArray array;
    ASSERT_EQ(array.InsertInt16At(-1, 7), 0);
    ASSERT_EQ(array.InsertInt16At(3, -2), 0);
    EXPECT_EQ(array.GetInt16Count(), 4);
    EXPECT_EQ(array.GetInt16At(0), 7);
    EXPECT_EQ(array.GetInt16At(1), 0);
    EXPECT_EQ(array.GetInt16At(3), -2);
    EXPECT_EQ(array.GetInt16At(4), 0);
    ASSERT_EQ(array.SetInt16At(1, 5), 0);
    EXPECT_EQ(array.GetCount(), 2);
    EXPECT_EQ(array.GetAt(0), 7 | (5 << 16));
}

TEST(GenericObjectArrayTest, AddRemoveAndLookUp)
{
    int a = 0;
    int b = 0;
    ObjectArray<int> array;
    EXPECT_EQ(array.Add(&a), 0);
    EXPECT_EQ(array.Add(&a, true), XResult::kFailed);
    EXPECT_EQ(array.Add(&b), 0);
    EXPECT_EQ(array.Add(&a), 0);
    EXPECT_EQ(array.GetCount(), 3);
    EXPECT_TRUE(array.Contains(&b));

    // Remove drops the last occurrence.
    EXPECT_EQ(array.Remove(&a), 0);
    EXPECT_EQ(array.GetCount(), 2);
    EXPECT_EQ(array.At(0), &a);
    EXPECT_EQ(array.At(1), &b);
    EXPECT_EQ(array.Last(), &b);
    EXPECT_EQ(array.Remove(&a), 0);
    EXPECT_EQ(array.Remove(&a), XResult::kFailed);

    EXPECT_EQ(array.At(-1), nullptr);
    EXPECT_EQ(array.At(5), nullptr);
    array.RemoveAll();
    EXPECT_EQ(array.Last(), nullptr);
}

TEST(GenericObjectArrayTest, ContainsStopsAtTheFirstNullAndPointersKeepFullWidth)
{
    int a = 0;
    int b = 0;
    GenericObjectArray array;
    array.Add(&a);
    array.InsertAt(3, &b); // entries 1 and 2 become null
    EXPECT_EQ(array.GetCount(), 4);
    EXPECT_EQ(array.At(1), nullptr);
    EXPECT_EQ(array.At(3), &b) << "a pointer comes back unchanged";
    EXPECT_FALSE(array.Contains(&b));
    EXPECT_EQ(array.Add(&b, true), 0);
    EXPECT_EQ(array.RemoveAt(0, static_cast<int16_t>(-1)), XResult::kFailed);
    int index = 0;
    int seen = 0;
    while (index < array.GetCount())
    {
        array.GetNext(index);
        ++seen;
    }
    EXPECT_EQ(seen, 5);
}

TEST(GenericObjectArrayTest, LockIsTheInnerArraysRecursiveLock)
{
    GenericObjectArray array;
    EXPECT_FALSE(array.IsLocked());
    array.Lock();
    array.Lock();
    EXPECT_TRUE(array.IsLocked());
    array.Unlock();
    array.Unlock();
    EXPECT_FALSE(array.IsLocked());
}
