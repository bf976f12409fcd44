#include "core/XQuickSort.h"

#include <cstdint>

namespace
{
thread_local XSortCompare sortCompare = nullptr;
thread_local XSortSwap sortSwap = nullptr;

/** The comparison as the contract reads it: the low 16 bits, signed. */
int Compare(unsigned i, unsigned j)
{
    return static_cast<int16_t>(static_cast<uint16_t>(sortCompare(static_cast<int>(i), static_cast<int>(j))));
}

void Swap(unsigned i, unsigned j)
{
    sortSwap(static_cast<int>(i), static_cast<int>(j));
}
} // namespace

void XQuickSort(int count, XSortCompare compare, XSortSwap swap)
{
    if (count < 2 || compare == nullptr || swap == nullptr)
        return;
    const XSortCompare outerCompare = sortCompare;
    const XSortSwap outerSwap = sortSwap;
    sortCompare = compare;
    sortSwap = swap;
    XQuickSortRange(1, static_cast<unsigned>(count) + 1);
    sortCompare = outerCompare;
    sortSwap = outerSwap;
}

void XQuickSortRange(unsigned start, unsigned end)
{
    if (sortCompare == nullptr || sortSwap == nullptr)
        return;
    while (end > start + 1)
    {
        // Partition around the item at start: [start, b) sorts before it, [a, end) after it.
        unsigned i = start;
        unsigned a = end;
        unsigned b;
        for (;;)
        {
            ++i;
            while (i < end && Compare(i, start) < 0)
                ++i;
            b = a - 1;
            while (b > start && Compare(b, start) > 0)
            {
                a = b;
                b = a - 1;
            }
            if (i >= b)
                break;
            Swap(i, b);
            a = b;
        }
        if (b == start)
        {
            start = a;
            continue;
        }
        Swap(start, b);
        // The smaller part by recursion, the larger by the loop.
        if (b - start < end - a)
        {
            XQuickSortRange(start, b);
            start = a;
        }
        else
        {
            XQuickSortRange(a, end);
            end = b;
        }
    }
}
