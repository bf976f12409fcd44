#include "gui/SkinLookAndFeel.h"

#include "core/XRGB.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"

namespace
{
/** The height of a bar's text, as a share of the bar's, when the skin has no font for it. */
constexpr float kBarTextHeight = 0.6f;

/** The skin's colour of that name, else the fallback. */
juce::Colour SkinColour(const char* name, juce::Colour fallback)
{
    XRGB colour;
    return GetColorDictionary().FindColor(name, colour) == XColorDictionary::kResultOk ? colour.ToColour()
                                                                                       : fallback;
}

std::optional<juce::Font> SkinFont(const char* name)
{
    if (const XFont* font = XFont::FindNamedFont(name, false))
        return font->GetJuceFont();
    return std::nullopt;
}
} // namespace

SkinLookAndFeel::SkinLookAndFeel()
    : textFont(SkinFont(kTextFont)), buttonFont(SkinFont(kButtonFont)), titleFont(SkinFont(kTitleFont))
{
    using UIColour = ColourScheme::UIColour;
    const ColourScheme fallback = getDarkColourScheme();
    const std::pair<UIColour, const char*> schemeColours[] = {
        {UIColour::windowBackground, kWindowBackground},
        {UIColour::widgetBackground, kWidgetBackground},
        {UIColour::menuBackground, kMenuBackground},
        {UIColour::outline, kOutline},
        {UIColour::defaultText, kText},
        {UIColour::defaultFill, kFill},
        {UIColour::highlightedText, kHighlightedText},
        {UIColour::highlightedFill, kHighlightedFill},
        {UIColour::menuText, kMenuText},
    };
    ColourScheme scheme = fallback;
    for (const auto& [colour, name] : schemeColours)
        scheme.setUIColour(colour, SkinColour(name, fallback.getUIColour(colour)));
    setColourScheme(scheme);

    // What the scheme does not say: alerts as windows, raised button faces, the title text and the
    // progress bar.
    const std::pair<int, const char*> componentColours[] = {
        {juce::AlertWindow::backgroundColourId, kWindowBackground},
        {juce::TextButton::buttonColourId, kButtonFace},
        {juce::TextButton::buttonOnColourId, kFill},
        {juce::TextButton::textColourOffId, kButtonText},
        {juce::TextButton::textColourOnId, kButtonTextLit},
        {juce::DocumentWindow::textColourId, kTitleText},
        {juce::AlertWindow::outlineColourId, kOutline},
        {juce::ProgressBar::foregroundColourId, kProgressBar},
        {juce::ProgressBar::backgroundColourId, kProgressBarBackground},
    };
    for (const auto& [id, name] : componentColours)
        setColour(id, SkinColour(name, findColour(id)));
}

juce::Font SkinLookAndFeel::getLabelFont(juce::Label& label)
{
    return textFont.value_or(LookAndFeel_V4::getLabelFont(label));
}

juce::Font SkinLookAndFeel::getTextButtonFont(juce::TextButton& button, int buttonHeight)
{
    return buttonFont.value_or(LookAndFeel_V4::getTextButtonFont(button, buttonHeight));
}

juce::Font SkinLookAndFeel::getAlertWindowTitleFont()
{
    return titleFont.value_or(LookAndFeel_V4::getAlertWindowTitleFont());
}

juce::Font SkinLookAndFeel::getAlertWindowMessageFont()
{
    return textFont.value_or(LookAndFeel_V4::getAlertWindowMessageFont());
}

juce::Font SkinLookAndFeel::getAlertWindowFont()
{
    return textFont.value_or(LookAndFeel_V4::getAlertWindowFont());
}

void SkinLookAndFeel::drawProgressBar(juce::Graphics& g, juce::ProgressBar& bar, int width, int height,
                                      double progress, const juce::String& text)
{
    LookAndFeel_V4::drawProgressBar(g, bar, width, height, progress, {});
    if (text.isEmpty())
        return;
    g.setColour(getCurrentColourScheme().getUIColour(ColourScheme::UIColour::defaultText));
    g.setFont(textFont.value_or(juce::Font(static_cast<float>(height) * kBarTextHeight)));
    g.drawText(text, 0, 0, width, height, juce::Justification::centred, false);
}
