#pragma once

#include <cstddef>
#include <juce_graphics/juce_graphics.h>

/** Decodes the first picture of GIF data (GIF87a and GIF89a, interlaced or not, with a transparent
    colour) into a juce::Image: ARGB (premultiplied) when the picture has a transparent colour, else
    RGB, sized as the picture's own descriptor says (as JUCE's GIF loader does).

    Written for damaged data: every length and code is checked, so broken data gives a null image or
    a picture whose missing pixels are empty (black, or transparent with a transparent colour), never
    a read or write outside the data. (JUCE's own GIF loader trusts the LZW code size and its code
    chains.) Pictures larger than kMaxSide on a side are refused. Thread-safe (no shared state). */
class PlatformGifDecoder final
{
public:
    static constexpr int kMaxSide = 16384;

    /** Whether data starts with a GIF signature. */
    static bool IsGif(const void* data, size_t size);
    /** The first picture, or a null image when the data holds none. */
    static juce::Image Decode(const void* data, size_t size);

    PlatformGifDecoder() = delete;
};
