#include "core/BitArray.h"

#include "core/XResult.h"

#include <cstring>

namespace
{
constexpr int kBitsPerByte = 8;
constexpr int kBitsPerWord = 32;
constexpr int64_t kMaxBits = static_cast<int64_t>(XMemory::kMaxSize) * kBitsPerByte;

int BytesFor(int bits)
{
    return static_cast<int>((static_cast<int64_t>(bits) + kBitsPerByte - 1) / kBitsPerByte);
}
} // namespace

bool BitArray::IsSet(int i) const
{
    if (i < 0 || i >= bitCount || i / kBitsPerByte >= GetLength() || GetData() == nullptr)
        return false;
    return (GetData()[i / kBitsPerByte] >> (i % kBitsPerByte) & 1) != 0;
}

void BitArray::Write(int i, bool value)
{
    uint8_t& byte = GetData()[i / kBitsPerByte];
    const auto mask = static_cast<uint8_t>(1u << (i % kBitsPerByte));
    byte = static_cast<uint8_t>(value ? byte | mask : byte & ~mask);
}

int32_t BitArray::Resize(int newCount)
{
    if (newCount < 0 || newCount > kMaxBits || !IsValid())
        return XResult::kFailed;
    const int oldCount = bitCount;
    const int32_t result = SetSize(BytesFor(newCount));
    if (result != 0)
        return result;
    bitCount = newCount;
    uint8_t* bytes = GetData();
    if (bytes == nullptr)
        return 0;
    // Bits beyond the count read as cleared: clear the rest of the last kept byte and every new byte.
    const int kept = newCount < oldCount ? newCount : oldCount;
    if (kept % kBitsPerByte != 0)
        bytes[kept / kBitsPerByte] &= static_cast<uint8_t>((1u << (kept % kBitsPerByte)) - 1);
    const int newBytes = BytesFor(newCount) - BytesFor(kept);
    if (newBytes > 0)
        std::memset(bytes + BytesFor(kept), 0, static_cast<size_t>(newBytes));
    return 0;
}

int32_t BitArray::Set(int i, bool value)
{
    if (i < 0)
        return XResult::kFailed;
    if (i >= bitCount)
        return InsertAt(i, value);
    Write(i, value);
    return 0;
}

int32_t BitArray::InsertAt(int i, bool value)
{
    if (i < -1)
        return XResult::kFailed;
    if (i == -1)
        i = bitCount;
    if (i >= bitCount)
    {
        const int32_t result = Resize(i + 1);
        if (result != 0)
            return result;
        Write(i, value);
        return 0;
    }
    const int oldCount = bitCount;
    const int32_t result = Resize(oldCount + 1);
    if (result != 0)
        return result;
    for (int bit = oldCount; bit > i; --bit)
        Write(bit, IsSet(bit - 1));
    Write(i, value);
    return 0;
}

int32_t BitArray::RemoveRun(int i, int count)
{
    if (static_cast<int64_t>(i) + count >= bitCount)
        return Resize(i);
    for (int bit = i; bit + count < bitCount; ++bit)
        Write(bit, IsSet(bit + count));
    return Resize(bitCount - count);
}

int32_t BitArray::RemoveBits(int i, int16_t count)
{
    if (count <= 0 || bitCount == 0 || i < 0 || i >= bitCount)
        return XResult::kFailed;
    return RemoveRun(i, count);
}

int32_t BitArray::SetBitCount(int n, bool value)
{
    if (n < 0)
        return XResult::kFailed;
    const int oldCount = bitCount;
    if (n == oldCount)
        return 0;
    if (n < oldCount)
        return RemoveRun(n, oldCount - n);
    const int32_t result = Resize(n);
    if (result != 0 || !value)
        return result;
    for (int bit = oldCount; bit < n; ++bit)
        Write(bit, true);
    return 0;
}

int BitArray::FindFirstSet() const
{
    const uint8_t* bytes = GetData();
    if (bytes == nullptr)
        return -1;
    const int byteCount = BytesFor(bitCount);
    for (int wordStart = 0; wordStart < byteCount; wordStart += kBitsPerWord / kBitsPerByte)
    {
        uint32_t word = 0;
        const int take = byteCount - wordStart < 4 ? byteCount - wordStart : 4;
        std::memcpy(&word, bytes + wordStart, static_cast<size_t>(take));
        if (word == 0)
            continue;
        const int bit = wordStart * kBitsPerByte + __builtin_ctz(word);
        return bit < bitCount ? bit : -1;
    }
    return -1;
}

int BitArray::FindLastSet() const
{
    for (int bit = bitCount - 1; bit >= 0; --bit)
        if (IsSet(bit))
            return bit;
    return -1;
}

bool BitArray::AnySet() const
{
    const uint8_t* bytes = GetData();
    if (bytes == nullptr)
        return false;
    const int wholeBytes = bitCount / kBitsPerByte;
    for (int b = 0; b < wholeBytes; ++b)
        if (bytes[b] != 0)
            return true;
    const int rest = bitCount % kBitsPerByte;
    return rest != 0 && (bytes[wholeBytes] & ((1u << rest) - 1)) != 0;
}

void BitArray::Clear()
{
    bitCount = 0;
    XMemory::Clear();
}

void BitArray::PadEnd(int)
{
    const int padded = BytesFor(bitCount) * kBitsPerByte;
    if (padded != bitCount)
        Resize(padded);
}

void BitArray::CountFromSize()
{
    bitCount = GetLength() * kBitsPerByte;
}
