#include "platform/PlatformImageDecoder.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock Encode(juce::ImageFileFormat& format, const juce::Image& image)
{
    juce::MemoryOutputStream out;
    format.writeImageToStream(image, out);
    return out.getMemoryBlock();
}

juce::Image Decode(const juce::MemoryBlock& bytes)
{
    return PlatformImageDecoder::Decode(bytes.getData(), bytes.getSize());
}

/** A 1 x 1 GIF of one red pixel. */
const uint8_t kRedPixelGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                                0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
} // namespace

TEST(PlatformImageDecoder, DecodesPngWithAndWithoutTransparencyPixelForPixel)
{
    juce::Image argb(juce::Image::ARGB, 5, 3, true, juce::SoftwareImageType());
    argb.setPixelAt(0, 0, juce::Colour(0xFF102030));
    argb.setPixelAt(4, 2, juce::Colour(0x80FF0000));
    juce::PNGImageFormat png;
    const juce::Image decoded = Decode(Encode(png, argb));
    ASSERT_TRUE(decoded.isValid());
    EXPECT_EQ(decoded.getFormat(), juce::Image::ARGB);
    EXPECT_EQ(decoded.getWidth(), 5);
    EXPECT_EQ(decoded.getHeight(), 3);
    // Equal up to the rounding of premultiplied alpha.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
        {
            const juce::Colour got = decoded.getPixelAt(x, y);
            const juce::Colour wanted = argb.getPixelAt(x, y);
            EXPECT_EQ(got.getAlpha(), wanted.getAlpha()) << x << "," << y;
            EXPECT_NEAR(got.getRed(), wanted.getRed(), 3) << x << "," << y;
            EXPECT_NEAR(got.getGreen(), wanted.getGreen(), 3) << x << "," << y;
            EXPECT_NEAR(got.getBlue(), wanted.getBlue(), 3) << x << "," << y;
        }

    juce::Image rgb(juce::Image::RGB, 4, 4, true, juce::SoftwareImageType());
    rgb.clear(rgb.getBounds(), juce::Colour(0xFF336699));
    const juce::Image opaque = Decode(Encode(png, rgb));
    EXPECT_EQ(opaque.getFormat(), juce::Image::RGB);
    EXPECT_EQ(opaque.getPixelAt(3, 3), juce::Colour(0xFF336699));
}

TEST(PlatformImageDecoder, DecodesJpegAndGifAndRefusesOtherData)
{
    juce::Image picture(juce::Image::RGB, 16, 8, true, juce::SoftwareImageType());
    picture.clear(picture.getBounds(), juce::Colour(0xFF808080));
    juce::JPEGImageFormat jpeg;
    const juce::Image fromJpeg = Decode(Encode(jpeg, picture));
    ASSERT_TRUE(fromJpeg.isValid());
    EXPECT_EQ(fromJpeg.getFormat(), juce::Image::RGB);
    EXPECT_EQ(fromJpeg.getWidth(), 16);
    EXPECT_NEAR(fromJpeg.getPixelAt(8, 4).getRed(), 128, 3);

    const juce::Image fromGif = PlatformImageDecoder::Decode(kRedPixelGif, sizeof(kRedPixelGif));
    ASSERT_TRUE(fromGif.isValid());
    EXPECT_EQ(fromGif.getPixelAt(0, 0), juce::Colour(0xFFFF0000));

    EXPECT_FALSE(PlatformImageDecoder::Decode("BM not an image", 15).isValid());
    EXPECT_FALSE(PlatformImageDecoder::Decode(nullptr, 0).isValid());
}

TEST(PlatformImageDecoder, RandomAndDamagedDataNeverCrashesTheDecoders)
{
    // Whole images damaged in a few bytes or cut short, and signatures followed by random bytes,
    // as a damaged skin holds. JUCE's own loaders crash on many of these.
    juce::Image picture(juce::Image::ARGB, 12, 9, true, juce::SoftwareImageType());
    picture.clear({0, 0, 6, 9}, juce::Colour(0xFF2040FF));
    juce::PNGImageFormat png;
    juce::JPEGImageFormat jpeg;
    const juce::MemoryBlock samples[] = {Encode(png, picture), Encode(jpeg, picture),
                                         juce::MemoryBlock(kRedPixelGif, sizeof(kRedPixelGif))};
    juce::Random random(0xDECAF);
    for (int round = 0; round < 600; ++round)
    {
        const juce::MemoryBlock& sample = samples[round % 3];
        juce::MemoryBlock data;
        switch (round / 3 % 3)
        {
        case 0: // damaged in place
            data = sample;
            for (int hits = 1 + random.nextInt(6); hits > 0; --hits)
                data[static_cast<size_t>(random.nextInt(static_cast<int>(data.getSize())))] =
                    static_cast<char>(random.nextInt(256));
            break;
        case 1: // cut short
            data.append(sample.getData(),
                        static_cast<size_t>(random.nextInt(static_cast<int>(sample.getSize()))));
            break;
        default: // the signature, then noise
            data.append(sample.getData(), 6);
            for (int i = random.nextInt(400); i > 0; --i)
            {
                const auto byte = static_cast<char>(random.nextInt(256));
                data.append(&byte, 1);
            }
            break;
        }
        const juce::Image image = Decode(data);
        if (image.isValid())
        {
            EXPECT_GT(image.getWidth(), 0);
            EXPECT_LE(image.getWidth(), PlatformImageDecoder::kMaxSide);
        }
    }
}
