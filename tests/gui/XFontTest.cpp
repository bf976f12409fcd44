#include "gui/XFont.h"

#include "support/gui/GuiTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

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
    EXPECT_EQ(XFont::LoadFontTable(folder.Child("missing.dat").c_str()), XFont::kTableMissing);
    EXPECT_EQ(LoadTable(folder, ""), XFont::kTableMissing);

    EXPECT_EQ(LoadTable(folder, "font : beforeBadPair { size = 11 }\n"
                                "font : badPair { size 11 }\n"
                                "font : neverReached { }\n"),
              XFont::kTableMalformed);
    EXPECT_TRUE(Describes("beforeBadPair", "arial", 11, 0, 0));
    EXPECT_EQ(XFont::FindNamedFontDescriptor("badPair"), nullptr);
    EXPECT_EQ(XFont::FindNamedFontDescriptor("neverReached"), nullptr);

    // A missing "{" ends the load quietly without defining the entry.
    EXPECT_EQ(LoadTable(folder, "font : noBrace size = 20 } font : afterNoBrace { }"), XFont::kResultOk);
    EXPECT_EQ(XFont::FindNamedFontDescriptor("noBrace"), nullptr);
    EXPECT_EQ(XFont::FindNamedFontDescriptor("afterNoBrace"), nullptr);

    // The end of the text inside an entry defines what was read.
    EXPECT_EQ(LoadTable(folder, "font : cutShort { size = 16"), XFont::kResultOk);
    EXPECT_TRUE(Describes("cutShort", "arial", 16, 0, 0));
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
