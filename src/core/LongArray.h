#pragma once

#include "core/XMemory.h"

#include <cstdint>

/** An array of 32-bit values packed in its XMemory (count = used length / 4), with 16-bit twins
    that treat the same bytes as 16-bit entries. Results are 0 or 0x80000001. Not locked by itself:
    share it between threads under its own lock (Lock/Unlock). */
class LongArray : public XMemory
{
public:
    LongArray() = default;

    int GetCount() const;
    /** The entry, 0 when index is out of range. */
    int32_t GetAt(int index) const;
    /** index -1 appends; an index beyond the count first grows the array with 0 entries. */
    int32_t InsertAt(int index, int32_t value);
    /** Stores at index; an index at or beyond the count inserts there; a negative index fails. */
    int32_t SetAt(int index, int32_t value);
    /** Removes count entries from index, cut at the end; fails for count <= 0, an empty array or
        an index out of range. */
    int32_t RemoveAt(int index, int count = 1);
    /** Appends; with unique, fails when value is found before the first 0 entry. */
    int32_t Add(int32_t value, bool unique = false);
    /** Iteration: the entry at index, then index + 1; 0 when index is at or past the count. */
    int32_t GetNext(int& index) const;

    int GetInt16Count() const;
    /** The 16-bit entry (count = used length / 2), 0 when out of range. */
    int16_t GetInt16At(int index) const;
    int32_t InsertInt16At(int index, int16_t value);
    int32_t SetInt16At(int index, int16_t value);
};
