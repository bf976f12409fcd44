#include "core/XQuickSort.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace
{
/** The items being sorted; position p is items[p - 1]. */
std::vector<int> items;
int compareCalls = 0;
int swapCalls = 0;

int CompareItems(int i, int j)
{
    ++compareCalls;
    const int a = items[static_cast<size_t>(i - 1)];
    const int b = items[static_cast<size_t>(j - 1)];
    return a < b ? -1 : (a > b ? 1 : 0);
}

/** Only the low 16 bits count: 0x10000 is "equal", 0x18000 (low half 0x8000) "before". */
int CompareWithHighBits(int i, int j)
{
    const int order = CompareItems(i, j);
    return order < 0 ? 0x18000 : (order == 0 ? 0x10000 : 0x10001);
}

void SwapItems(int i, int j)
{
    ++swapCalls;
    std::swap(items[static_cast<size_t>(i - 1)], items[static_cast<size_t>(j - 1)]);
}

void Sort(const std::vector<int>& input, XSortCompare compare = CompareItems)
{
    items = input;
    compareCalls = 0;
    swapCalls = 0;
    XQuickSort(static_cast<int>(items.size()), compare, SwapItems);
}
} // namespace

TEST(XQuickSortTest, SortsEveryShape)
{
    std::mt19937 random(640);
    std::vector<std::vector<int>> inputs = {
        {2, 1},          {3, 1, 2},       {5, 5, 5, 5},          {9, 8, 7, 6, 5, 4, 3, 2, 1},
        {1, 3, 2, 3, 1}, {4, 1, 4, 1, 4}, {1, 2, 3, 4, 5, 6, 0}, {-3, 7, 0, -3, 7, 0},
    };
    for (int size : {17, 100, 1000})
    {
        std::vector<int> input(static_cast<size_t>(size));
        for (auto& value : input)
            value = static_cast<int>(random() % 50);
        inputs.push_back(input);
    }
    for (const auto& input : inputs)
    {
        for (XSortCompare compare : {CompareItems, CompareWithHighBits})
        {
            Sort(input, compare);
            std::vector<int> expected = input;
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(items, expected) << "size " << input.size();
        }
    }
}

TEST(XQuickSortTest, TrivialAndSortedInputs)
{
    Sort({});
    EXPECT_EQ(compareCalls + swapCalls, 0);
    Sort({42});
    EXPECT_EQ(compareCalls + swapCalls, 0);

    std::vector<int> ascending(500);
    for (size_t i = 0; i < ascending.size(); ++i)
        ascending[i] = static_cast<int>(i);
    Sort(ascending);
    EXPECT_EQ(swapCalls, 0) << "strictly increasing input never swaps";
    EXPECT_EQ(items, ascending);
}
