#include "core/XMemoryIO.h"

#include "core/XMemory.h"
#include "core/XResult.h"

#include <cstdint>
#include <cstring>

XMemoryIO::XMemoryIO(XMemory* memoryToUse, int streamFlags) : flags(streamFlags), memory(memoryToUse) {}

int32_t XMemoryIO::GetPosition()
{
    return IsReadable() ? readPosition : writePosition;
}

int64_t XMemoryIO::GetSize()
{
    return memory == nullptr ? 0 : memory->GetLength();
}

bool XMemoryIO::IsValid()
{
    return memory != nullptr && memory->IsValid();
}

int64_t XMemoryIO::Seek(int64_t offset, int whence)
{
    if (memory == nullptr)
    {
        SetLastError(XResult::kBadSeek);
        return -1;
    }
    const int64_t used = memory->GetLength();
    int64_t target = 0;
    bool accepted = true;
    switch (whence)
    {
    case 0:
        target = offset;
        break;
    case 1:
        target = GetPosition() + offset;
        break;
    case 2:
        accepted = offset < used;
        target = used - offset;
        break;
    default:
        accepted = false;
        break;
    }
    if (accepted && (target < 0 || target > XMemory::kMaxSize - 1))
        accepted = false;
    if (accepted && target >= used)
    {
        if (!IsWritable())
            accepted = false;
        else if (target > used)
        {
            const int newLength = static_cast<int>(target) + 1;
            accepted = memory->SetCapacity(newLength, false) == 0;
            if (accepted)
                memory->SetLength(newLength);
        }
    }
    if (!accepted)
    {
        SetLastError(XResult::kBadSeek);
        return -1;
    }
    if (IsReadable())
        readPosition = static_cast<int32_t>(target);
    else
        writePosition = static_cast<int32_t>(target);
    return target;
}

int XMemoryIO::Read(void* buffer, int count)
{
    if (!IsReadable() || memory == nullptr)
    {
        SetLastError(XResult::kShortRead);
        return 0;
    }
    if (buffer == nullptr || count <= 0)
        return 0;
    const int32_t used = memory->GetLength();
    const int32_t available = readPosition >= 0 && readPosition < used ? used - readPosition : 0;
    const int copied = count < available ? count : available;
    if (copied > 0)
        std::memcpy(buffer, memory->GetData() + readPosition, static_cast<size_t>(copied));
    readPosition += copied;
    if (copied < count)
        SetLastError(XResult::kShortRead);
    return copied;
}

int XMemoryIO::Write(const void* buffer, int count)
{
    if (!IsWritable() || memory == nullptr || buffer == nullptr || count < 0)
    {
        SetLastError(XResult::kWriteRefused);
        return 0;
    }
    if (count == 0)
        return 0;
    int32_t& position = (flags & kSharedPosition) == kSharedPosition ? readPosition : writePosition;
    const int64_t end = static_cast<int64_t>(position) + count;
    if (position < 0 || end > XMemory::kMaxSize)
    {
        SetLastError(XResult::kWriteRefused);
        return 0;
    }
    // The bytes may come from the memory itself, which the growth moves.
    const int64_t selfOffset = memory->OffsetOf(buffer);
    if (end > memory->GetLength())
    {
        if (memory->SetCapacity(static_cast<int>(end), false) != 0)
        {
            SetLastError(XResult::kWriteRefused);
            return 0;
        }
        memory->SetLength(static_cast<int>(end));
    }
    const void* from = selfOffset >= 0 ? memory->GetData() + selfOffset : buffer;
    std::memmove(memory->GetData() + position, from, static_cast<size_t>(count));
    position += count;
    return count;
}
