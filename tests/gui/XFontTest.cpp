#include "gui/XFont.h"

#include "core/XResult.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace
{
/** Writes a font table into a temporary folder and loads it. */
int32_t LoadTable(const TestSupport::TempFolder& folder, const std::string& text)
{
    const std::string path = folder.Child("GlobalFonts.dat");
    std::ofstream(path, std::ios::binary) << text;
    return XFont::LoadFontTable(path.c_str());
}

::testing::AssertionResult Describes(const char* name, const char* family, int size, int bold, int italic)
{
    const XFontDescriptor* d = XFont::FindNamedFontDescriptor(name);
    if (d == nullptr)
        return ::testing::AssertionFailure() << name << " is not defined";
    if (!d->family.EqualsNoCase(family) || d->size != size || d->bold != bold || d->italic != italic)
        return ::testing::AssertionFailure() << name << " is " << d->family.CStr() << " " << d->size
                                             << " bold " << int(d->bold) << " italic " << int(d->italic);
    return ::testing::AssertionSuccess();
}

/** Counts the pixels of an image that text has darkened. */
int InkIn(const juce::Image& image)
{
    int ink = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt(x, y).getBrightness() < 0.5f)
                ++ink;
    return ink;
}

int InkOfWord(const juce::Font& font)
{
    juce::Image image(juce::Image::RGB, 200, 40, true);
    juce::Graphics g(image);
    g.fillAll(juce::Colours::white);
    g.setColour(juce::Colours::black);
    g.setFont(font);
    g.drawText("Output", 0, 0, 200, 40, juce::Justification::centred);
    return InkIn(image);
}
} // namespace

TEST(XFont, HeightIsSizeTimesTwelveTenths)
{
    const struct
    {
        int32_t size;
        int height;
    } cases[] = {{10, 12}, {13, 15}, {18, 21}, {1, 1}};
    for (const auto& c : cases)
    {
        XFont* font = XFont::GetFont("arial", c.size, false, false, false);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->GetHeight(), c.height) << "size " << c.size;
    }
}

TEST(XFont, EqualDescriptionsShareOneFont)
{
    XFont* arial = XFont::GetFont("arial", 12, false, false, false);
    EXPECT_EQ(XFont::GetFont("arial", 12, false, false, false), arial);
    EXPECT_NE(XFont::GetFont("arial", 12, false, false, true), arial);
    EXPECT_NE(XFont::GetFont("arial", 12, true, false, false), arial);

    // An alias is its own cache entry drawn with the same typeface.
    XFont* geneva = XFont::GetFont("geneva", 12, false, false, false);
    EXPECT_NE(geneva, arial);
    EXPECT_EQ(geneva->GetJuceFont().getTypefaceName(), arial->GetJuceFont().getTypefaceName());

    EXPECT_EQ(arial->GetStringWidth(""), 0);
    EXPECT_GT(arial->GetStringWidth("Output"), 0);
}

TEST(XFont, NamedFontsIgnoreCase)
{
    XFontDescriptor medium;
    medium.size = 13;
    XFont::DefineNamedFont("medium", medium);
    XFont* font = XFont::FindNamedFont("MEDIUM", false);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(XFont::GetNamedFont("Medium", false), font);
    EXPECT_EQ(font->GetHeight(), 15);

    // Asking with create defines arial 10 for later requests; this one still gets null.
    EXPECT_EQ(XFont::FindNamedFont("askedBeforeDefined", false), nullptr);
    EXPECT_EQ(XFont::FindNamedFont("askedBeforeDefined", true), nullptr);
    XFont* created = XFont::FindNamedFont("askedbeforedefined", false);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created, XFont::GetFont("arial", 10, false, false, false));
}

TEST(XFont, FontTableDefinesCopiesAndEndsEntries)
{
    TestSupport::TempFolder folder;
    const int32_t result =
        LoadTable(folder, "/* skin fonts */\n"
                          "font : big { family = verdana size = 20 bold = true }\n"
                          "font : bigItalic { copy = big italic = true } // copy\n"
                          "font : \"quoted name\" { fam = \"Times New Roman\" pt = 9 dupe = nothing }\n"
                          "stray words = here\n"
                          "font : skipsUnknown { size = 9 weight = 3 }\n"
                          "font : decimalSize { size = 20.5 bold = true }\n"
                          "font : afterDecimal { points = 14 }\n"
                          "font : wrongFlag { bold = 1 italic = true }\n");
    EXPECT_EQ(result, XFont::kResultOk);
    EXPECT_TRUE(Describes("BIG", "verdana", 20, 1, 0));
    EXPECT_TRUE(Describes("bigitalic", "verdana", 20, 1, 1));
    EXPECT_TRUE(Describes("Quoted Name", "Times New Roman", 9, 0, 0));
    EXPECT_TRUE(Describes("skipsUnknown", "arial", 9, 0, 0));
    // A size with a decimal point ends the entry: it is defined as read so far.
    EXPECT_TRUE(Describes("decimalSize", "arial", 12, 0, 0));
    EXPECT_TRUE(Describes("afterDecimal", "arial", 14, 0, 0));
    EXPECT_TRUE(Describes("wrongFlag", "arial", 12, 0, 0));
    ASSERT_NE(XFont::FindNamedFont("big", false), nullptr);
    EXPECT_EQ(XFont::FindNamedFont("big", false)->GetHeight(), 24);
}

