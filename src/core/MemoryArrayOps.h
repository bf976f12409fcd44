#pragma once

#include "core/XMemory.h"
#include "core/XResult.h"

#include <cstdint>
#include <cstring>

/** The array operations shared by LongArray (32- and 16-bit entries) and PointerArray (pointer-width
    entries): entries of type Entry packed in an XMemory, count = used length / sizeof(Entry).
    Results are 0 or 0x80000001. Not locked: see XMemory. */
template <typename Entry> struct MemoryArrayOps
{
    static constexpr int kEntrySize = static_cast<int>(sizeof(Entry));

    static int Count(const XMemory& memory) { return memory.GetLength() / kEntrySize; }

    static Entry* Entries(XMemory& memory) { return reinterpret_cast<Entry*>(memory.GetData()); }

    /** The entry at index; 0 when out of range or the buffer is unusable. */
    static Entry At(const XMemory& memory, int index)
    {
        if (index < 0 || index >= Count(memory) || !memory.IsValid() || memory.GetData() == nullptr)
            return Entry{};
        Entry value;
        std::memcpy(&value, memory.GetData() + static_cast<size_t>(index) * kEntrySize, sizeof(Entry));
        return value;
    }

    /** Sizes the array to count entries; entries beyond the old count are 0. */
    static int32_t Resize(XMemory& memory, int count)
    {
        const int oldCount = Count(memory);
        const int64_t bytes = static_cast<int64_t>(count) * kEntrySize;
        if (count < 0 || bytes > XMemory::kMaxSize)
            return XResult::kFailed;
        const int32_t result = memory.SetSize(static_cast<int>(bytes));
        if (result != 0)
            return result;
        if (count > oldCount)
            std::memset(Entries(memory) + oldCount, 0, static_cast<size_t>(count - oldCount) * kEntrySize);
        return 0;
    }

    /** index -1 appends; an index beyond the count first grows the array with 0 entries. */
    static int32_t InsertAt(XMemory& memory, int index, Entry value)
    {
        if (!memory.IsValid() || index < -1)
            return XResult::kFailed;
        int count = Count(memory);
        if (index == -1)
            index = count;
        if (index > count)
        {
            const int32_t result = Resize(memory, index);
            if (result != 0)
                return result;
            count = index;
        }
        const int32_t result = Resize(memory, count + 1);
        if (result != 0)
            return result;
        Entry* entries = Entries(memory);
        std::memmove(entries + index + 1, entries + index, static_cast<size_t>(count - index) * kEntrySize);
        entries[index] = value;
        return 0;
    }

    /** Stores at index; an index at or beyond the count inserts there. */
    static int32_t SetAt(XMemory& memory, int index, Entry value)
    {
        if (index < 0 || !memory.IsValid())
            return XResult::kFailed;
        if (index >= Count(memory))
            return InsertAt(memory, index, value);
        Entries(memory)[index] = value;
        return 0;
    }

    /** Removes up to removeCount entries from index (cut at the end). */
    static int32_t RemoveAt(XMemory& memory, int index, int removeCount)
    {
        const int count = Count(memory);
        if (removeCount <= 0 || count == 0 || index < 0 || index >= count || !memory.IsValid())
            return XResult::kFailed;
        if (removeCount > count - index)
            removeCount = count - index;
        Entry* entries = Entries(memory);
        std::memmove(entries + index, entries + index + removeCount,
                     static_cast<size_t>(count - index - removeCount) * kEntrySize);
        return memory.SetSize((count - removeCount) * kEntrySize);
    }

    /** Index of value scanning from the first entry up to the first 0 entry; -1 when not found. */
    static int FindBeforeZero(const XMemory& memory, Entry value)
    {
        const int count = Count(memory);
        for (int i = 0; i < count; ++i)
        {
            const Entry entry = At(memory, i);
            if (entry == Entry{})
                return -1;
            if (entry == value)
                return i;
        }
        return -1;
    }

    /** Appends; with unique, fails when value is found before the first 0 entry. */
    static int32_t Add(XMemory& memory, Entry value, bool unique)
    {
        if (unique && FindBeforeZero(memory, value) >= 0)
            return XResult::kFailed;
        return InsertAt(memory, -1, value);
    }

    /** The entry at index and index + 1; 0 (index unchanged) when index is at or past the count. */
    static Entry GetNext(const XMemory& memory, int& index)
    {
        if (index < 0 || index >= Count(memory))
            return Entry{};
        return At(memory, index++);
    }
};
