#pragma once

#include "device/TWMsgBuf.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

/** Byte-level helpers for tests of frames: hand-made frames and the contents of a buffer. */
namespace FrameBytes
{
using Bytes = std::vector<uint8_t>;

/** One frame as it left or arrived: its command and payload. */
struct Sent
{
    int command;
    Bytes payload;
    bool operator==(const Sent& other) const { return command == other.command && payload == other.payload; }
};

inline void PrintTo(const Sent& sent, std::ostream* out)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    *out << "command " << sent.command << " [";
    for (uint8_t byte : sent.payload)
        *out << ' ' << kDigits[byte >> 4] << kDigits[byte & 0xF];
    *out << " ]";
}

/** The little-endian uint16 at a position, as wire ids travel. */
inline int U16At(const Bytes& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8);
}

inline Bytes Contents(const TWMsgBuf& buffer)
{
    if (buffer.GetByteCount() == 0)
        return {};
    return Bytes(buffer.GetBytes(), buffer.GetBytes() + buffer.GetByteCount());
}

/** A frame as the unit sends it: magic, total length, version, address 0, command, payload. */
inline Bytes Frame(int version, int command, const Bytes& payload)
{
    const uint8_t size = static_cast<uint8_t>(payload.size());
    const uint8_t header[] = {0xBB,
                              0x00,
                              0xAA,
                              0xFF,
                              static_cast<uint8_t>(12 + size),
                              0,
                              0,
                              0,
                              static_cast<uint8_t>(version),
                              0,
                              static_cast<uint8_t>(command),
                              size};
    Bytes frame(header, header + sizeof header);
    frame.resize(sizeof header + payload.size());
    std::copy(payload.begin(), payload.end(), frame.begin() + sizeof header);
    return frame;
}
} // namespace FrameBytes
