#pragma once

#include "core/XMemPool.h"

#include <cstddef>
#include <cstdint>
#include <new>

/** The memory pool of one small view class whose objects are many (fills, circles): blocks of the
    class's size from an XMemPool made on first use. A request of another size (a derived class)
    goes to the general heap, as XMemPool does it. The pool lives for the whole process, so a view
    deleted late in shutdown still has its pool. Thread-safe (the pool's lock). */
template <typename View> class ViewPool final
{
public:
    static constexpr unsigned kBlocksPerChunk = 32;

    /** A block for a new object of size bytes; null when memory runs out. */
    static void* Allocate(std::size_t size) noexcept { return Pool().Alloc(static_cast<int>(size)); }
    /** A block for new; throws std::bad_alloc when memory runs out. */
    static void* AllocateOrThrow(std::size_t size)
    {
        void* block = Allocate(size);
        if (block == nullptr)
            throw std::bad_alloc();
        return block;
    }
    static void Release(void* block, std::size_t size) noexcept
    {
        Pool().Free(block, static_cast<int>(size));
    }
    static int32_t CountBlocksInUse() { return Pool().GetBlocksInUse(); }

    ViewPool() = delete;

private:
    static XMemPool& Pool()
    {
        static_assert(alignof(View) <= alignof(void*), "pool blocks are aligned to pointer width");
        static XMemPool* const pool = new XMemPool(sizeof(View), kBlocksPerChunk, 0, nullptr);
        return *pool;
    }
};

/** The base that gives a view class its pooled operator new and delete (ViewPool<View>): derive
    the view from PooledView<ItsClass> next to XView. */
template <typename View> class PooledView
{
public:
    static void* operator new(std::size_t size) { return ViewPool<View>::AllocateOrThrow(size); }
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept
    {
        return ViewPool<View>::Allocate(size);
    }
    static void operator delete(void* block, std::size_t size) noexcept
    {
        ViewPool<View>::Release(block, size);
    }
    /** Blocks of the class's pool handed out and not yet freed. */
    static int32_t CountPooledBlocks() { return ViewPool<View>::CountBlocksInUse(); }

protected:
    PooledView() = default;
    ~PooledView() = default;
};