TEST(XFont, FontTableFailures)
{
    TestSupport::TempFolder folder;
    EXPECT_EQ(XFont::LoadFontTable(folder.Child("missing.dat").c_str()), XResult::kFailed);
    EXPECT_EQ(LoadTable(folder, ""), XResult::kFailed);

    EXPECT_EQ(LoadTable(folder, "font : beforeBadPair { size = 11 }\n"
                                "font : badPair { size 11 }\n"
                                "font : neverReached { }\n"),
              XFont::kTableMalformed);
    EXPECT_TRUE(Describes("beforeBadPair", "arial", 11, 0, 0));
    EXPECT_EQ(XFont::FindNamedFontDescriptor("badPair"), nullptr);
    EXPECT_EQ(XFont::FindNamedFontDescriptor("neverReached"), nullptr);

    // A missing "{" costs its entry only; reading goes on at the next "font".
    EXPECT_EQ(LoadTable(folder, "font : noBrace size = 20 } font : afterNoBrace { }"), XFont::kResultOk);
    EXPECT_EQ(XFont::FindNamedFontDescriptor("noBrace"), nullptr);
    EXPECT_TRUE(Describes("afterNoBrace", "arial", 12, 0, 0));
    EXPECT_EQ(LoadTable(folder, "font noColon { } font : afterNoColon { size = 9 }"), XFont::kResultOk);
    EXPECT_TRUE(Describes("afterNoColon", "arial", 9, 0, 0));

    // The end of the text inside an entry defines what was read.
    EXPECT_EQ(LoadTable(folder, "font : cutShort { size = 16"), XFont::kResultOk);
    EXPECT_TRUE(Describes("cutShort", "arial", 16, 0, 0));
}

