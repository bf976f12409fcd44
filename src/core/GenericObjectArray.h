#pragma once

#include "core/IThreadLock.h"

#include <cstdint>
#include <memory>

class PointerArray;

/** An array of pointers that does not own what they point at: neither RemoveAll nor the destructor
    deletes an object. Results are 0 or 0x80000001.

    Not locked by itself: a caller that shares the array between threads holds its lock (Lock/Unlock
    or an XSmartLock on the array) around every use. */
class GenericObjectArray : public IThreadLock
{
public:
    GenericObjectArray();
    GenericObjectArray(const GenericObjectArray&) = delete;
    GenericObjectArray& operator=(const GenericObjectArray&) = delete;
    ~GenericObjectArray() override;

    void Lock() override;
    void Unlock() override;
    bool IsLocked() const override;

    /** Appends p; with unique, fails when p is found before the first null entry. */
    int32_t Add(void* p, bool unique = false);
    /** Inserts at index; -1 appends; an index beyond the count grows the array with null entries. */
    int32_t InsertAt(int index, void* p);
    /** Stores at index; an index at or beyond the count inserts there. */
    int32_t SetAt(int index, void* p);
    /** Removes count entries from index (cut at the end). */
    int32_t RemoveAt(int index, int16_t count = 1);
    /** Removes the last occurrence of p; 0x80000001 when absent. */
    int32_t Remove(void* p);
    /** Count 0; the objects are not deleted. */
    void RemoveAll();

    int GetCount() const;
    bool IsEmpty() const { return GetCount() == 0; }
    /** The pointer, null when index is out of range. */
    void* At(int index) const;
    /** The last pointer, null when empty. */
    void* Last() const;
    /** Iteration: the entry at index, then index + 1; null when index is at or past the count. */
    void* GetNext(int& index) const;
    /** True when p is found scanning from the first entry; the scan stops at the first null entry. */
    bool Contains(void* p) const;

private:
    std::unique_ptr<PointerArray> items;
};
