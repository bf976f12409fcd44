#include "core/XRGB.h"

#include "core/XString.h"

#include <algorithm>
#include <cmath>
#include <juce_graphics/juce_graphics.h>

namespace
{
/** The integer of a comma-separated part, kept to its low byte as the colour tables store it. */
uint8_t LowByteOf(const XString& part)
{
    return static_cast<uint8_t>(static_cast<unsigned>(part.ToInt()) & 0xFFu);
}

/** Colour names are recognised by a few letters, not spelled out in full. */
XRGB ColourFromName(const XString& lowerName)
{
    const char first = lowerName.CharAt(0);
    const char second = lowerName.CharAt(1);
    const char third = lowerName.CharAt(2);
    switch (first)
    {
    case 'b':
        if (third == 'a')
            return XRGB(0, 0, 0);
        if (second == 'l')
            return XRGB(0, 0, 255);
        break;
    case 'd':
        return XRGB(50, 50, 50);
    case 'g':
        // "grey" shares its third letter with "green"; it is recognised before the letter rule.
        if (lowerName.StartsWith("grey") || third == 'a')
            return XRGB(100, 100, 100);
        if (third == 'e')
            return XRGB(0, 255, 0);
        break;
    case 'l':
        return XRGB(190, 190, 190);
    case 'o':
        return XRGB(230, 230, 230);
    case 'r':
        return XRGB(255, 0, 0);
    case 'w':
        return XRGB(255, 255, 255);
    case 'y':
        return XRGB(255, 255, 0);
    default:
        break;
    }
    return XRGB();
}
} // namespace

XRGB XRGB::Parse(const XString& text)
{
    XString compact = text;
    compact.RemoveChar(' ');
    compact.RemoveChar('\t');

    unsigned pos = 0;
    const XString red = compact.NextToken(pos, ',');
    if (!red.IsInteger())
        return ColourFromName(compact.ToLower());

    XRGB colour;
    colour.r = LowByteOf(red);
    colour.g = LowByteOf(compact.NextToken(pos, ','));
    colour.b = LowByteOf(compact.NextToken(pos, ','));

    // Alpha is the rest behind the third comma, when that rest is one integer.
    int commas = 0;
    int restStart = -1;
    for (int i = 0; i < compact.Length() && restStart < 0; ++i)
        if (compact.CharAt(static_cast<unsigned>(i)) == ',' && ++commas == 3)
            restStart = i + 1;
    if (restStart >= 0)
    {
        const XString rest = compact.From(restStart);
        if (rest.IsInteger())
            colour.a = LowByteOf(rest);
    }
    return colour;
}

juce::Colour XRGB::ToColour() const
{
    return juce::Colour(r, g, b, a);
}

void XRGB::ScaleBrightness(double percent)
{
    static constexpr double kFull = 255.0;
    const double p = std::abs(percent);
    const auto scale = [p](uint8_t c) { return static_cast<uint8_t>(std::min(kFull, c * p / 100.0)); };
    r = scale(r);
    g = scale(g);
    b = scale(b);
}

void XRGB::ShiftBrightness(int16_t delta)
{
    const int smallest = std::min({r, g, b});
    const int largest = std::max({r, g, b});
    int d = delta;
    if (delta <= 0 && delta + smallest < 0)
        d = -smallest;
    else if (delta > 0 && delta + largest >= 256)
        d = 255 - largest;
    r = static_cast<uint8_t>(r + d);
    g = static_cast<uint8_t>(g + d);
    b = static_cast<uint8_t>(b + d);
}
