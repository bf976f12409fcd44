#pragma once

#include "core/XMutex.h"
#include "core/XRefCountObject.h"

#include <cstdint>
#include <memory>

class BlindObjectList;

/** A pool of fixed-size blocks handed out from chunks of blocksPerChunk blocks. Freed blocks go on
    a free list and are reused; chunks are returned to the heap only when the pool is destroyed.

    Asking for or freeing a size other than the block size goes to the general heap instead. A byte
    limit stops new chunks once blocks in use x stride reaches it (blocks already free are still
    handed out). The stride is the block size rounded up to pointer width (at least one pointer),
    which keeps every block aligned and able to hold the free-list link.

    Thread-safe: every operation takes the pool's own lock. */
class XMemPool : public XRefCountObject, public XMutex
{
public:
    static constexpr int kMaxNameLength = 64;

    /** perChunk 0 is taken as 1; byteLimit 0 means no limit; name may be null. */
    XMemPool(unsigned blockSize, unsigned perChunk, unsigned byteLimit, const char* name);
    /** Frees every chunk at once; blocks still handed out become invalid. */
    ~XMemPool() override;

    /** A new pool with an empty name. */
    static XMemPool* Create(unsigned blockSize, unsigned perChunk, unsigned byteLimit = 0);

    /** A block of size bytes: from the pool when size is the block size (null when the byte limit
        is reached or memory runs out), else from the general heap (null for size <= 0). */
    void* Alloc(int size);
    /** Gives a block back: to the pool when size is the block size (kept aside for good while the
        process shuts down), else to the general heap. Null does nothing. */
    void Free(void* block, int size);

    int32_t GetBlockSize() const { return blockSize; }
    int32_t GetStride() const { return stride; }
    int32_t GetBlocksPerChunk() const { return blocksPerChunk; }
    int32_t GetByteLimit() const { return byteLimit; }
    const char* GetName() const { return name; }
    /** Blocks handed out by the pool and not yet freed. */
    int32_t GetBlocksInUse() const;
    /** Chunks taken from the heap so far. */
    int32_t GetChunkCount() const;

private:
    struct FreeBlock
    {
        FreeBlock* next;
    };

    const int32_t blockSize;
    const int32_t stride;
    const int32_t blocksPerChunk;
    const int32_t byteLimit;
    FreeBlock* freeList = nullptr; // guarded by the pool's lock
    char name[kMaxNameLength + 1] = {};
    std::unique_ptr<BlindObjectList> chunks; // guarded by the pool's lock; made with the first chunk
    int32_t blocksInUse = 0;                 // guarded by the pool's lock
};
