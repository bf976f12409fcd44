#include "gui/XStyle.h"

#include "core/SystemInfo.h"
#include "gui/SkinTestFiles.h"
#include "gui/StyleTestViews.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace StyleTestViews;

namespace
{
/** Points the system folder at a temporary folder for the length of a test, with the skin's
    colours, named fonts and the style caches forgotten before and after, and no style current
    afterwards. */
class StyleFixture : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;
    XString savedSystemFolder;

    void SetUp() override
    {
        savedSystemFolder = GetSystemFolder();
        SetSystemFolder(folder.Path().c_str());
        SkinTestSupport::ForgetSkinTables();
    }

    void TearDown() override
    {
        XStyle::SetCurrentStyle(nullptr);
        SetSystemFolder(savedSystemFolder);
        SkinTestSupport::ForgetSkinTables();
    }

    void WriteFontTable(const std::string& text)
    {
        SkinTestFiles::WriteText(folder.Child("GlobalFonts.dat"), text);
    }
};

::testing::AssertionResult IsFont(const char* name, const char* family, int size, int bold)
{
    const XFontDescriptor* d = XFont::FindNamedFontDescriptor(name);
    if (d == nullptr)
        return ::testing::AssertionFailure() << name << " is not defined";
    if (!d->family.EqualsNoCase(family) || d->size != size || d->bold != bold)
        return ::testing::AssertionFailure()
               << name << " is " << d->family.CStr() << " " << d->size << " bold " << int(d->bold);
    return ::testing::AssertionSuccess();
}

/** Defines "small", "medium" and "large" as a marker font, so that a test sees whether LoadFonts
    replaced them. */
void MarkDefaultFonts()
{
    XFontDescriptor marker;
    marker.family = "courier";
    marker.size = 7;
    for (const char* name : {"small", "medium", "large"})
        XFont::DefineNamedFont(name, marker);
}
} // namespace

TEST_F(StyleFixture, RegistryFindsStylesRegardlessOfCaseAndForgetsDestroyedOnes)
{
    XStyle first;
    auto second = std::make_unique<XStyle>();
    XStyle::RegisterStyle(&first, "default");
    XStyle::RegisterStyle(second.get(), "Other");
    XStyle::RegisterStyle(&first, "");

    EXPECT_EQ(XStyle::FindStyle("DEFAULT"), &first);
    EXPECT_EQ(XStyle::FindStyle("default"), &first);
    EXPECT_EQ(XStyle::FindStyle("oTHER"), second.get());
    EXPECT_EQ(XStyle::FindStyle(""), nullptr);
    EXPECT_EQ(XStyle::FindStyle("unknown"), nullptr);

    // A later registration under the same name replaces the earlier; null removes the name.
    XStyle::RegisterStyle(second.get(), "Default");
    EXPECT_EQ(XStyle::FindStyle("default"), second.get());
    XStyle::RegisterStyle(nullptr, "other");
    EXPECT_EQ(XStyle::FindStyle("other"), nullptr);

    // A destroyed style leaves the registry and the current style instead of dangling there.
    XStyle::SetCurrentStyle(second.get());
    second.reset();
    EXPECT_EQ(XStyle::FindStyle("default"), nullptr);
    EXPECT_EQ(XStyle::GetCurrentStyle(), nullptr);
    EXPECT_NE(dynamic_cast<XStyle*>(&juce::LookAndFeel::getDefaultLookAndFeel()), &first);
}

