#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/** Command numbers of the unit's protocol (the same number may travel either way). */
namespace SimCommand
{
constexpr uint8_t kDeviceInfoRequest = 1;
constexpr uint8_t kDeviceInfo = 2;
constexpr uint8_t kReset = 3;
constexpr uint8_t kDisplay = 4;
constexpr uint8_t kValue = 5;
constexpr uint8_t kGetValue = 6;
constexpr uint8_t kAllValuesRequest = 7;
constexpr uint8_t kAllValues = 8;
constexpr uint8_t kRecall = 9;
constexpr uint8_t kStore = 10;
constexpr uint8_t kEnterBootloader = 11;
constexpr uint8_t kCommand12 = 12;
constexpr uint8_t kPresetInfo = 13;
constexpr uint8_t kPresetFlags = 14;
constexpr uint8_t kSetPresetFlags = 15;
constexpr uint8_t kEraseUserPresets = 18;
constexpr uint8_t kCompareRequest = 19;
constexpr uint8_t kCompareValue = 20;
constexpr uint8_t kBulkBracket = 21;
} // namespace SimCommand

/** Bits of the flag byte that travels with a value. */
namespace SimWireFlag
{
constexpr uint8_t kPanelLocked = 0x04;  // the editor's parameter flag 0x80
constexpr uint8_t kEditorFlag40 = 0x08; // the editor's parameter flag 0x40
constexpr uint8_t kEditorFlags = kPanelLocked | kEditorFlag40;
constexpr uint8_t kSlaveMeter = 0x40; // a slaved unit's meter reading
} // namespace SimWireFlag

/** One frame of the unit's protocol, without its header. */
struct SimFrame
{
    uint8_t address = 0;
    uint8_t command = 0;
    std::vector<uint8_t> payload;
};

/** Appends little-endian fields to a payload. */
class SimPayloadWriter final
{
public:
    explicit SimPayloadWriter(std::vector<uint8_t>& target) : bytes(target) {}
    SimPayloadWriter& U8(uint8_t value);
    SimPayloadWriter& U16(uint16_t value);
    SimPayloadWriter& U32(uint32_t value);
    SimPayloadWriter& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
    /** uint16 length, then the bytes, no terminator. */
    SimPayloadWriter& String(const std::string& text);

private:
    std::vector<uint8_t>& bytes;
};

/** Reads little-endian fields from a payload. A read past the end yields 0 and clears Ok(), so a
    caller checks once after reading every field it needs. */
class SimPayloadReader final
{
public:
    explicit SimPayloadReader(const std::vector<uint8_t>& source) : bytes(source) {}
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    bool Ok() const { return ok; }

private:
    bool Take(size_t count);

    const std::vector<uint8_t>& bytes;
    size_t position = 0;
    bool ok = true;
};

/** The simulated unit's own frame codec: it builds the frames the unit sends and cuts the byte
    stream that arrives on the editor's pipe back into frames.

    Wire layout (little-endian): magic 0xFFAA00BB (bytes BB 00 AA FF), uint32 total length 12 + n,
    uint8 version 3, uint8 address, uint8 command, uint8 payload length n, then n payload bytes.

    The FIFOs keep no write boundaries, so incoming frames are delimited by their header: a frame is
    accepted when its magic, version 3 and a length field equal to 12 + n agree. Anything else is
    dropped and reported, and the reader resynchronises on the next magic. A frame cut short never
    swallows the frame written after it: where a whole header of another frame begins inside the
    bytes a frame claims, the frame is dropped there. A frame whose rest does not arrive within
    kStaleFrameMs is given up (or, when it is whole and only its payload looked like another
    header's start, taken). Not thread-safe; one reader owns an instance. */
class SimFrameCodec final
{
public:
    static constexpr uint32_t kMagic = 0xFFAA00BB;
    static constexpr uint8_t kVersion = 3;
    static constexpr size_t kHeaderSize = 12;
    static constexpr size_t kMaxPayload = 255;
    static constexpr uint32_t kStaleFrameMs = 1000;

    /** The whole frame as it goes on the wire; empty when the payload exceeds kMaxPayload. */
    static std::vector<uint8_t> Encode(const SimFrame& frame);

    /** What the next call of Next found. */
    struct Decoded
    {
        enum class Kind
        {
            none,    ///< no complete frame buffered yet
            frame,   ///< frame holds a well-formed frame; bytes its wire bytes
            dropped, ///< bytes were dropped for the reason given
        };
        Kind kind = Kind::none;
        SimFrame frame;
        std::vector<uint8_t> bytes;
        std::string reason;
    };

    /** Adds bytes read from the pipe. */
    void Push(const uint8_t* data, size_t count);

    /** Takes the next frame or the next run of dropped bytes off the buffer. */
    Decoded Next();

    /** Gives up a frame that has waited for its rest for longer than kStaleFrameMs. */
    Decoded DropStale();

    /** Ends the stream (the writer closed): whatever is buffered is dropped. */
    Decoded Reset();

    size_t BufferedBytes() const { return buffer.size() - start; }

private:
    Decoded Drop(size_t count, const std::string& reason);
    /** Takes the whole frame of frameLength bytes at the head of the buffer. */
    Decoded TakeFrame(size_t frameLength);
    /** Whether a whole, consistent frame header lies at offset at (its 12 bytes are buffered). */
    bool IsHeaderAt(size_t at) const;
    /** Offset from the head at which another frame's header begins inside the frameLength bytes the
        head frame claims; 0 when none does. Sets nextFrameUndecided when a magic there still lacks
        the rest of its header. */
    size_t FindNextFrameWithin(size_t frameLength);
    size_t FindMagic(size_t from) const;
    size_t MagicPrefixAtEnd() const;
    void Consumed();

    std::vector<uint8_t> buffer;
    size_t start = 0;                // first byte not yet taken
    uint32_t headSinceTick = 0;      // tick at which the byte at start became the head of the buffer
    bool nextFrameUndecided = false; // the head frame waits to see whether a magic in it begins a frame
};
