#include "core/XMemory.h"

#include "core/XMemPool.h"
#include "core/XResult.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr int kPoolClassCount = 7;
constexpr int32_t kPoolClassStep = 32;
constexpr int32_t kLargestPoolClass = kPoolClassCount * kPoolClassStep; // 224
constexpr int32_t kDoublingLimit = 1024;
constexpr int32_t kLinearGrowth = 480;
constexpr unsigned kBlocksPerChunk[kPoolClassCount] = {256, 128, 64, 32, 16, 16, 16};

/** The size-class pools (32, 64, ..., 224 bytes), shared by every buffer and never destroyed.
    They hold no memory until a block is first asked for. */
XMemPool* PoolForSize(int32_t bytes)
{
    static const std::array<XMemPool*, kPoolClassCount> pools = []
    {
        std::array<XMemPool*, kPoolClassCount> made{};
        for (int i = 0; i < kPoolClassCount; ++i)
            made[static_cast<size_t>(i)] = new XMemPool(static_cast<unsigned>((i + 1) * kPoolClassStep),
                                                        kBlocksPerChunk[i], 0, "XMemory");
        return made;
    }();
    if (bytes <= 0 || bytes > kLargestPoolClass || bytes % kPoolClassStep != 0)
        return nullptr;
    return pools[static_cast<size_t>(bytes / kPoolClassStep - 1)];
}

} // namespace

XMemory::XMemory(unsigned size, void* buffer)
{
    if (size != 0 && buffer != nullptr && size <= static_cast<unsigned>(kMaxSize))
    {
        data = static_cast<uint8_t*>(buffer);
        mode = kCallerMemory;
        capacityWords = static_cast<int32_t>((size + 3) / 4);
        callerBytes = static_cast<int32_t>(size);
    }
}

XMemory::~XMemory()
{
    ReleaseStorage(data, mode, capacityWords * 4);
    data = nullptr;
    mode = kUnusable;
}

void XMemory::ReleaseStorage(uint8_t* storage, Mode storageMode, int32_t storageBytes)
{
    if (storage == nullptr)
        return;
    if (storageMode == kHeap)
        std::free(storage);
    else if (storageMode == kPoolBlock)
        PoolForSize(storageBytes)->Free(storage, storageBytes);
}

int32_t XMemory::RoundUpToSizeClass(int32_t count)
{
    for (int32_t size = kPoolClassStep; size <= kLargestPoolClass; size += kPoolClassStep)
        if (count < size)
            return size;
    return count < kDoublingLimit ? count * 2 : count + kLinearGrowth;
}

int32_t XMemory::GetCapacity() const
{
    // A wrapped caller buffer is never written past the caller's own size.
    return mode == kCallerMemory ? callerBytes : capacityWords * 4;
}

int64_t XMemory::OffsetOf(const void* p) const
{
    const auto address = reinterpret_cast<uintptr_t>(p);
    const auto first = reinterpret_cast<uintptr_t>(data);
    if (data == nullptr || address < first || address >= first + static_cast<uintptr_t>(GetCapacity()))
        return -1;
    return static_cast<int64_t>(address - first);
}

int32_t XMemory::SetCapacity(int count, bool exact)
{
    if (mode == kUnusable || count < 0 || count > kMaxSize)
        return XResult::kFailed;
    const int32_t current = GetCapacity();
    if (exact ? current == count : current >= count)
        return 0;

    const int32_t words = ((exact ? count : RoundUpToSizeClass(count)) + 3) / 4;
    const int32_t bytes = words * 4;
    uint8_t* const oldData = data;
    const Mode oldMode = mode;
    const int32_t oldBytes = capacityWords * 4;

    mode = kUnusable;
    uint8_t* fresh = nullptr;
    Mode freshMode = kNoStorage;
    if (bytes > 0)
    {
        XMemPool* pool = UsesPools() ? PoolForSize(bytes) : nullptr;
        fresh = static_cast<uint8_t*>(pool != nullptr ? pool->Alloc(bytes)
                                                      : std::malloc(static_cast<size_t>(bytes)));
        freshMode = pool != nullptr ? kPoolBlock : kHeap;
        if (fresh == nullptr)
        {
            // The old storage goes too: an unusable buffer frees nothing later.
            ReleaseStorage(oldData, oldMode, oldBytes);
            data = nullptr;
            capacityWords = 0;
            usedLength = 0;
            return XResult::kFailed;
        }
        std::memset(fresh, 0, static_cast<size_t>(bytes));
    }
    if (usedLength > bytes)
        usedLength = bytes;
    if (usedLength > 0)
        std::memcpy(fresh, oldData, static_cast<size_t>(usedLength));
    ReleaseStorage(oldData, oldMode, oldBytes);
    data = fresh;
    mode = freshMode;
    capacityWords = words;
    callerBytes = 0;
    return 0;
}

void XMemory::Clear()
{
    usedLength = 0;
}

int32_t XMemory::CopyFrom(const XMemory& other)
{
    if (&other == this)
        return 0;
    const int32_t count = other.usedLength;
    if (count <= 0 || !other.IsValid())
    {
        Clear();
        return 0;
    }
    if (!IsValid())
        return XResult::kFailed;
    const int32_t result = SetCapacity(count, false);
    if (result != 0)
        return result;
    usedLength = count;
    std::memcpy(data, other.data, static_cast<size_t>(count));
    return 0;
}

int32_t XMemory::Append(const void* source, int count)
{
    if (!IsValid())
        return XResult::kFailed;
    if (count <= 0)
        return 0;
    if (source == nullptr || static_cast<int64_t>(usedLength) + count > kMaxSize)
        return XResult::kFailed;
    // The bytes may lie in this buffer's own storage, which the growth moves.
    const int64_t selfOffset = OffsetOf(source);
    if (SetCapacity(usedLength + count, false) != 0)
        return XResult::kFailed;
    const void* from = selfOffset >= 0 ? data + selfOffset : source;
    std::memmove(data + usedLength, from, static_cast<size_t>(count));
    usedLength += count;
    return 0;
}

int32_t XMemory::SetSize(int count)
{
    const int32_t result = SetCapacity(count, false);
    if (result == 0)
        usedLength = count;
    return result;
}

int32_t XMemory::SetSizeExact(int count)
{
    const int32_t result = SetCapacity(count, true);
    if (result == 0)
        usedLength = count;
    return result;
}

void XMemory::SetLength(int count)
{
    const int32_t capacity = GetCapacity();
    usedLength = count < 0 ? 0 : (count > capacity ? capacity : count);
}

XMemory& XMemory::operator=(const XMemory& other)
{
    CopyFrom(other);
    return *this;
}
