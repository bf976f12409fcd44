#pragma once

#include <cstddef>
#include <juce_graphics/juce_graphics.h>

/** Decodes the image formats that JUCE reads on this system (PNG, JPEG, GIF), recognised by their
    content, in place of JUCE's loaders, which crash on damaged data here: built against the system's
    libpng and libjpeg they let the libraries' error handlers return, which the libraries do not
    allow, and their GIF reader trusts the data's code sizes. PNG and JPEG go through the system
    libraries with handlers that jump out on every error, GIF through PlatformGifDecoder; damaged
    data gives a null image. Images larger than kMaxSide pixels on a side are refused.

    The result has JUCE's layout: ARGB (premultiplied) when the picture has transparency, else RGB.
    Thread-safe (no shared state). */
class PlatformImageDecoder final
{
public:
    static constexpr int kMaxSide = 16384;

    /** The picture of PNG, JPEG or GIF data, by content; a null image for anything else and for data
        that does not decode. */
    static juce::Image Decode(const void* data, size_t size);

    /** Whether data starts as PNG or JPEG data does; the decoders check the rest. */
    static bool IsPng(const void* data, size_t size);
    static bool IsJpeg(const void* data, size_t size);

    /** The decoded picture, or a null image when the data does not decode. */
    static juce::Image DecodePng(const void* data, size_t size);
    static juce::Image DecodeJpeg(const void* data, size_t size);

    PlatformImageDecoder() = delete;
};
