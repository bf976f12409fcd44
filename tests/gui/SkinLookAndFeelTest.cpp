// JUCE's own components in the skin's colours and fonts: each colour from its name in the colour
// dictionary, each font from its named font, and JUCE's own where the skin lacks them.

#include "gui/SkinLookAndFeel.h"

#include "core/XRGB.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct ColourCase
{
    int id;
    const char* name;
};

const ColourCase kColours[] = {
    {juce::ResizableWindow::backgroundColourId, SkinLookAndFeel::kWindowBackground},
    {juce::AlertWindow::backgroundColourId, SkinLookAndFeel::kWindowBackground},
    {juce::AlertWindow::textColourId, SkinLookAndFeel::kText},
    {juce::AlertWindow::outlineColourId, SkinLookAndFeel::kOutline},
    {juce::Label::textColourId, SkinLookAndFeel::kText},
    {juce::TextEditor::outlineColourId, SkinLookAndFeel::kOutline},
    {juce::TextButton::buttonColourId, SkinLookAndFeel::kButtonFace},
    {juce::TextButton::buttonOnColourId, SkinLookAndFeel::kFill},
    {juce::TextButton::textColourOffId, SkinLookAndFeel::kButtonText},
    {juce::TextButton::textColourOnId, SkinLookAndFeel::kButtonTextLit},
    {juce::DocumentWindow::textColourId, SkinLookAndFeel::kTitleText},
    {juce::ProgressBar::foregroundColourId, SkinLookAndFeel::kProgressBar},
    {juce::ProgressBar::backgroundColourId, SkinLookAndFeel::kProgressBarBackground},
    {juce::PopupMenu::backgroundColourId, SkinLookAndFeel::kMenuBackground},
    {juce::PopupMenu::textColourId, SkinLookAndFeel::kMenuText},
    {juce::PopupMenu::highlightedBackgroundColourId, SkinLookAndFeel::kHighlightedFill},
    {juce::PopupMenu::highlightedTextColourId, SkinLookAndFeel::kHighlightedText},
};

juce::Colour SkinColour(const char* name)
{
    XRGB colour;
    EXPECT_EQ(GetColorDictionary().FindColor(name, colour), XColorDictionary::kResultOk) << name;
    return colour.ToColour();
}

juce::Font NamedFont(const char* name)
{
    const XFont* font = XFont::FindNamedFont(name, false);
    EXPECT_NE(font, nullptr) << name;
    return font != nullptr ? font->GetJuceFont() : juce::Font();
}
} // namespace

TEST(SkinLookAndFeel, TakesTheSkinsColoursAndFontsAndJucesOwnWhereTheSkinHasNone)
{
    // Before the skin is read: JUCE's own look throughout.
    SkinTestSupport::ForgetSkinTables();
    juce::LookAndFeel_V4 juceLook;
    juce::Label label;
    juce::TextButton button;
    {
        XRGB unused;
        for (const ColourCase& c : kColours)
            ASSERT_NE(GetColorDictionary().FindColor(c.name, unused), XColorDictionary::kResultOk)
                << c.name << " is set already";
        SkinLookAndFeel bare;
        for (const ColourCase& c : kColours)
            EXPECT_EQ(bare.findColour(c.id), juceLook.findColour(c.id)) << c.name;
        EXPECT_EQ(bare.getLabelFont(label), juceLook.getLabelFont(label));
        EXPECT_EQ(bare.getAlertWindowTitleFont(), juceLook.getAlertWindowTitleFont());
    }

    ASSERT_TRUE(SkinTestSupport::LoadSkinTables(SkinTestSupport::BuiltSystemFolder()));
    SkinLookAndFeel look;
    for (const ColourCase& c : kColours)
        EXPECT_EQ(look.findColour(c.id), SkinColour(c.name)) << c.name;
    EXPECT_EQ(look.getLabelFont(label), NamedFont(SkinLookAndFeel::kTextFont));
    EXPECT_EQ(look.getAlertWindowMessageFont(), NamedFont(SkinLookAndFeel::kTextFont));
    EXPECT_EQ(look.getAlertWindowFont(), NamedFont(SkinLookAndFeel::kTextFont));
    EXPECT_EQ(look.getTextButtonFont(button, 24), NamedFont(SkinLookAndFeel::kButtonFont));
    EXPECT_EQ(look.getAlertWindowTitleFont(), NamedFont(SkinLookAndFeel::kTitleFont));
}
