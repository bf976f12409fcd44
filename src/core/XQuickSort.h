#pragma once

/** The framework's index quicksort: it sorts positions, never items. The caller's compare(i, j)
    tells how the items at positions i and j order (only the low 16 bits of its result count, read
    as a signed 16-bit number: negative when i sorts before j, 0 when equal, positive after) and
    swap(i, j) exchanges them, so the items stay wherever the caller keeps them (a list view's rows).
    Not stable. Recursion depth stays logarithmic.

    The callbacks are kept per thread for the duration of a sort: sorts on different threads do not
    meet, but a callback must not start another sort. */

using XSortCompare = int (*)(int i, int j);
using XSortSwap = void (*)(int i, int j);

/** Sorts positions 1 to count (1-based, inclusive). 0 or 1 positions call neither callback. */
void XQuickSort(int count, XSortCompare compare, XSortSwap swap);
/** Sorts positions start to end - 1 with the callbacks of the calling thread's running
    XQuickSort. */
void XQuickSortRange(unsigned start, unsigned end);
