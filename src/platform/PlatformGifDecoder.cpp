#include "platform/PlatformGifDecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
constexpr size_t kSignatureSize = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 9;
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kColourTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr uint8_t kTransparencyFlag = 0x01;
constexpr int kMaxColours = 256;
/** LZW codes have at most 12 bits. */
constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;
constexpr int kMinRootBits = 1;
constexpr int kMaxRootBits = 8;

/** Reads bytes of the data with bounds checks; a read past the end fails and stays failed. */
class ByteReader
{
public:
    ByteReader(const uint8_t* dataIn, size_t sizeIn) : data(dataIn), size(sizeIn) {}

    bool Read(uint8_t* out, size_t count)
    {
        if (count > size - position)
        {
            position = size;
            return false;
        }
        if (count > 0)
            std::memcpy(out, data + position, count);
        position += count;
        return true;
    }
    bool ReadByte(uint8_t& out) { return Read(&out, 1); }
    size_t Remaining() const { return size - position; }
    bool Skip(size_t count)
    {
        if (count > size - position)
        {
            position = size;
            return false;
        }
        position += count;
        return true;
    }

    /** Appends the chained sub-blocks (length byte, bytes; a zero length ends them) to out, or skips
        them when out is null; false when the data ends first. */
    bool ReadSubBlocks(std::vector<uint8_t>* out)
    {
        for (;;)
        {
            uint8_t length = 0;
            if (!ReadByte(length))
                return false;
            if (length == 0)
                return true;
            if (out == nullptr)
            {
                if (!Skip(length))
                    return false;
                continue;
            }
            // A block cut short by the end of the data keeps what is there.
            const size_t available = std::min<size_t>(length, Remaining());
            const size_t start = out->size();
            out->resize(start + available);
            Read(out->data() + start, available);
            if (available < length)
                return false;
        }
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

uint16_t LittleEndian16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

using Palette = std::array<juce::PixelARGB, kMaxColours>;

bool ReadPalette(ByteReader& reader, uint8_t flags, Palette& palette)
{
    const int count = 2 << (flags & 7);
    for (int i = 0; i < count; ++i)
    {
        uint8_t rgb[3];
        if (!reader.Read(rgb, sizeof(rgb)))
            return false;
        palette[static_cast<size_t>(i)].setARGB(0xFF, rgb[0], rgb[1], rgb[2]);
    }
    return true;
}

/** Expands LZW data into colour indices, in the order they are stored, until pixels is full or the
    data ends or turns invalid; returns the number of indices written. */
size_t ExpandLzw(const std::vector<uint8_t>& data, int rootBits, std::vector<uint8_t>& pixels)
{
    const int clearCode = 1 << rootBits;
    const int endCode = clearCode + 1;
    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint8_t, kMaxCodes> suffix{};
    std::array<uint8_t, kMaxCodes> firstByte{};
    for (int code = 0; code < clearCode; ++code)
    {
        suffix[static_cast<size_t>(code)] = static_cast<uint8_t>(code);
        firstByte[static_cast<size_t>(code)] = static_cast<uint8_t>(code);
    }
    std::array<uint8_t, kMaxCodes> text{};

    int codeBits = rootBits + 1;
    int nextCode = clearCode + 2;
    int previous = -1;
    size_t bitPosition = 0;
    const size_t totalBits = data.size() * 8;
    size_t written = 0;

    while (written < pixels.size() && bitPosition + static_cast<size_t>(codeBits) <= totalBits)
    {
        int code = 0;
        for (int bit = 0; bit < codeBits; ++bit, ++bitPosition)
            code |= ((data[bitPosition >> 3] >> (bitPosition & 7)) & 1) << bit;

        if (code == clearCode)
        {
            codeBits = rootBits + 1;
            nextCode = clearCode + 2;
            previous = -1;
            continue;
        }
        if (code == endCode)
            return written;
        if (previous < 0)
        {
            if (code > clearCode)
                return written; // the first code after a clear must be a single colour
            pixels[written++] = static_cast<uint8_t>(code);
            previous = code;
            continue;
        }
        if (code > nextCode || (code == nextCode && nextCode >= kMaxCodes))
            return written;

        // A new string: the previous one plus the first byte of this one (of itself when this code
        // is the one being defined).
        if (nextCode < kMaxCodes)
        {
            const auto entry = static_cast<size_t>(nextCode);
            prefix[entry] = static_cast<uint16_t>(previous);
            suffix[entry] = code < nextCode ? firstByte[static_cast<size_t>(code)]
                                            : firstByte[static_cast<size_t>(previous)];
            firstByte[entry] = firstByte[static_cast<size_t>(previous)];
            ++nextCode;
            if (nextCode == (1 << codeBits) && codeBits < kMaxCodeBits)
                ++codeBits;
        }

        // Every prefix is a smaller code than its entry, so the walk ends at a single colour.
        size_t length = 0;
        int walk = code;
        while (walk > endCode && length < text.size())
        {
            text[length++] = suffix[static_cast<size_t>(walk)];
            walk = prefix[static_cast<size_t>(walk)];
        }
        if (walk >= clearCode || length >= text.size())
            return written;
        text[length++] = static_cast<uint8_t>(walk);
        while (length > 0 && written < pixels.size())
            pixels[written++] = text[--length];
        previous = code;
    }
    return written;
}

/** The stored row of each output row: rows in order, or the four interlace passes. */
std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> order;
    order.reserve(static_cast<size_t>(height));
    if (!interlaced)
    {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass])
            order.push_back(y);
    return order;
}
} // namespace