TEST_F(StyleFixture, CurrentStyleIsJuceDefaultAndItsColoursReachComponents)
{
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    EXPECT_EQ(XStyle::GetCurrentStyle(), &style);
    EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), &style);

    // A component without a look-and-feel of its own finds the style's popup colours.
    XRGB text, background, highlightedText, highlightedBackground;
    style.GetPopupColours(text, background, highlightedText, highlightedBackground);
    juce::Component component;
    EXPECT_EQ(component.findColour(juce::PopupMenu::backgroundColourId), ToColour(background));
    EXPECT_EQ(component.findColour(juce::PopupMenu::textColourId), ToColour(text));
    EXPECT_EQ(component.findColour(juce::PopupMenu::highlightedTextColourId), ToColour(highlightedText));
    EXPECT_EQ(component.findColour(juce::PopupMenu::highlightedBackgroundColourId),
              ToColour(highlightedBackground));
    EXPECT_TRUE(style.GetGlyphColor() == XRGB(0, 0, 0, 255));

    XStyle::SetCurrentStyle(nullptr);
    EXPECT_EQ(XStyle::GetCurrentStyle(), nullptr);
    EXPECT_NE(&juce::LookAndFeel::getDefaultLookAndFeel(), &style);
}

TEST_F(StyleFixture, ColoursComeFromTheDictionaryOnceElseTheirDefaults)
{
    XColorDictionary& dictionary = GetColorDictionary();
    XRGB unused;
    for (const char* name : {"popupBackground", "popupText", "windowBackground", "windowTitlebar"})
        ASSERT_NE(dictionary.FindColor(name, unused), XColorDictionary::kResultOk)
            << name << " is set already";

    XStyle style;
    XRGB text, background, highlightedText, highlightedBackground;
    style.GetPopupColours(text, background, highlightedText, highlightedBackground);
    EXPECT_TRUE(text == XRGB(240, 240, 240, 255));
    EXPECT_TRUE(background == XRGB(80, 80, 80, 220));
    EXPECT_TRUE(highlightedText == XRGB(240, 240, 240, 255));
    EXPECT_TRUE(highlightedBackground == XRGB(80, 80, 240, 255));
    EXPECT_EQ(style.GetWindowBackgroundColour(), juce::Colour(164, 164, 164));
    EXPECT_EQ(style.GetTitleBarColour(), juce::Colour(211, 211, 211));

    // The dictionary is read once per process: later entries count only after a reset.
    dictionary.SetColor("popupBackground", XRGB(10, 20, 30));
    dictionary.SetColor("windowBackground", XRGB(1, 2, 3));
    dictionary.SetColor("windowTitlebar", XRGB(4, 5, 6));
    XStyle other;
    other.GetPopupColours(text, background, highlightedText, highlightedBackground);
    EXPECT_TRUE(background == XRGB(80, 80, 80, 220));
    EXPECT_EQ(other.GetTitleBarColour(), juce::Colour(211, 211, 211));

    XStyle::ResetGlobalCaches();
    other.GetPopupColours(text, background, highlightedText, highlightedBackground);
    EXPECT_TRUE(background == XRGB(10, 20, 30, 220));
    EXPECT_TRUE(text == XRGB(240, 240, 240, 255));
    EXPECT_EQ(other.GetWindowBackgroundColour(), juce::Colour(1, 2, 3));
    EXPECT_EQ(other.GetTitleBarColour(), juce::Colour(4, 5, 6));
}

TEST_F(StyleFixture, FontTableDefinesNamedFontsOrTheDefaults)
{
    struct Case
    {
        const char* description;
        const char* table; // nullptr: no file at all
        bool defaultsDefined;
    };
    const Case cases[] = {
        {"missing file", nullptr, true},
        {"empty file", "", true},
        {"key without =", "font : broken { size 9 }", true},
        {"size only", "font : big { size = 20 }", false},
        {"no brace", "font : nobrace size", false},
        {"unknown key skipped", "font : a { size = 9 weight = 3 }", false},
        {"copy", "font : small { family = arial size = 12 } font : smallbold { copy = small bold = true }",
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.description);
        MarkDefaultFonts();
        juce::File(folder.Child("GlobalFonts.dat")).deleteFile();
        if (c.table != nullptr)
            WriteFontTable(c.table);
        XStyle::ResetGlobalCaches();
        XStyle style;
        style.LoadFonts();
        if (c.defaultsDefined)
        {
            EXPECT_TRUE(IsFont("small", "arial", 12, 0));
            EXPECT_TRUE(IsFont("medium", "arial", 13, 0));
            EXPECT_TRUE(IsFont("large", "arial", 18, 0));
        }
        else if (c.table != nullptr && std::string(c.table).find("smallbold") == std::string::npos)
        {
            EXPECT_TRUE(IsFont("small", "courier", 7, 0));
            EXPECT_TRUE(IsFont("large", "courier", 7, 0));
        }
    }
    EXPECT_TRUE(IsFont("big", "arial", 20, 0));
    EXPECT_EQ(XFont::FindNamedFontDescriptor("nobrace"), nullptr);
    EXPECT_TRUE(IsFont("a", "arial", 9, 0));
    EXPECT_TRUE(IsFont("smallbold", "arial", 12, 1));
}

