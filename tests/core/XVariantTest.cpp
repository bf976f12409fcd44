#include "core/XVariant.h"

#include "XStringPrinter.h"
#include "core/XString.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
TEST(XVariantTest, WritesEachKindInItsTextForm)
{
    const uint8_t bytes[] = {0x00, 0xAB, 0x7F};
    struct Case
    {
        XVariant variant;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {XVariant(true), "true"},
        {XVariant(false), "false"},
        {XVariant::OfChar('x'), "x"},
        {XVariant(int32_t{-42}), "-42"},
        {XVariant(uint32_t{0xFFFFFFFFu}), "-1"}, // written signed, read back unsigned
        {XVariant(int64_t{-9000000000}), "-9000000000"},
        {XVariant(uint64_t{18000000000000000000u}), "18000000000000000000"},
        {XVariant(1.5f), "1.5000"},
        {XVariant(0.125), "0.12500000"},
        {XVariant("as is"), "as is"},
        {XVariant(XRect(10, 20, 110, 70)), "10,20,100,50"},
        {XVariant(XRect(110, 70, 10, 20)), "110,70,100,50"}, // width and height are absolute
        {XVariant(XRGB(255, 128, 0, 255)), "#ffff8000"},
        {XVariant(XPoint(-3, 7)), "-3,7"},
        {XVariant(bytes, 3), "00ab7f"},
        {XVariant(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.variant.ToString(), c.expected) << "type " << c.variant.GetType();
}

TEST(XVariantTest, ParsesTextByItsType)
{
    XVariant colour = XVariant::OfType(XVariant::kTypeColour);
    colour.FromString("#80ff0000");
    EXPECT_EQ(colour.GetColour(), XRGB(255, 0, 0, 0x80));
    colour.FromString("#ff00");
    EXPECT_EQ(colour.GetColour(), XRGB(0, 0, 0, 255)) << "fewer than four numbers";

    XVariant rect = XVariant::OfType(XVariant::kTypeRect);
    rect.FromString("10,20,100,50");
    EXPECT_EQ(rect.GetRect(), XRect(10, 20, 110, 70));
    rect.FromString("1,2,3");
    EXPECT_EQ(rect.GetRect(), XRect());
    rect.FromString("2147483647,0,1,1"); // the right edge wraps as 32-bit arithmetic does
    EXPECT_EQ(rect.GetRect().right, INT32_MIN);

    XVariant point = XVariant::OfType(XVariant::kTypePoint);
    point.FromString("5,-6");
    EXPECT_EQ(point.GetPoint(), XPoint(5, -6));
    point.FromString("5");
    EXPECT_EQ(point.GetPoint(), XPoint());

    XVariant flag = XVariant::OfType(XVariant::kTypeBool);
    flag.FromString("true");
    EXPECT_TRUE(flag.GetBool());
    flag.FromString("TRUE");
    EXPECT_FALSE(flag.GetBool()) << "the comparison is exact";

    XVariant number = XVariant::OfType(XVariant::kTypeUInt32);
    number.FromString("-1");
    EXPECT_EQ(number.GetUInt32(), 0xFFFFFFFFu);
    number = XVariant::OfType(XVariant::kTypeInt32);
    number.FromString("junk");
    EXPECT_EQ(number.GetInt32(), 0);
    number = XVariant::OfType(XVariant::kTypeDouble);
    number.FromString("2.25e1");
    EXPECT_DOUBLE_EQ(number.GetDouble(), 22.5);
    number = XVariant::OfType(XVariant::kTypeInt64);
    number.FromString("-9000000000");
    EXPECT_EQ(number.GetInt64(), int64_t{-9000000000});

    XVariant text = XVariant::OfType(XVariant::kTypeString);
    text.FromString(nullptr);
    EXPECT_EQ(text.GetString(), "");
    EXPECT_EQ(text.GetType(), XVariant::kTypeString);
}

TEST(XVariantTest, CopiesShareTextAndDuplicateBlocks)
{
    XVariant text(XString("shared"));
    XVariant textCopy(text);
    EXPECT_TRUE(textCopy.GetString().SharesBlockWith(text.GetString()));

    const uint8_t bytes[] = {1, 2, 3, 4};
    XVariant block(bytes, 4);
    XVariant blockCopy = XVariant::OfType(XVariant::kTypeInt32);
    blockCopy = block;
    EXPECT_EQ(blockCopy.GetType(), XVariant::kTypeBlock);
    EXPECT_NE(blockCopy.GetBlock().GetData(), block.GetBlock().GetData());
    EXPECT_EQ(blockCopy.ToString(), "01020304");
}

TEST(XVariantTest, AssignsItsTextFormToAString)
{
    XString text("old");
    text = XVariant(XRGB(1, 2, 3, 4));
    EXPECT_EQ(text, "#04010203");
    text = XVariant(int32_t{7});
    EXPECT_EQ(text, "7");
    text = 5; // plain integers still take the integer assignment
    EXPECT_EQ(text, "5");
}

TEST(XVariantTest, RandomTextNeverBreaksAParserAndTextFormsRoundTrip)
{
    const int32_t types[] = {XVariant::kTypeBool,   XVariant::kTypeChar,   XVariant::kTypeInt32,
                             XVariant::kTypeUInt32, XVariant::kTypeInt64,  XVariant::kTypeUInt64,
                             XVariant::kTypeFloat,  XVariant::kTypeDouble, XVariant::kTypeString,
                             XVariant::kTypeRect,   XVariant::kTypeColour, XVariant::kTypePoint,
                             XVariant::kTypeBlock};
    const char alphabet[] = "0123456789,-+#.eExXabcdefABCDEF truenaif%";
    std::mt19937 random(1234);
    for (int round = 0; round < 4000; ++round)
    {
        std::string input;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            input += alphabet[random() % (sizeof(alphabet) - 1)];
        for (int32_t type : types)
        {
            XVariant variant = XVariant::OfType(type);
            variant.FromString(input.c_str());
            const XString written = variant.ToString();
            // What a parser produced, written and read again, gives the same text. (Rectangles whose
            // edges wrapped and the rounded real forms need not.)
            XVariant again = XVariant::OfType(type);
            again.FromString(written.CStr());
            const bool exactForm = type != XVariant::kTypeBlock && type != XVariant::kTypeFloat &&
                                   type != XVariant::kTypeDouble && type != XVariant::kTypeRect;
            if (exactForm)
            {
                EXPECT_EQ(again.ToString(), written) << "type " << type << " input '" << input << "'";
            }
        }
    }
}
} // namespace
