#pragma once

#include <cstdint>

class XString;
namespace juce
{
class Colour;
}

/** A colour of four bytes in the order red, green, blue, alpha (alpha 255 is opaque): the value type
    that messages, views, preferences and the skin's colour tables carry. A default colour is opaque
    black. */
struct XRGB
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    constexpr XRGB() = default;
    constexpr XRGB(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
        : r(red), g(green), b(blue), a(alpha)
    {
    }

    void Assign(const XRGB& other) { *this = other; }
    bool Equals(const XRGB& other) const
    {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
    bool operator==(const XRGB& other) const { return Equals(other); }
    bool operator!=(const XRGB& other) const { return !Equals(other); }

    /** The same colour as JUCE draws it (callers include juce_graphics). */
    juce::Colour ToColour() const;
    /** Red, green and blue times |percent| / 100, truncated and held to 255; alpha kept. */
    void ScaleBrightness(double percent);
    /** A copy of colour with ScaleBrightness(percent) applied. */
    static XRGB Scaled(XRGB colour, double percent)
    {
        colour.ScaleBrightness(percent);
        return colour;
    }
    /** Adds delta to red, green and blue, held back so that none leaves 0..255 (all three move by
        the same amount, so the hue stays); alpha kept. */
    void ShiftBrightness(int16_t delta);

    /** Colour text to a colour, blanks ignored: "r,g,b" or "r,g,b,a" (each number kept modulo 256,
        alpha 255 unless a fourth integer follows), else a colour name recognised by its first
        letters ("black", "blue", "dark...", "green", "grey"/"gray", "light...", "off...", "red",
        "white", "yellow"). Anything else gives opaque black. */
    static XRGB Parse(const XString& text);
};
