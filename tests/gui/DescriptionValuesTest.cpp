#include "gui/DescriptionValues.h"

#include "DescriptionTestSupport.h"
#include "core/XMessage.h"
#include "gui/ViewKeywords.h"
#include "gui/XColorDictionary.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>

using DescriptionTest::Describe;
using DescriptionTest::ExpectItems;
using DescriptionTest::RectText;

namespace
{
class DescriptionValuesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewKeywords::ResetNamedConstants();
        RegisterViewKeywords();
        RegisterNamedConstant("X_CLOSE_REQUESTED", 10000006);
        DescriptionValues::ResetRememberedRect();
        GetColorDictionary().SetColor("windowBackground", XRGB(10, 20, 30));
    }
    void TearDown() override { ViewKeywords::ResetNamedConstants(); }

    /** The items that one line gives under its item name. */
    std::string Typed(const char* keyword, const char* value, DescriptionIndex at = DescriptionIndex(),
                      const char* itemName = nullptr)
    {
        XMessage message;
        DescriptionValues::AddTypedValue(message, keyword, ViewKeywords::FindKeyword(keyword), value, at);
        return Describe(message, itemName != nullptr ? itemName : keyword);
    }

    XRect Rect(const char* keyword, const char* value, int32_t index = 0, int32_t height = 0)
    {
        DescriptionIndex at;
        at.index = index;
        at.arrayHeight = height;
        return DescriptionValues::RectValue(ViewKeywords::FindKeyword(keyword), value, at);
    }
};
} // namespace

TEST_F(DescriptionValuesTest, KeywordTableIsExactAndNamedConstantsRegisterOnce)
{
    EXPECT_EQ(ViewKeywords::FindKeyword("arrayBaseIndex"), ViewKeywords::kArrayBaseIndex);
    EXPECT_EQ(ViewKeywords::FindKeyword("arraybaseindex"), ViewKeywords::kNone);
    EXPECT_EQ(ViewKeywords::FindKeyword("addtoview"), 38);
    EXPECT_EQ(ViewKeywords::FindKeyword("colorkey"), 22);
    EXPECT_STREQ(ViewKeywords::KeywordText(ViewKeywords::kCreateParam), "createparam");

    EXPECT_EQ(ViewKeywords::CountNamedConstants(), 13);
    int32_t value = 0;
    ASSERT_TRUE(ViewKeywords::FindNamedConstant("THREAD_CTSW", value));
    EXPECT_EQ(value, 5);
    EXPECT_FALSE(ViewKeywords::FindNamedConstant("thread_ctsw", value));
    EXPECT_EQ(RegisterNamedConstant("THREAD_CTSW", 99), static_cast<int32_t>(0x80000001));
    ASSERT_TRUE(ViewKeywords::FindNamedConstant("THREAD_CTSW", value));
    EXPECT_EQ(value, 5);
    // Start-up registration again leaves what is there.
    RegisterViewKeywords();
    EXPECT_EQ(ViewKeywords::CountNamedConstants(), 13);
}