TEST_F(StyleFixture, FontTableIsReadOncePerProcess)
{
    WriteFontTable("font : firstRead { size = 15 }");
    XStyle first;
    XStyle second;
    XStyle::SetCurrentStyle(&first);
    EXPECT_TRUE(IsFont("firstRead", "arial", 15, 0));

    WriteFontTable("font : secondRead { size = 16 }");
    XStyle::SetCurrentStyle(&second);
    XStyle::RegisterStyle(&second, "second");
    EXPECT_EQ(XFont::FindNamedFontDescriptor("secondRead"), nullptr);

    XStyle::ResetGlobalCaches();
    second.LoadFonts();
    EXPECT_TRUE(IsFont("secondRead", "arial", 16, 0));
    XStyle::RegisterStyle(nullptr, "second");
}

TEST_F(StyleFixture, MetricsAndKeyModes)
{
    XStyle style;
    EXPECT_EQ(style.GetResetKeyMode(), XStyle::kKeyModeCtrl);
    EXPECT_EQ(style.GetFineWheelKeyMode(), XStyle::kKeyModeAlt);
    EXPECT_EQ(style.GetFineDragKeyMode(), XStyle::kKeyModeShift);
    EXPECT_EQ(style.GetPanelTitleHeight(), 20);
    EXPECT_EQ(style.GetPanelBorder(), 2);
    EXPECT_EQ(style.GetTitleBarHeight(), 24);
    EXPECT_EQ(style.GetFrameInset(), 1);
    EXPECT_STREQ(style.GetDisplayText("Gain %").CStr(), "Gain %");
    int32_t width = 0, height = 0;
    style.GetMinimizeBoxSize(width, height);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 20);
}

TEST_F(StyleFixture, TitleBarBoxesLineUpFromTheRight)
{
    struct Case
    {
        bool close, maximize, minimize;
        XRect closeRect, maximizeRect, minimizeRect;
        int32_t textRight;
    };
    // Window bounds 0, 0, 300, 200; inset 1; boxes 20 x 20, 4 below the top.
    const Case cases[] = {
        {true, true, true, {273, 4, 293, 24}, {253, 4, 273, 24}, {230, 4, 250, 24}, 230},
        {false, true, true, {}, {276, 4, 296, 24}, {253, 4, 273, 24}, 253},
        {true, false, true, {273, 4, 293, 24}, {}, {253, 4, 273, 24}, 253},
        {false, false, false, {}, {}, {}, 299},
    };
    XStyle style;
    for (const Case& c : cases)
    {
        Window window;
        window.bounds = XRect(0, 0, 300, 200);
        window.closeBox = c.close;
        window.maximizeBox = c.maximize;
        window.minimizeBox = c.minimize;
        XRect rect;
        style.GetCloseBoxRect(window, rect);
        EXPECT_EQ(rect, c.closeRect);
        style.GetMaximizeBoxRect(window, rect);
        EXPECT_EQ(rect, c.maximizeRect);
        style.GetMinimizeBoxRect(window, rect);
        EXPECT_EQ(rect, c.minimizeRect);
        EXPECT_EQ(style.GetTitleTextRight(window), c.textRight);
    }
    Window none;
    none.bounds = XRect(0, 0, 300, 200);
    none.closeBox = none.maximizeBox = none.minimizeBox = false;
    EXPECT_EQ(style.GetTitleTextLeft(none), 1);
}

