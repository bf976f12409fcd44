#include "core/MemoryDataIO.h"

#include "core/XResult.h"

#include <cstring>

namespace
{
// Offsets beyond this cannot address any memory and would overflow the sums below.
constexpr int64_t kLargestOffset = INT64_C(1) << 40;
} // namespace

MemoryDataIO::MemoryDataIO(void* memoryStart, int length)
    : start(static_cast<uint8_t*>(memoryStart)), current(start),
      end(start == nullptr || length <= 0 ? start : start + length)
{
}

int32_t MemoryDataIO::GetPosition()
{
    return static_cast<int32_t>(current - start);
}

int64_t MemoryDataIO::GetSize()
{
    return end - start;
}

int64_t MemoryDataIO::Seek(int64_t offset, int whence)
{
    const int64_t size = end - start;
    int64_t target = -1;
    if (offset >= -kLargestOffset && offset <= kLargestOffset)
    {
        if (whence == 0)
            target = offset;
        else if (whence == 1)
            target = (current - start) + offset;
        else if (whence == 2)
            target = size - offset;
    }
    if (start == nullptr || target < 0 || target >= size)
    {
        SetLastError(XResult::kBadSeek);
        return -1;
    }
    current = start + target;
    return target;
}

int MemoryDataIO::Fit(int count, int32_t shortCode)
{
    const int64_t available = end - current;
    if (count <= available)
        return count;
    SetLastError(shortCode);
    return static_cast<int>(available);
}

int MemoryDataIO::Read(void* buffer, int count)
{
    if (buffer == nullptr || count <= 0)
        return 0;
    const int copied = Fit(count, XResult::kShortRead);
    if (copied > 0)
        std::memcpy(buffer, current, static_cast<size_t>(copied));
    current += copied;
    return copied;
}

int MemoryDataIO::Write(const void* buffer, int count)
{
    if (buffer == nullptr || count <= 0)
        return 0;
    const int copied = Fit(count, XResult::kWriteRefused);
    if (copied > 0)
        std::memmove(current, buffer, static_cast<size_t>(copied));
    current += copied;
    return copied;
}