TEST_F(DescriptionValuesTest, ValuesAreTypedByTheFirstRuleThatApplies)
{
    DescriptionIndex repeat;
    repeat.index = 2;
    repeat.baseIndex = 1;
    DescriptionIndex scratch;
    scratch.index = 1;
    scratch.baseIndex = 1;
    scratch.paramScratch = "Output%d\\gain";

    const struct
    {
        const char* keyword;
        const char* value;
        DescriptionIndex at;
        const char* itemName;
        const char* expected;
    } cases[] = {
        {"message", "X_CLOSE_REQUESTED", {}, nullptr, "int 10000006"},
        {"frame", "10", {}, nullptr, "int 10"},
        {"anything", "-42", {}, nullptr, "int -42"},
        {"max", "4.0", {}, nullptr, "float 4.000000"},
        {"imagename", "true", {}, nullptr, "bool true"},
        {"drawFrame", "FALSE", {}, nullptr, "bool false"},
        {"framewh", "10,20,100,30", {}, "frame", "rect 10,20,110,50"},
        {"textrect", "client", {}, nullptr, "rect 0,0,0,0"},
        {"constraint", " 1, 2 ,3,4", {}, nullptr, "rect 1,2,3,4"},
        {"imagename", "widgets\\knob.png", {}, nullptr, "string widgets\\knob.png"},
        {"location", "10, -20", {}, nullptr, "point 10,-20"},
        {"center", "7", {}, nullptr, "int 7"},
        {"backcolor", "WINDOWBACKGROUND", {}, nullptr, "colour 10,20,30,255"},
        {"color3", "1,2,3", {}, nullptr, "colour 1,2,3,255"},
        {"colorkey", "255,0,255,128", {}, nullptr, "colour 255,0,255,128"},
        {"textcolor", "white", {}, nullptr, "colour 255,255,255,255"},
        {"param", "InputA\\Band%02d", repeat, nullptr, "string InputA\\Band03"},
        {"param", "%S", scratch, nullptr, "string Output2\\gain"},
        {"basepath", "Out%d", repeat, nullptr, "string Out3"},
        {"item", "Item %d", repeat, nullptr, "string Item 2"},
        {"label", "Ch %d", repeat, nullptr, "string Ch %d"},
        {"Label", "Ch", repeat, "labelArg", "int 3"},
        {"name", "knob%d", repeat, nullptr, "string knob3"},
        {"geometry", "1,2,3,4", {}, nullptr, "rect 1,2,3,4; string 1,2,3,4"},
        {"offset", "5,6", {}, nullptr, "point 5,6; string 5,6"},
        {"shade", "9,8,7", {}, nullptr, "colour 9,8,7,255; string 9,8,7"},
        {"resizemask", "right,bottom", {}, nullptr, "string right,bottom"},
        {"name", "100%% of %s and %d%d", repeat, nullptr, "string 100% of %s and 3%d"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Typed(c.keyword, c.value, c.at, c.itemName), c.expected) << c.keyword << ":" << c.value;
}

TEST_F(DescriptionValuesTest, FormattingExpandsOneIntegerConversionAndLeavesTheRestLiteral)
{
    const struct
    {
        const char* format;
        const char* expected;
    } cases[] = {
        {"knob%d", "knob7"},  {"%03d", "007"},      {"%x%d", "7%d"}, {"%s%d", "%s7"},
        {"%n%p%f", "%n%p%f"}, {"50%%", "50%"},      {"%", "%"},      {"%-4d|", "7   |"},
        {"%ld", "%ld"},       {"%9999d", "%9999d"}, {"%.2i", "07"},  {"plain", "plain"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(DescriptionValues::FormatWithIndex(c.format, 7).CStr(), c.expected) << c.format;
}

TEST_F(DescriptionValuesTest, RectanglesRepeatAndFollowTheRememberedRectangle)
{
    // Repetitions step right by the array width, or down by a non-zero array height.
    EXPECT_EQ(RectText(Rect("frame", "0,0,50,20", 2)), "200,0,250,20");
    EXPECT_EQ(RectText(Rect("framewh", "0,0,50,20", 1, 25)), "0,25,50,45");
    EXPECT_EQ(RectText(Rect("textrect", "0,0,50,20", 2)), "0,0,50,20");

    // "next" after 0,0,50,20 steps by the array width; "down,30" by 30 and is remembered.
    Rect("frame", "0,0,50,20");
    EXPECT_EQ(RectText(Rect("frame", "next")), "100,0,150,20");
    Rect("frame", "0,0,50,20");
    EXPECT_EQ(RectText(Rect("frame", "DOWN,30")), "0,30,50,50");
    EXPECT_EQ(RectText(DescriptionValues::GetRememberedRect()), "0,30,50,50");
    // Later repetitions of "next" move from the remembered rectangle without changing it.
    EXPECT_EQ(RectText(Rect("frame", "next", 2)), "200,30,250,50");
    EXPECT_EQ(RectText(Rect("constraint", "next", 2)), "0,30,50,50");
    EXPECT_EQ(RectText(DescriptionValues::GetRememberedRect()), "0,30,50,50");
    // "client" leaves it alone; missing parts are 0.
    EXPECT_EQ(RectText(Rect("frame", "Client")), "0,0,0,0");
    EXPECT_EQ(RectText(DescriptionValues::GetRememberedRect()), "0,30,50,50");
    EXPECT_EQ(RectText(Rect("frame", "5,6")), "5,6,0,0");
}

TEST_F(DescriptionValuesTest, RectangleArithmeticStopsAtTheInt32Limits)
{
    constexpr int32_t kMax = INT32_MAX;
    const struct
    {
        const char* keyword;
        const char* value;
        int32_t index;
        int32_t arrayWidth;
        const char* expected;
    } cases[] = {
        {"framewh", "2147483647,0,1,1", 0, 100, "2147483647,0,2147483647,1"},
        {"framewh", "-2147483648,-2147483648,-1,-1", 0, 100,
         "-2147483648,-2147483648,-2147483648,-2147483648"},
        {"frame", "2147483000,0,2147483600,10", 3, 1000, "2147483647,0,2147483647,10"},
        {"frame", "0,0,10,10", 1000, kMax, "2147483647,0,2147483647,10"},
        {"frame", "0,0,10,10", 2, -kMax, "-2147483648,0,-2147483648,10"},
        {"frame", "next", 1000, kMax, "2147483647,0,2147483647,10"},
        {"frame", "next,2147483647", 0, 100, "2147483647,0,2147483647,10"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.keyword) + ":" + c.value);
        Rect("frame", "0,0,10,10"); // the remembered rectangle
        DescriptionIndex at;
        at.index = c.index;
        at.arrayWidth = c.arrayWidth;
        EXPECT_EQ(RectText(DescriptionValues::RectValue(ViewKeywords::FindKeyword(c.keyword), c.value, at)),
                  c.expected);
    }
    DescriptionIndex base;
    base.index = 5;
    base.baseIndex = kMax;
    EXPECT_EQ(Typed("param", "p%d", base), "string p2147483647");
}

TEST_F(DescriptionValuesTest, ValuesNotOfTheirKeywordsKindAreReported)
{
    const struct
    {
        const char* keyword;
        const char* value;
        bool good;
    } cases[] = {
        {"frame", "client", true},
        {"frame", "next", true},
        {"frame", "Down,30", true},
        {"frame", "5,6", true},
        {"frame", " 1, 2 ,3,4", true},
        {"frame", "abc", false},
        {"frame", "1,2,3,4,5", false},
        {"frame", "10,,20", false},
        {"frame", "next,x", false},
        {"framewh", "1,2,x,4", false},
        {"location", "3, 4", true},
        {"location", "1,2,3", false},
        {"center", "a,b", false},
        {"backcolor", "windowBackground", true},
        {"backcolor", "1,2,3", true},
        {"backcolor", "1,2,3,4", true},
        {"backcolor", "red", true},
        {"backcolor", "12abc", false},
        {"backcolor", "300,0,0", false},
        {"backcolor", "1,-2,3", false},
        {"backcolor", "1,2", false},
        {"imagename", "plain.png", true},
        {"imagename", "\"unclosed", false},
        {"imagename", "\"a.png\", x", false},
        {"name", "anything \"at all", true},
        {"label", "12\" tall", true},
    };
    for (const auto& c : cases)
    {
        XMessage message;
        EXPECT_EQ(DescriptionValues::AddTypedValue(message, c.keyword, ViewKeywords::FindKeyword(c.keyword),
                                                   c.value, DescriptionIndex()),
                  c.good)
            << c.keyword << ":" << c.value;
    }
    int32_t number = 0;
    EXPECT_TRUE(DescriptionValues::ReadInteger("-12", number));
    EXPECT_EQ(number, -12);
    EXPECT_FALSE(DescriptionValues::ReadInteger("99999999999", number));
    EXPECT_EQ(number, INT32_MAX);
    EXPECT_FALSE(DescriptionValues::ReadInteger("12abc", number));
    EXPECT_EQ(number, 12);
}

TEST_F(DescriptionValuesTest, ImageDescriptionsGiveNestedMessagesOrNothing)
{
    XMessage attributes;
    DescriptionValues::AddTypedValue(attributes, "imagename", ViewKeywords::kImageName,
                                     "\"widgets\\checkBoxLit.png\", transparent=true, frames=4, offset=-3, "
                                     "colorKey=255,0,255, note=\"a b\"; ignored",
                                     DescriptionIndex());
    XMessage description;
    ASSERT_EQ(attributes.FindMessage("imageDesc", description), 0);
    // The scanner reads "4," as one token: the number still counts and the comma separates.
    ExpectItems(description, {{"imagePath", "string widgets\\checkBoxLit.png"},
                              {"transparent", "bool true"},
                              {"frames", "int 4"},
                              {"offset", "int -3"},
                              {"colorKey", ""},
                              {"note", "string a b"}});

    const char* const malformed[] = {"\"a.png\" transparent=true",
                                     "\"a.png\", =1",
                                     "\"a.png\", x 1",
                                     "\"a.png\", 3=1",
                                     "\"unclosed",
                                     "\"a.png\", x=4,"};
    for (const char* value : malformed)
    {
        XMessage none;
        DescriptionValues::AddTypedValue(none, "imagename", ViewKeywords::kImageName, value,
                                         DescriptionIndex());
        EXPECT_EQ(Describe(none, "imageDesc"), "") << value;
        EXPECT_EQ(Describe(none, "imagename"), "") << value;
    }
}

TEST_F(DescriptionValuesTest, ParseArgsTypesEachPair)
{
    XMessage message;
    DescriptionValues::ParseArgs(
        "mode=3,fine=true,name=xyz,tag=ff,word=abc,hex=0x1F,neg=-2,flag=FALSE,empty=", &message);
    ExpectItems(message, {{"mode", "int 3"},
                          {"fine", "bool true"},
                          {"name", "string xyz"},
                          {"tag", "int 255"},
                          {"word", "int 2748"},
                          {"hex", "int 31"},
                          {"neg", "int -2"},
                          {"flag", "bool false"},
                          {"empty", "string "}});

    XMessage stops;
    DescriptionValues::ParseArgs("a=1,=2,b=3", &stops);
    EXPECT_EQ(Describe(stops, "a"), "int 1");
    EXPECT_EQ(Describe(stops, "b"), "");
    DescriptionValues::ParseArgs("a=1", nullptr);
}

// A line's items depend on its text alone: typed a second time from a copy in a buffer of exactly
// its size (so that the address sanitizer sees any read past its end), it gives the same items.
TEST_F(DescriptionValuesTest, RandomLinesAreTypedFromTheirTextAlone)
{
    std::mt19937 random(2024);
    const std::string alphabet = "abcXYZ019%-+.,;:=\"[]/* \\dsix";
    const char* const keywords[] = {"frame",     "framewh",  "imagename", "param", "label",
                                    "backcolor", "location", "item",      "name",  "other"};
    for (int round = 0; round < 3000; ++round)
    {
        std::string value;
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i)
            value.push_back(alphabet[random() % alphabet.size()]);
        if (round % 3 == 0)
            value.insert(value.begin(), '"');
        const int32_t index = static_cast<int32_t>(random() % 4);
        const char* keyword = keywords[random() % (sizeof(keywords) / sizeof(keywords[0]))];
        const auto type = [&](const char* text)
        {
            DescriptionValues::ResetRememberedRect();
            DescriptionIndex at;
            at.index = index;
            at.paramScratch = text;
            XMessage message;
            DescriptionValues::AddTypedValue(message, keyword, ViewKeywords::FindKeyword(keyword), text, at);
            DescriptionValues::ParseArgs(text, &message);
            return Describe(message, keyword);
        };
        const std::string first = type(value.c_str());
        const std::unique_ptr<char[]> exact(new char[value.size() + 1]);
        std::copy(value.c_str(), value.c_str() + value.size() + 1, exact.get());
        EXPECT_EQ(type(exact.get()), first) << keyword << " " << value;
    }
}
