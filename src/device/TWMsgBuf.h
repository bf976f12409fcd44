#pragma once

#include "core/XMemoryIO.h"

#include <cstdint>
#include <memory>

class XMemory;

/** The buffer in which frames to and from the unit are built and read: a read/write byte stream
    over a buffer of its own, with separate read and write positions, in little-endian order.

    A frame is a 12-byte header (magic 0xFFAA00BB, uint32 total length, version 3, address,
    command, payload length n) followed by n <= 255 payload bytes. Reads past the end give all
    ones and the short-read code 0x80000007, as on every stream.

    Not shared between threads: each sender builds its frame in a buffer of its own. */
class TWMsgBuf : public XMemoryIO
{
public:
    static constexpr uint32_t kFrameMagic = 0xFFAA00BBu;
    static constexpr int kFrameVersion = 3;
    static constexpr int kHeaderSize = 12;
    static constexpr int kLengthOffset = 4;
    /** Offset of the version byte: where a received frame's parsing begins. */
    static constexpr int kVersionOffset = 8;
    static constexpr int kPayloadLengthOffset = 11;
    static constexpr int kMaxPayloadSize = 255;
    static constexpr int kMaxFrameSize = kHeaderSize + kMaxPayloadSize;

    TWMsgBuf();
    ~TWMsgBuf() override;
    TWMsgBuf(const TWMsgBuf&) = delete;
    TWMsgBuf& operator=(const TWMsgBuf&) = delete;

    /** Empties the buffer and writes the magic and a placeholder length of 8. */
    void BeginFrame();
    /** Stores the buffer's byte count, little-endian, into bytes 4..7; 0x80000001 when the buffer
        is shorter than a length field needs. */
    int32_t PatchFrameLength();
    /** Replaces the whole contents with count bytes and rewinds reading to byte 0 (writing goes on
        behind them); 0x80000001 for a negative count, null data or no memory (the buffer is then
        empty). */
    int32_t SetContents(const void* data, int count);

    int GetByteCount() const;
    /** The contents; null while the buffer has never held a byte. */
    const uint8_t* GetBytes() const;

private:
    std::unique_ptr<XMemory> buffer;
};
