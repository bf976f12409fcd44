#include "SimFrameCodec.h"

#include "platform/PlatformClock.h"

#include <algorithm>

namespace
{
constexpr uint8_t kMagicBytes[4] = {0xBB, 0x00, 0xAA, 0xFF};
constexpr size_t kCompactAfterBytes = 4096;

uint32_t ReadU32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}
} // namespace

SimPayloadWriter& SimPayloadWriter::U8(uint8_t value)
{
    bytes.push_back(value);
    return *this;
}

SimPayloadWriter& SimPayloadWriter::U16(uint16_t value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
    return *this;
}

SimPayloadWriter& SimPayloadWriter::U32(uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    return *this;
}

SimPayloadWriter& SimPayloadWriter::String(const std::string& text)
{
    U16(static_cast<uint16_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
}

bool SimPayloadReader::Take(size_t count)
{
    if (!ok || bytes.size() - position < count)
    {
        ok = false;
        return false;
    }
    position += count;
    return true;
}

uint8_t SimPayloadReader::U8()
{
    return Take(1) ? bytes[position - 1] : 0;
}

uint16_t SimPayloadReader::U16()
{
    if (!Take(2))
        return 0;
    return static_cast<uint16_t>(bytes[position - 2] | bytes[position - 1] << 8);
}

uint32_t SimPayloadReader::U32()
{
    return Take(4) ? ReadU32(&bytes[position - 4]) : 0;
}

std::vector<uint8_t> SimFrameCodec::Encode(const SimFrame& frame)
{
    if (frame.payload.size() > kMaxPayload)
        return {};
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderSize + frame.payload.size());
    SimPayloadWriter(bytes)
        .U32(kMagic)
        .U32(static_cast<uint32_t>(kHeaderSize + frame.payload.size()))
        .U8(kVersion)
        .U8(frame.address)
        .U8(frame.command)
        .U8(static_cast<uint8_t>(frame.payload.size()));
    bytes.insert(bytes.end(), frame.payload.begin(), frame.payload.end());
    return bytes;
}

void SimFrameCodec::Push(const uint8_t* data, size_t count)
{
    if (count == 0)
        return;
    if (BufferedBytes() == 0)
        headSinceTick = PlatformClock::GetTickCount();
    buffer.insert(buffer.end(), data, data + count);
}

size_t SimFrameCodec::MagicPrefixAtEnd() const
{
    for (size_t length = std::min(sizeof kMagicBytes - 1, BufferedBytes()); length > 0; --length)
    {
        if (std::equal(buffer.end() - static_cast<std::ptrdiff_t>(length), buffer.end(), kMagicBytes))
            return length;
    }
    return 0;
}

size_t SimFrameCodec::FindMagic(size_t from) const
{
    for (size_t at = from; at + sizeof kMagicBytes <= buffer.size(); ++at)
    {
        if (buffer[at] == kMagicBytes[0] && buffer[at + 1] == kMagicBytes[1] &&
            buffer[at + 2] == kMagicBytes[2] && buffer[at + 3] == kMagicBytes[3])
            return at;
    }
    return buffer.size();
}

void SimFrameCodec::Consumed()
{
    if (start == buffer.size())
    {
        buffer.clear();
        start = 0;
    }
    else if (start >= kCompactAfterBytes)
    {
        buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(start));
        start = 0;
    }
    // The new head arrived with the bytes already buffered; restart its wait from now on.
    headSinceTick = PlatformClock::GetTickCount();
}

SimFrameCodec::Decoded SimFrameCodec::Drop(size_t count, const std::string& reason)
{
    Decoded result;
    result.kind = Decoded::Kind::dropped;
    result.reason = reason;
    result.bytes.assign(buffer.begin() + static_cast<std::ptrdiff_t>(start),
                        buffer.begin() + static_cast<std::ptrdiff_t>(start + count));
    start += count;
    Consumed();
    return result;
}