bool PlatformGifDecoder::IsGif(const void* data, size_t size)
{
    return data != nullptr && size >= kSignatureSize &&
           (std::memcmp(data, "GIF87a", kSignatureSize) == 0 ||
            std::memcmp(data, "GIF89a", kSignatureSize) == 0);
}

juce::Image PlatformGifDecoder::Decode(const void* data, size_t size)
{
    if (!IsGif(data, size))
        return {};
    ByteReader reader(static_cast<const uint8_t*>(data), size);
    reader.Skip(kSignatureSize);
    uint8_t screen[kScreenDescriptorSize];
    if (!reader.Read(screen, sizeof(screen)))
        return {};

    Palette palette;
    palette.fill(juce::PixelARGB(0xFF, 0, 0, 0));
    if ((screen[4] & kColourTableFlag) != 0 && !ReadPalette(reader, screen[4], palette))
        return {};

    int transparentIndex = -1;
    for (;;)
    {
        uint8_t introducer = 0;
        if (!reader.ReadByte(introducer) || introducer == kTrailer)
            return {};
        if (introducer == kExtensionIntroducer)
        {
            uint8_t label = 0;
            if (!reader.ReadByte(label))
                return {};
            std::vector<uint8_t> extension;
            if (!reader.ReadSubBlocks(label == kGraphicControlLabel ? &extension : nullptr))
                return {};
            if (label == kGraphicControlLabel && extension.size() >= 4)
                transparentIndex = (extension[0] & kTransparencyFlag) != 0 ? extension[3] : -1;
            continue;
        }
        if (introducer != kImageSeparator)
            return {};

        uint8_t descriptor[kImageDescriptorSize];
        if (!reader.Read(descriptor, sizeof(descriptor)))
            return {};
        const int width = LittleEndian16(descriptor + 4);
        const int height = LittleEndian16(descriptor + 6);
        const uint8_t flags = descriptor[8];
        if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
            return {};
        if ((flags & kColourTableFlag) != 0 && !ReadPalette(reader, flags, palette))
            return {};
        uint8_t rootBits = 0;
        if (!reader.ReadByte(rootBits) || rootBits < kMinRootBits || rootBits > kMaxRootBits)
            return {};
        std::vector<uint8_t> compressed;
        reader.ReadSubBlocks(&compressed); // a cut-off picture shows what arrived

        std::vector<uint8_t> indices(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        const size_t decoded = ExpandLzw(compressed, rootBits, indices);

        const bool hasAlpha = transparentIndex >= 0;
        if (hasAlpha)
            palette[static_cast<size_t>(transparentIndex)].setARGB(0, 0, 0, 0);
        juce::Image image(hasAlpha ? juce::Image::ARGB : juce::Image::RGB, width, height, true,
                          juce::SoftwareImageType());
        const juce::Image::BitmapData target(image, juce::Image::BitmapData::writeOnly);
        const std::vector<int> rows = RowOrder(height, (flags & kInterlaceFlag) != 0);
        // Pixels that were not decoded stay as the cleared image has them.
        for (size_t i = 0; i < decoded; ++i)
        {
            const int x = static_cast<int>(i % static_cast<size_t>(width));
            const int stored = static_cast<int>(i / static_cast<size_t>(width));
            uint8_t* pixel = target.getPixelPointer(x, rows[static_cast<size_t>(stored)]);
            juce::PixelARGB colour = palette[indices[i]];
            colour.premultiply();
            if (hasAlpha)
                reinterpret_cast<juce::PixelARGB*>(pixel)->set(colour);
            else
                reinterpret_cast<juce::PixelRGB*>(pixel)->set(colour);
        }
        return image;
    }
}