TEST_F(StyleFixture, PopupMenuFontIsMenuItemElseArialTenLookedUpOnce)
{
    XStyle style;
    const juce::Font fallback = XFont::GetFont("arial", 10, false, false, false)->GetJuceFont();
    EXPECT_EQ(style.getPopupMenuFont(), fallback);

    XFontDescriptor menuItem;
    menuItem.size = 16;
    menuItem.bold = 1;
    XFont::DefineNamedFont("menuItem", menuItem);
    EXPECT_EQ(style.getPopupMenuFont(), fallback);
    XStyle::ResetGlobalCaches();
    EXPECT_EQ(style.getPopupMenuFont(), XFont::FindNamedFont("menuItem", false)->GetJuceFont());
}

TEST_F(StyleFixture, PopupMenuBackgroundIsFilledAndOutlined)
{
    XStyle style;
    style.ApplyColours();
    juce::Image image(juce::Image::RGB, 60, 40, true);
    juce::Graphics g(image);
    style.drawPopupMenuBackground(g, 60, 40);

    const auto rgb = [](juce::Colour c) { return XRGB(c.getRed(), c.getGreen(), c.getBlue()); };
    const juce::Colour background = style.findColour(XStyle::kPopupBackgroundColourId);
    EXPECT_TRUE(IsNear(image.getPixelAt(30, 20), rgb(juce::Colours::black.overlaidWith(background)), 2));
    EXPECT_TRUE(IsNear(
        image.getPixelAt(0, 0),
        rgb(juce::Colours::black.overlaidWith(background).overlaidWith(background.contrasting(0.1f))), 2));
    EXPECT_EQ(image.getPixelAt(59, 39), image.getPixelAt(0, 0));
}

TEST_F(StyleFixture, TooltipsAreLaidOutWithinFourHundredPixelsAndDrawnDark)
{
    XStyle style;
    int shortWidth = 0, shortHeight = 0;
    style.getTooltipSize("Gain", shortWidth, shortHeight);
    EXPECT_GT(shortWidth, 14);
    EXPECT_LT(shortWidth, 100);
    EXPECT_GT(shortHeight, 10);

    const juce::String longText = juce::String::repeatedString("Output level ", 60);
    int longWidth = 0, longHeight = 0;
    style.getTooltipSize(longText, longWidth, longHeight);
    EXPECT_LE(longWidth, 400 + 14);
    EXPECT_GT(longHeight, 3 * shortHeight) << "a long text wraps into several lines";

    const auto bounds = style.getTooltipBounds("Gain", {100, 100}, {0, 0, 800, 600});
    EXPECT_EQ(bounds.getWidth(), shortWidth);
    EXPECT_EQ(bounds.getHeight(), shortHeight);
    EXPECT_TRUE(juce::Rectangle<int>(0, 0, 800, 600)
                    .contains(style.getTooltipBounds("Gain", {799, 599}, {0, 0, 800, 600})));

    juce::Image image(juce::Image::RGB, 120, shortHeight, true);
    juce::Graphics g(image);
    g.fillAll(juce::Colours::white);
    style.drawTooltip(g, "Gain", 120, shortHeight);
    EXPECT_EQ(image.getPixelAt(4, shortHeight / 2), juce::Colours::darkgrey.darker(0.4f));
    bool lightText = false;
    for (int x = 40; x < 80; ++x)
        for (int y = 0; y < shortHeight; ++y)
            lightText = lightText || image.getPixelAt(x, y).getBrightness() > 0.8f;
    EXPECT_TRUE(lightText) << "the text is drawn in antique white";
}