SimFrameCodec::Decoded SimFrameCodec::Next()
{
    const size_t available = BufferedBytes();
    if (available == 0)
        return {};

    const size_t magicAt = FindMagic(start);
    if (magicAt != start)
    {
        // Garbage before a magic, or no magic at all: keep only a tail that may begin one.
        const size_t garbage = magicAt < buffer.size() ? magicAt - start : available - MagicPrefixAtEnd();
        if (garbage == 0)
            return {};
        return Drop(garbage, "no frame magic");
    }
    if (available < kHeaderSize)
        return {};

    const uint8_t* header = &buffer[start];
    const uint32_t length = ReadU32(header + 4);
    const uint8_t version = header[8];
    const size_t payloadLength = header[11];
    const size_t frameLength = kHeaderSize + payloadLength;
    if (length != frameLength)
    {
        // A false magic or a broken header: skip to the next magic.
        const size_t nextMagic = FindMagic(start + 1);
        const size_t skip = nextMagic < buffer.size() ? nextMagic - start : 1;
        return Drop(skip, "length field " + std::to_string(length) + " is not 12 + " +
                              std::to_string(payloadLength));
    }
    // A frame cut short (its writer died mid-write) is followed by the next whole frame, which
    // would otherwise be taken for its missing bytes.
    const size_t cutAt = FindNextFrameWithin(frameLength);
    if (cutAt != 0)
        return Drop(cutAt, "frame cut short by the next frame");
    if (available < frameLength || nextFrameUndecided)
        return {};
    if (version != kVersion)
        return Drop(frameLength, "version " + std::to_string(version));
    return TakeFrame(frameLength);
}

SimFrameCodec::Decoded SimFrameCodec::TakeFrame(size_t frameLength)
{
    const uint8_t* header = &buffer[start];
    Decoded result;
    result.kind = Decoded::Kind::frame;
    result.frame.address = header[9];
    result.frame.command = header[10];
    result.frame.payload.assign(header + kHeaderSize, header + frameLength);
    result.bytes.assign(header, header + frameLength);
    start += frameLength;
    Consumed();
    return result;
}

bool SimFrameCodec::IsHeaderAt(size_t at) const
{
    const uint8_t* header = &buffer[at];
    return ReadU32(header) == kMagic && header[8] == kVersion &&
           ReadU32(header + 4) == kHeaderSize + header[11];
}

size_t SimFrameCodec::FindNextFrameWithin(size_t frameLength)
{
    nextFrameUndecided = false;
    const size_t end = std::min(start + frameLength, buffer.size());
    for (size_t at = FindMagic(start + kHeaderSize); at < end; at = FindMagic(at + 1))
    {
        if (at + kHeaderSize > buffer.size())
        {
            // A magic inside the frame whose header has not all come: a cut, or payload bytes that
            // look like a magic. The rest of the header, or the stale rule, decides.
            nextFrameUndecided = true;
            return 0;
        }
        if (IsHeaderAt(at))
            return at - start;
    }
    return 0;
}

SimFrameCodec::Decoded SimFrameCodec::DropStale()
{
    const uint32_t now = PlatformClock::GetTickCount();
    if (BufferedBytes() == 0 || PlatformClock::TicksSince(headSinceTick, now) <= kStaleFrameMs)
        return {};
    // A whole frame held back only because its payload looks like the start of another one.
    if (nextFrameUndecided && BufferedBytes() >= kHeaderSize)
    {
        const size_t frameLength = kHeaderSize + buffer[start + 11];
        if (BufferedBytes() >= frameLength && buffer[start + 8] == kVersion)
        {
            nextFrameUndecided = false;
            return TakeFrame(frameLength);
        }
    }
    const size_t nextMagic = FindMagic(start + 1);
    return Drop((nextMagic < buffer.size() ? nextMagic : buffer.size()) - start,
                "incomplete frame timed out");
}

SimFrameCodec::Decoded SimFrameCodec::Reset()
{
    if (BufferedBytes() == 0)
        return {};
    return Drop(BufferedBytes(), "incomplete frame at end of stream");
}
