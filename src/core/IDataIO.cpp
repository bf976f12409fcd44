#include "core/IDataIO.h"

#include "core/XResult.h"
#include "core/XString.h"

#include <cstring>

namespace
{
/** value as count bytes, lowest first (little-endian) or highest first. */
void Encode(uint32_t value, int count, bool bigEndian, uint8_t* out)
{
    for (int i = 0; i < count; ++i)
        out[bigEndian ? count - 1 - i : i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Decode(const uint8_t* in, int count, bool bigEndian)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<uint32_t>(in[bigEndian ? count - 1 - i : i]) << (8 * i);
    return value;
}

uint32_t FloatBits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsToFloat(uint32_t bits)
{
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

constexpr uint32_t kStringLength16Mask = 0xFFFF;
} // namespace

int64_t IDataIO::BytesLeft()
{
    const int64_t left = GetSize() - GetPosition();
    return left > 0 ? left : 0;
}

bool IDataIO::ReadExactly(void* buffer, int count)
{
    if (Read(buffer, count) == count)
        return true;
    lastError = XResult::kShortRead;
    return false;
}

IDataIO& IDataIO::WriteInt8(int value)
{
    PutInt8(value);
    return *this;
}

int IDataIO::PutInt8(int value)
{
    const uint8_t byte = static_cast<uint8_t>(value);
    return Write(&byte, 1);
}

IDataIO& IDataIO::WriteInt16(int value)
{
    uint8_t bytes[2];
    Encode(static_cast<uint32_t>(value), 2, Swaps(), bytes);
    Write(bytes, 2);
    return *this;
}

IDataIO& IDataIO::WriteInt32(int value)
{
    uint8_t bytes[4];
    Encode(static_cast<uint32_t>(value), 4, Swaps(), bytes);
    Write(bytes, 4);
    return *this;
}

IDataIO& IDataIO::WriteFloat(float value)
{
    return WriteInt32(static_cast<int>(FloatBits(value)));
}

int IDataIO::PutInt32(int value)
{
    uint8_t bytes[4];
    Encode(static_cast<uint32_t>(value), 4, false, bytes);
    return Write(bytes, 4);
}

int IDataIO::PutFloat(float value)
{
    return PutInt32(static_cast<int>(FloatBits(value)));
}

uint8_t IDataIO::GetInt8()
{
    uint8_t byte = 0;
    return ReadExactly(&byte, 1) ? byte : 0xFF;
}

uint16_t IDataIO::GetInt16()
{
    uint8_t bytes[2];
    return ReadExactly(bytes, 2) ? static_cast<uint16_t>(Decode(bytes, 2, false)) : 0xFFFF;
}

int32_t IDataIO::GetInt32()
{
    uint8_t bytes[4];
    return ReadExactly(bytes, 4) ? static_cast<int32_t>(Decode(bytes, 4, false)) : -1;
}

float IDataIO::GetFloat()
{
    uint8_t bytes[4];
    return BitsToFloat(ReadExactly(bytes, 4) ? Decode(bytes, 4, false) : 0xFFFFFFFFu);
}

IDataIO& IDataIO::ReadInt16(int16_t& value)
{
    uint8_t bytes[2];
    value = ReadExactly(bytes, 2) ? static_cast<int16_t>(Decode(bytes, 2, Swaps())) : 0;
    return *this;
}

IDataIO& IDataIO::ReadInt32(int32_t& value)
{
    uint8_t bytes[4];
    value = ReadExactly(bytes, 4) ? static_cast<int32_t>(Decode(bytes, 4, Swaps())) : 0;
    return *this;
}

IDataIO& IDataIO::WriteString(const char* text)
{
    if (text == nullptr)
        return WriteInt32(0);
    const int withZero = static_cast<int>(std::strlen(text)) + 1;
    WriteInt32(withZero);
    Write(text, withZero);
    return *this;
}

IDataIO& IDataIO::ReadString(XString& text)
{
    int32_t length = 0;
    ReadInt32(length);
    if (length == 0 || lastError != 0)
    {
        text = XString();
        return *this;
    }
    // A length that the stream cannot hold is damage, not a reason to allocate it.
    if (length < 0 || length > BytesLeft())
    {
        lastError = XResult::kShortRead;
        text = XString();
        return *this;
    }
    if (length == 1)
    {
        uint8_t zero = 0;
        ReadExactly(&zero, 1);
        text = XString();
        return *this;
    }
    text.Reserve(length - 1);
    char* buffer = text.GetBuffer();
    if (!ReadExactly(buffer, length))
    {
        text = XString();
        return *this;
    }
    buffer[length - 1] = 0;
    return *this;
}

IDataIO& IDataIO::WriteString16(const char* text)
{
    const int length = text == nullptr ? 0 : static_cast<int>(std::strlen(text) & kStringLength16Mask);
    uint8_t bytes[2];
    Encode(static_cast<uint32_t>(length), 2, false, bytes);
    Write(bytes, 2);
    if (length > 0)
        Write(text, length);
    return *this;
}

IDataIO& IDataIO::ReadString16(XString& text)
{
    uint8_t bytes[2];
    if (!ReadExactly(bytes, 2))
    {
        text = XString();
        return *this;
    }
    const int length = static_cast<int>(Decode(bytes, 2, false));
    if (length == 0)
    {
        text = XString();
        return *this;
    }
    if (length > BytesLeft())
    {
        lastError = XResult::kShortRead;
        text = XString();
        return *this;
    }
    text.Reserve(length);
    char* buffer = text.GetBuffer();
    if (!ReadExactly(buffer, length))
    {
        text = XString();
        return *this;
    }
    buffer[length] = 0;
    return *this;
}
