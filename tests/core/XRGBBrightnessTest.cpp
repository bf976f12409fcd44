#include "core/XRGB.h"
#include "core/XRect.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>
#include <vector>

namespace
{
TEST(XRGBBrightnessTest, ShiftMovesAllThreeAndKeepsTheHue)
{
    struct Case
    {
        XRGB colour;
        int16_t delta;
        XRGB expected;
    };
    const std::vector<Case> cases = {
        {XRGB(250, 10, 10), 50, XRGB(255, 15, 15)},    // held by the largest component
        {XRGB(5, 100, 100), -20, XRGB(0, 95, 95)},     // held by the smallest component
        {XRGB(10, 20, 30, 7), 5, XRGB(15, 25, 35, 7)}, // alpha kept
        {XRGB(0, 0, 0), -1, XRGB(0, 0, 0)},
        {XRGB(255, 255, 255), 1, XRGB(255, 255, 255)},
        {XRGB(100, 0, 200), 32767, XRGB(155, 55, 255)},
        {XRGB(100, 50, 200), -32768, XRGB(50, 0, 150)},
    };
    for (const Case& c : cases)
    {
        XRGB colour = c.colour;
        colour.ShiftBrightness(c.delta);
        EXPECT_EQ(colour, c.expected) << "delta " << c.delta;
    }
}

TEST(XRGBBrightnessTest, ScaleTakesThePercentWithoutItsSignAndHoldsTo255)
{
    struct Case
    {
        XRGB colour;
        double percent;
        XRGB expected;
    };
    const std::vector<Case> cases = {
        {XRGB(200, 100, 0), -150, XRGB(255, 150, 0)},
        {XRGB(200, 100, 1, 9), 50, XRGB(100, 50, 0, 9)}, // truncated, alpha kept
        {XRGB(100, 100, 100), 70, XRGB(70, 70, 70)},
        {XRGB(10, 20, 30), 0, XRGB(0, 0, 0)},
    };
    for (const Case& c : cases)
    {
        XRGB colour = c.colour;
        colour.ScaleBrightness(c.percent);
        EXPECT_EQ(colour, c.expected) << "percent " << c.percent;
    }
}

TEST(XRGBBrightnessTest, ColourAndRectangleHelpers)
{
    EXPECT_EQ(XRGB(1, 2, 3, 4).ToColour(), juce::Colour(uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{4}));

    const XRect rect(30, 40, 10, 5);
    EXPECT_EQ(rect.Width(), 20);
    EXPECT_EQ(rect.Height(), 35);
    EXPECT_EQ(XRect(INT32_MIN, 0, INT32_MAX, 0).Width(), -1) << "no overflow on the widest rectangle";
    EXPECT_EQ(XRect(0, 10, 20, 30).Union(XRect(-5, 15, 10, 40)), XRect(-5, 10, 20, 40));
}
} // namespace
