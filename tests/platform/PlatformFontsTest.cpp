#include "platform/PlatformFonts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
bool IsInstalled(const juce::String& family)
{
    return juce::Font::findAllTypefaceNames().contains(family);
}
} // namespace

TEST(PlatformFonts, FamiliesResolveToInstalledFaces)
{
    const juce::String defaultSans = PlatformFonts::GetDefaultSansFamily();
    ASSERT_TRUE(IsInstalled(defaultSans)) << defaultSans;
    EXPECT_EQ(juce::Font::getFallbackFontName(), defaultSans);

    // Installed families are found whatever their letter case.
    EXPECT_EQ(PlatformFonts::ResolveFamily(defaultSans.toUpperCase()), defaultSans);
    if (IsInstalled("DejaVu Sans"))
    {
        EXPECT_EQ(PlatformFonts::ResolveFamily("dejavu sans"), "DejaVu Sans");
    }

    // Windows families get their stand-in, anything else the default family.
    const juce::String arialStandIn = IsInstalled("Liberation Sans") ? "Liberation Sans" : "DejaVu Sans";
    if (IsInstalled(arialStandIn))
    {
        EXPECT_EQ(PlatformFonts::ResolveFamily("Arial"), arialStandIn);
        EXPECT_EQ(PlatformFonts::ResolveFamily("TAHOMA"), arialStandIn);
    }
    EXPECT_EQ(PlatformFonts::ResolveFamily("no such family"), defaultSans);
    EXPECT_EQ(PlatformFonts::ResolveFamily(""), defaultSans);

    const juce::Font bold = PlatformFonts::MakeFont("arial", 15.0f, true, false);
    EXPECT_FLOAT_EQ(bold.getHeight(), 15.0f);
    EXPECT_TRUE(bold.isBold());
}

TEST(PlatformFonts, FontFilesLoadIntoTheProcessOnly)
{
    EXPECT_EQ(PlatformFonts::LoadFontFile(juce::File("/nonexistent/font.ttf")), "");
    // Data that is not a usable font is refused instead of reaching the font loader.
    const char notAFont[] = "plain text, not a font";
    EXPECT_EQ(PlatformFonts::LoadFontData(notAFont, sizeof(notAFont)), "");
    juce::MemoryBlock installedFont;
    const juce::File dejaVu("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (dejaVu.loadFileAsData(installedFont))
    {
        // Cut short, a real font's tables point past its end.
        EXPECT_EQ(PlatformFonts::LoadFontData(installedFont.getData(), 2048), "");
        EXPECT_EQ(PlatformFonts::LoadFontData(installedFont.getData(), 12), "");
        // Whole, an installed family is reported and not loaded a second time.
        EXPECT_EQ(PlatformFonts::LoadFontData(installedFont.getData(), installedFont.getSize()),
                  "DejaVu Sans");
        EXPECT_EQ(PlatformFonts::FindLoadedTypeface("DejaVu Sans", false, false), nullptr);
    }

    // A font file outside the system's font folders: its family becomes usable by name.
    const std::string renamed = TestSupport::RenamedFontBytes("Krx Plat Ft");
    ASSERT_FALSE(renamed.empty()) << "DejaVu Sans is not installed";
    const TestSupport::TempFolder folder;
    const juce::File outside(folder.Child("outside.ttf"));
    ASSERT_TRUE(outside.replaceWithData(renamed.data(), renamed.size()));
    EXPECT_FALSE(IsInstalled("Krx Plat Ft"));
    const juce::String family = PlatformFonts::LoadFontFile(outside);
    ASSERT_EQ(family, "Krx Plat Ft");
    EXPECT_EQ(PlatformFonts::LoadFontFile(outside), family);
    EXPECT_EQ(PlatformFonts::ResolveFamily(family.toLowerCase()), family);
    EXPECT_NE(PlatformFonts::FindLoadedTypeface(family, false, false), nullptr);
    const juce::Font font = PlatformFonts::MakeFont(family.toUpperCase(), 20.0f, false, false);
    EXPECT_EQ(font.getTypefacePtr()->getName(), family);
    EXPECT_GT(font.getStringWidth("Output"), 0);
}
