#include "platform/PlatformGifDecoder.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace
{
/** Writes codes of growing width, least significant bit first, as GIF packs them. */
class BitWriter
{
public:
    void Write(int code, int bits)
    {
        for (int i = 0; i < bits; ++i, ++bitCount)
        {
            if (bitCount % 8 == 0)
                bytes.push_back(0);
            bytes.back() |= static_cast<uint8_t>(((code >> i) & 1) << (bitCount % 8));
        }
    }
    std::vector<uint8_t> bytes;

private:
    size_t bitCount = 0;
};

/** GIF LZW compression of colour indices (small pictures only: the table never fills). */
std::vector<uint8_t> CompressLzw(const std::vector<uint8_t>& indices, int rootBits)
{
    const int clearCode = 1 << rootBits;
    std::map<std::string, int> table;
    for (int i = 0; i < clearCode; ++i)
        table[std::string(1, static_cast<char>(i))] = i;
    int nextCode = clearCode + 2;
    int bits = rootBits + 1;
    BitWriter out;
    out.Write(clearCode, bits);
    std::string current;
    for (uint8_t index : indices)
    {
        const std::string extended = current + static_cast<char>(index);
        if (table.count(extended) != 0)
        {
            current = extended;
            continue;
        }
        out.Write(table[current], bits);
        table[extended] = nextCode++;
        if (nextCode > (1 << bits))
            ++bits;
        current = std::string(1, static_cast<char>(index));
    }
    out.Write(table[current], bits);
    out.Write(clearCode + 1, bits);
    return out.bytes;
}

/** A GIF of one picture with a four-colour global table (red, green, blue, white). */
std::vector<uint8_t> MakeGif(int width, int height, const std::vector<uint8_t>& storedIndices,
                             bool interlaced, int transparentIndex, int rootBits = 2)
{
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    const auto put16 = [&gif](int value)
    {
        gif.push_back(static_cast<uint8_t>(value & 0xFF));
        gif.push_back(static_cast<uint8_t>(value >> 8));
    };
    put16(width);
    put16(height);
    gif.insert(gif.end(), {0x81, 0, 0});
    gif.insert(gif.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    if (transparentIndex >= 0)
        gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparentIndex), 0});
    gif.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif.push_back(interlaced ? 0x40 : 0);
    gif.push_back(static_cast<uint8_t>(rootBits));
    const auto data = CompressLzw(storedIndices, 2);
    for (size_t start = 0; start < data.size(); start += 255)
    {
        const size_t length = std::min<size_t>(255, data.size() - start);
        gif.push_back(static_cast<uint8_t>(length));
        gif.insert(gif.end(), data.begin() + static_cast<long>(start),
                   data.begin() + static_cast<long>(start + length));
    }
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

const juce::Colour kPalette[] = {juce::Colour(0xFFFF0000), juce::Colour(0xFF00FF00), juce::Colour(0xFF0000FF),
                                 juce::Colour(0xFFFFFFFF)};

int IndexAt(int x, int y)
{
    return (x * y + x / 3) % 4;
}
} // namespace

TEST(PlatformGifDecoder, DecodesPicturesWhoseCodesGrowInOrderAndInterlaced)
{
    const int width = 40;
    const int height = 30;
    for (bool interlaced : {false, true})
    {
        // Rows are stored in the interlace order when interlaced.
        std::vector<int> order;
        for (int pass = 0, starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2}; pass < 4 && interlaced; ++pass)
            for (int y = starts[pass]; y < height; y += steps[pass])
                order.push_back(y);
        for (int y = 0; y < height && !interlaced; ++y)
            order.push_back(y);
        std::vector<uint8_t> stored;
        for (int y : order)
            for (int x = 0; x < width; ++x)
                stored.push_back(static_cast<uint8_t>(IndexAt(x, y)));

        const auto gif = MakeGif(width, height, stored, interlaced, -1);
        const juce::Image image = PlatformGifDecoder::Decode(gif.data(), gif.size());
        ASSERT_TRUE(image.isValid()) << interlaced;
        EXPECT_EQ(image.getWidth(), width);
        EXPECT_EQ(image.getHeight(), height);
        EXPECT_EQ(image.getFormat(), juce::Image::RGB);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.getPixelAt(x, y), kPalette[IndexAt(x, y)])
                    << x << "," << y << " " << interlaced;
    }
}

TEST(PlatformGifDecoder, ATransparentColourGivesAnAlphaChannel)
{
    const auto gif = MakeGif(2, 1, {0, 1}, false, 0);
    const juce::Image image = PlatformGifDecoder::Decode(gif.data(), gif.size());
    ASSERT_TRUE(image.isValid());
    EXPECT_EQ(image.getFormat(), juce::Image::ARGB);
    EXPECT_EQ(image.getPixelAt(0, 0).getAlpha(), 0);
    EXPECT_EQ(image.getPixelAt(1, 0), kPalette[1]);
}

TEST(PlatformGifDecoder, DamagedDataGivesNoPictureOrAPartialOne)
{
    std::vector<uint8_t> stored(12 * 10);
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<uint8_t>(i % 4);
    const auto good = MakeGif(12, 10, stored, false, -1);

    // An LZW code size beyond 8 bits (JUCE's loader overruns its tables on it).
    const auto wideCodes = MakeGif(12, 10, stored, false, -1, 92);
    EXPECT_FALSE(PlatformGifDecoder::Decode(wideCodes.data(), wideCodes.size()).isValid());
    const auto noPicture = std::vector<uint8_t>(good.begin(), good.begin() + 25);
    EXPECT_FALSE(PlatformGifDecoder::Decode(noPicture.data(), noPicture.size()).isValid());
    EXPECT_FALSE(PlatformGifDecoder::Decode("GIF87", 5).isValid());
    EXPECT_FALSE(PlatformGifDecoder::Decode(nullptr, 0).isValid());

    // Cut inside the picture data: what arrived is shown, the rest is black.
    const auto cut = std::vector<uint8_t>(good.begin(), good.end() - 12);
    const juce::Image partial = PlatformGifDecoder::Decode(cut.data(), cut.size());
    ASSERT_TRUE(partial.isValid());
    EXPECT_EQ(partial.getPixelAt(1, 0), kPalette[1]);
    EXPECT_EQ(partial.getPixelAt(11, 9), juce::Colour(0xFF000000));

    // Every prefix and random damage decode without reading outside the data.
    juce::Random random(0x61F);
    for (size_t length = 0; length <= good.size(); ++length)
        PlatformGifDecoder::Decode(good.data(), length);
    for (int round = 0; round < 500; ++round)
    {
        auto damaged = good;
        for (int hits = 1 + random.nextInt(4); hits > 0; --hits)
            damaged[static_cast<size_t>(6 + random.nextInt(static_cast<int>(damaged.size()) - 6))] =
                static_cast<uint8_t>(random.nextInt(256));
        const juce::Image image = PlatformGifDecoder::Decode(damaged.data(), damaged.size());
        if (image.isValid())
        {
            EXPECT_GT(image.getWidth(), 0);
        }
    }
}
