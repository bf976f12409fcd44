#pragma once

#include "core/XResult.h"

#include <cstdint>

class XString;

/** The framework's byte-stream interface: position, size, seek, read, write, close and validity,
    with typed reads and writes of 8-, 16- and 32-bit integers, 32-bit floats and two string forms.

    Byte order 1 (the default of every stream) stores values in the processor's little-endian order;
    any other value byte-reverses the Read/Write forms of 16- and 32-bit values and floats. The
    Get/Put forms and the 16-bit string form never swap.

    Each failing operation stores its code as the stream's last error (0x80000007 short read,
    0x80000008 write refused or short, 0x80000009 bad seek target); nothing clears it but the
    stream itself. Streams take no locks. */
class IDataIO
{
public:
    static constexpr int32_t kNativeOrder = 1;

    IDataIO() = default;
    virtual ~IDataIO() = default;

    virtual int32_t GetPosition() = 0;
    virtual int64_t GetSize() = 0;
    /** whence 0 from the start, 1 from the current position, 2 back from the end. */
    virtual int64_t Seek(int64_t offset, int whence) = 0;
    /** Returns the number of bytes read. */
    virtual int Read(void* buffer, int count) = 0;
    /** Returns the number of bytes written. */
    virtual int Write(const void* buffer, int count) = 0;
    virtual int32_t Close() = 0;
    virtual bool IsValid() = 0;

    IDataIO& WriteInt8(int value);
    int PutInt8(int value);
    IDataIO& WriteInt16(int value);
    IDataIO& WriteInt32(int value);
    IDataIO& WriteFloat(float value);
    /** Never swapped; returns the bytes written. */
    int PutInt32(int value);
    int PutFloat(float value);

    /** 255 on a short read. */
    uint8_t GetInt8();
    /** Never swapped; 0xFFFF on a short read. */
    uint16_t GetInt16();
    /** Never swapped; -1 on a short read. */
    int32_t GetInt32();
    /** Never swapped; the bits 0xFFFFFFFF on a short read. */
    float GetFloat();
    /** Swapped by the byte order; value 0 on a short read. */
    IDataIO& ReadInt16(int16_t& value);
    IDataIO& ReadInt32(int32_t& value);

    /** int32 length counting the zero (swapped by the byte order), the characters and the zero;
        null writes only an int32 0. */
    IDataIO& WriteString(const char* text);
    /** The form of WriteString. A length of 0, an earlier error, a negative length or one beyond
        the bytes left gives "" (the last two with 0x80000007). */
    IDataIO& ReadString(XString& text);
    /** uint16 length (the text length modulo 65536, never swapped), then that many characters. */
    IDataIO& WriteString16(const char* text);
    /** The form of WriteString16; a length beyond the bytes left or a short read gives "" and
        0x80000007. */
    IDataIO& ReadString16(XString& text);

    int32_t GetLastError() const { return lastError; }
    void SetLastError(int32_t code) { lastError = code; }
    int32_t GetByteOrder() const { return byteOrder; }
    void SetByteOrder(int32_t order) { byteOrder = order; }

protected:
    /** Bytes from the position to the end, 0 when none. */
    int64_t BytesLeft();

private:
    bool Swaps() const { return byteOrder != kNativeOrder; }
    /** Reads exactly count bytes; false (and 0x80000007) on a short read. */
    bool ReadExactly(void* buffer, int count);

    int32_t lastError = 0;
    int32_t byteOrder = kNativeOrder;
};
