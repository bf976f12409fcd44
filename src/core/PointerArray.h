#pragma once

#include "core/XMemory.h"

/** An array of pointers packed in its XMemory at pointer width: the storage of GenericObjectArray
    and BlindObjectList. It never owns what the pointers point at. Results are 0 or 0x80000001. Not
    locked by itself: share it between threads under its own lock. */
class PointerArray : public XMemory
{
public:
    PointerArray() = default;

    int GetCount() const;
    /** The pointer, null when index is out of range or the buffer is unusable. */
    void* At(int index) const;
    /** index -1 appends; an index beyond the count first grows the array with null entries. */
    int32_t InsertAt(int index, void* p);
    int32_t SetAt(int index, void* p);
    int32_t RemoveAt(int index, int count = 1);
    /** Appends; with unique, fails when p is found before the first null entry. */
    int32_t Add(void* p, bool unique = false);
    /** True when p is found scanning from the first entry up to the first null entry. */
    bool Contains(void* p) const;
    /** Removes the last occurrence of p; 0x80000001 when absent. */
    int32_t Remove(void* p);
    void* GetNext(int& index) const;
};
