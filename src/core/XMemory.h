#pragma once

#include "core/XMutex.h"
#include "core/XResult.h"

#include <cstdint>

/** A growable byte buffer that is also a recursive lock. Small buffers (up to 224 bytes) come from
    seven process-wide size-class pools; larger ones from the general heap. Growth rounds up to a
    size class below 224 bytes, doubles up to 1023 and adds 480 bytes from 1024 on.

    No operation takes the lock by itself: callers that share a buffer between threads bracket their
    use with Lock/Unlock (or an XSmartLock).

    A buffer may wrap a caller's memory, which is never freed here and never written past its size:
    growing beyond it moves the content to new storage. A failed allocation leaves the buffer
    unusable (IsValid false); operations then fail with 0x80000001. */
class XMemory : public XMutex
{
public:
    static constexpr int32_t kMaxSize = 1999999999;

    /** Where the storage comes from. */
    enum Mode : uint8_t
    {
        kNoStorage = 0,
        kCallerMemory = 1,
        kHeap = 2,
        kPoolBlock = 3,
        kUnusable = 4
    };

    /** With both size and buffer given, wraps the caller's buffer (used length 0); else empty. */
    explicit XMemory(unsigned size = 0, void* buffer = nullptr);
    XMemory(const XMemory&) = delete;
    /** Frees the storage by its mode (the caller's memory is left alone). */
    ~XMemory() override;

    /** Used length 0; the storage is kept. */
    virtual void Clear();
    /** Copies the other's used bytes (an empty or unusable other clears this one); 0 or 0x80000001. */
    virtual int32_t CopyFrom(const XMemory& other);
    /** Appends count bytes behind the used part, growing as needed; 0 or 0x80000001. */
    virtual int32_t Append(const void* data, int count);
    /** Hooks for subclasses that keep a count of their own; XMemory does nothing in them. */
    virtual void PadEnd(int count) {}
    virtual void CountFromSize() {}
    /** Makes room for count bytes: without exact, nothing happens when the capacity suffices and count
        is rounded up to its size class; with exact the capacity becomes count (may shrink). Content
        up to the new capacity is kept, the rest zero-filled. 0, or 0x80000001 (buffer unusable,
        count out of 0..1,999,999,999, or no memory). */
    virtual int32_t SetCapacity(int count, bool exact);
    virtual bool IsEmpty() const { return usedLength == 0; }
    /** False in subclasses that must keep their storage on the general heap. */
    virtual bool UsesPools() const { return true; }

    /** SetCapacity(count, false), then used length = count. */
    int32_t SetSize(int count);
    /** SetCapacity(count, true), then used length = count. */
    int32_t SetSizeExact(int count);
    bool IsValid() const { return mode != kUnusable; }
    XMemory& operator=(const XMemory& other);

    /** Bytes in use. */
    int32_t GetLength() const { return usedLength; }
    /** Sets the used length, cut to 0..capacity. */
    void SetLength(int count);
    /** Capacity in bytes (a wrapped caller buffer counts with its own size). */
    int32_t GetCapacity() const;
    uint8_t* GetData() { return data; }
    const uint8_t* GetData() const { return data; }
    Mode GetMode() const { return mode; }
    /** Offset of p inside the storage, -1 when it lies outside (bytes that a growth would move). */
    int64_t OffsetOf(const void* p) const;

    /** The rounded size that SetCapacity(count, false) allocates for a growth to count bytes. */
    static int32_t RoundUpToSizeClass(int32_t count);

private:
    void ReleaseStorage(uint8_t* storage, Mode storageMode, int32_t storageBytes);

    int32_t usedLength = 0;
    int32_t capacityWords = 0;
    uint8_t* data = nullptr;
    Mode mode = kNoStorage;
    int32_t callerBytes = 0; // size of a wrapped caller buffer
};