TEST(XFont, DamageInTheTableIsLoggedAndCostsOnlyItsEntry)
{
    TestSupport::TempFolder folder;
    struct Case
    {
        const char* text;
        const char* damaged; // the entry with the damage
        int size;            // its size afterwards; 0: not defined
        int logLine;
    };
    const Case cases[] = {
        {"font : brace1 { size = 9\nfont : after1 { size = 10 }", "brace1", 9, 1}, // defined as read
        {"font : brace2 { size = 9", "brace2", 9, 1},
        {"font : quote1 { family = \"Liberation Sans size = 9 }\nfont : after1 { size = 10 }", "quote1", 12,
         1},
        {"font : \"quote2 { size = 9 }\nfont : after1 { size = 10 }", "quote2", 0, 1},
        {"font : quote3 {\n  size = 9\n  \"bold = true\n}\nfont : after1 { size = 10 }", "quote3", 9, 3},
        {"font : size1 { size = 2147483647 bold = true }\nfont : after1 { size = 10 }", "size1", 12, 1},
        {"font : size2 { size = -40 }", "size2", 12, 1},
        {"font : size3 {\n size = 99999999999 }", "size3", 12, 2},
        {"font : size4 { size = 0 }", "size4", 12, 1},
        {"font : size5 { size = 400 }", "size5", 400, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        LogCapture log;
        EXPECT_EQ(LoadTable(folder, c.text), XFont::kResultOk);
        const XFontDescriptor* damaged = XFont::FindNamedFontDescriptor(c.damaged);
        EXPECT_EQ(damaged != nullptr ? damaged->size : 0, c.size);
        if (std::string(c.text).find("after1") != std::string::npos)
        {
            EXPECT_TRUE(Describes("after1", "arial", 10, 0, 0));
        }
        EXPECT_EQ(log.CountLinesWith("XFont: "), c.logLine != 0 ? 1 : 0) << log.Text();
        if (c.logLine != 0)
        {
            EXPECT_EQ(log.CountLinesWith("GlobalFonts.dat, line " + std::to_string(c.logLine) + ":"), 1);
        }
        XFontDescriptor cleared;
        XFont::DefineNamedFont("after1", cleared);
    }
    EXPECT_TRUE(Describes("size1", "arial", 12, 1, 0)) << "the pairs after a refused size still count";
}

TEST(XFont, EveryFontOfTheSkinStillResolvesWhenAnotherEntryIsDamaged)
{
    std::ifstream in(std::string(KRX_SOURCE_DIR) + "/System/GlobalFonts.dat", std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string table = all.str();
    std::vector<std::string> names;
    for (size_t at = table.find("\nfont : "); at != std::string::npos; at = table.find("\nfont : ", at + 1))
        names.push_back(table.substr(at + 8, table.find(' ', at + 8) - at - 8));
    ASSERT_GT(names.size(), 10u);

    TestSupport::TempFolder folder;
    int round = 0;
    for (size_t damagedEntry = 0; damagedEntry < names.size(); ++damagedEntry)
    {
        for (int damage = 0; damage < 3; ++damage)
        {
            // Names of this round's own, so that no earlier load answers for this one.
            const std::string suffix = "_" + std::to_string(++round);
            std::string text = table;
            for (const std::string& name : names)
            {
                for (const std::string& before : {std::string("font : "), std::string("copy = ")})
                {
                    for (size_t at = text.find(before + name + " "); at != std::string::npos;
                         at = text.find(before + name + " ", at + 1))
                        text.insert(at + before.size() + name.size(), suffix);
                }
            }
            const size_t at = text.find("font : " + names[damagedEntry] + suffix + " ");
            const size_t brace = text.find('}', at);
            if (damage == 0)
                text.erase(brace, 1); // a missing "}"
            else if (damage == 1)
                text.insert(at + 7, "\""); // a stray quote before the name
            else
                text.insert(brace, "\" "); // a stray quote before the "}"

            LogCapture log;
            ASSERT_EQ(LoadTable(folder, text), XFont::kResultOk) << text;
            EXPECT_EQ(log.CountLinesWith("XFont: "), 1) << log.Text();
            for (size_t entry = 0; entry < names.size(); ++entry)
            {
                const bool mayBeLost = entry == damagedEntry && damage == 1;
                EXPECT_TRUE(mayBeLost ||
                            XFont::FindNamedFont((names[entry] + suffix).c_str(), false) != nullptr)
                    << names[entry] << " is lost when " << names[damagedEntry] << " has damage " << damage;
            }
        }
    }
}

TEST(XFont, RandomTablesNeverBreakTheReader)
{
    TestSupport::TempFolder folder;
    std::mt19937 random(3131);
    const std::vector<std::string> pieces = {"font", " : ",  "name", "{",          "}",  "size",
                                             "=",    "12",   "-",    "\"",         "\n", "/*",
                                             "*/",   "bold", "true", "2147483648", " "};
    for (int round = 0; round < 300; ++round)
    {
        std::string text;
        for (int piece = static_cast<int>(random() % 40); piece > 0; --piece)
            text += pieces[random() % pieces.size()];
        LogCapture log;
        const int32_t result = LoadTable(folder, text);
        EXPECT_TRUE(result == XFont::kResultOk || result == XResult::kFailed ||
                    result == XFont::kTableMalformed);
        if (const XFontDescriptor* font = XFont::FindNamedFontDescriptor("name"))
        {
            EXPECT_GE(font->size, 1);
            EXPECT_LE(font->size, 400);
        }
    }
}

TEST(XFont, TextInMissingFamiliesStillShows)
{
    for (const char* family : {"arial", "tahoma", "Geneva", "no such family"})
    {
        XFont* font = XFont::GetFont(family, 14, false, false, false);
        ASSERT_NE(font, nullptr);
        EXPECT_GT(InkOfWord(font->GetJuceFont()), 20) << "no ink for " << family;
        // Drawn by an installed face of its own, not glyph by glyph through the fallback font, so
        // that its style holds.
        EXPECT_TRUE(font->GetJuceFont().getTypefacePtr()->getName().isNotEmpty()) << family;
    }
    const int plainInk = InkOfWord(XFont::GetFont("arial", 14, false, false, false)->GetJuceFont());
    EXPECT_GT(InkOfWord(XFont::GetFont("arial", 14, true, false, false)->GetJuceFont()), plainInk * 11 / 10);
    // Fonts made elsewhere by an uninstalled family name fall back to an installed face.
    EXPECT_GT(InkOfWord(juce::Font("arial", 16.0f, juce::Font::plain)), 20);
}
