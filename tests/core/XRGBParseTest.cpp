#include "core/XRGB.h"
#include "core/XString.h"

#include <gtest/gtest.h>

TEST(XRGBParse, NumbersAndNames)
{
    struct Case
    {
        const char* text;
        XRGB expected;
    };
    const Case cases[] = {
        {"0, 0, 255", XRGB(0, 0, 255, 255)},
        {"255,128,0", XRGB(255, 128, 0, 255)},
        {"1,2,3,4", XRGB(1, 2, 3, 4)},
        {"1,2,3,4,5", XRGB(1, 2, 3, 255)},
        {"1,2,3,", XRGB(1, 2, 3, 255)},
        {"300,-1,256", XRGB(44, 255, 0, 255)},
        {"7", XRGB(7, 0, 0, 255)},
        {"Grey", XRGB(100, 100, 100, 255)},
        {"gray", XRGB(100, 100, 100, 255)},
        {"green", XRGB(0, 255, 0, 255)},
        {"gold", XRGB(0, 0, 0, 255)},
        {"Black", XRGB(0, 0, 0, 255)},
        {"blue", XRGB(0, 0, 255, 255)},
        {"darkgrey", XRGB(50, 50, 50, 255)},
        {"lightgrey", XRGB(190, 190, 190, 255)},
        {"offwhite", XRGB(230, 230, 230, 255)},
        {"RED", XRGB(255, 0, 0, 255)},
        {"white", XRGB(255, 255, 255, 255)},
        {"yellow", XRGB(255, 255, 0, 255)},
        {"purple", XRGB(0, 0, 0, 255)},
        {"", XRGB(0, 0, 0, 255)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(XRGB::Parse(c.text), c.expected) << "text: '" << c.text << "'";
}
