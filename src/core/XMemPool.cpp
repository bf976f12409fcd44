#include "core/XMemPool.h"

#include "core/BlindObjectList.h"
#include "core/ProcessState.h"
#include "core/XSmartLock.h"

#include <cstdlib>
#include <cstring>

namespace
{
constexpr uint64_t kMaxChunkBytes = 0xFFFFFFFFu;

int32_t StrideFor(unsigned blockSize)
{
    constexpr unsigned kPointerSize = sizeof(void*);
    const unsigned atLeastOneLink = blockSize < kPointerSize ? kPointerSize : blockSize;
    return static_cast<int32_t>((atLeastOneLink + kPointerSize - 1) / kPointerSize * kPointerSize);
}
} // namespace

XMemPool::XMemPool(unsigned size, unsigned perChunk, unsigned limit, const char* poolName)
    : blockSize(static_cast<int32_t>(size)), stride(StrideFor(size)),
      blocksPerChunk(static_cast<int32_t>(perChunk == 0 ? 1 : perChunk)),
      byteLimit(static_cast<int32_t>(limit))
{
    if (poolName != nullptr)
        std::strncpy(name, poolName, kMaxNameLength);
}

XMemPool::~XMemPool()
{
    if (chunks != nullptr)
    {
        for (int i = 0; i < chunks->GetCount(); ++i)
            std::free(chunks->At(i));
        chunks->Clear();
    }
}

XMemPool* XMemPool::Create(unsigned size, unsigned perChunk, unsigned limit)
{
    return new XMemPool(size, perChunk, limit, "");
}

void* XMemPool::Alloc(int size)
{
    if (size != blockSize)
        return size > 0 ? std::malloc(static_cast<size_t>(size)) : nullptr;

    XSmartLock hold(this);
    if (freeList == nullptr)
    {
        if (byteLimit != 0 && static_cast<int64_t>(blocksInUse) * stride >= byteLimit)
            return nullptr;
        const uint64_t chunkBytes = static_cast<uint64_t>(blocksPerChunk) * static_cast<uint64_t>(stride);
        if (chunkBytes > kMaxChunkBytes)
            return nullptr;
        if (chunks == nullptr)
            chunks = std::make_unique<BlindObjectList>();
        char* chunk = static_cast<char*>(std::calloc(1, static_cast<size_t>(chunkBytes)));
        if (chunk == nullptr)
            return nullptr;
        if (chunks->Add(chunk) != 0)
        {
            std::free(chunk);
            return nullptr;
        }
        // The first block is handed out; the others are chained, lowest address first.
        for (int32_t i = blocksPerChunk - 1; i >= 1; --i)
        {
            auto* block = reinterpret_cast<FreeBlock*>(chunk + static_cast<size_t>(i) * stride);
            block->next = freeList;
            freeList = block;
        }
        ++blocksInUse;
        return chunk;
    }

    FreeBlock* block = freeList;
    freeList = block->next;
    block->next = nullptr;
    ++blocksInUse;
    return block;
}

void XMemPool::Free(void* block, int size)
{
    if (block == nullptr)
        return;
    if (size != blockSize)
    {
        std::free(block);
        return;
    }
    if (IsShuttingDown())
        return;
    XSmartLock hold(this);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = freeList;
    freeList = freed;
    --blocksInUse;
}

int32_t XMemPool::GetBlocksInUse() const
{
    XSmartLock hold(const_cast<XMemPool*>(this));
    return blocksInUse;
}

int32_t XMemPool::GetChunkCount() const
{
    XSmartLock hold(const_cast<XMemPool*>(this));
    return chunks != nullptr ? chunks->GetCount() : 0;
}
