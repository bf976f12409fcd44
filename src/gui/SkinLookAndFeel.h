#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <optional>

/** JUCE's flat look in the skin's colours and named fonts, for windows built from JUCE's own
    components (the factory-preset builder, the job progress windows), so that they look like the
    rest of the program rather than JUCE's default dark green scheme.

    Colours come from the program's colour dictionary and fonts from the skin's named fonts, both
    read when the look is made: the skin must be loaded by then. A colour or font the skin lacks
    keeps JUCE's own. A window sets the look on itself and clears it before the look goes. Message
    thread only. */
class SkinLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    /** The skin's colour names each JUCE colour is taken from. */
    static constexpr const char* kWindowBackground = "windowBackground";
    static constexpr const char* kWidgetBackground = "widgetBack";
    static constexpr const char* kMenuBackground = "popupBackground";
    static constexpr const char* kOutline = "panelEdge";
    static constexpr const char* kText = "windowText";
    static constexpr const char* kFill = "buttonLit";
    static constexpr const char* kHighlightedText = "popupTextHighlight";
    static constexpr const char* kHighlightedFill = "popupBackgroundHighlight";
    static constexpr const char* kMenuText = "popupText";
    static constexpr const char* kTitleText = "windowTitleText";
    static constexpr const char* kButtonFace = "faceBase";
    static constexpr const char* kButtonText = "buttonText";
    static constexpr const char* kButtonTextLit = "buttonTextLit";
    static constexpr const char* kProgressBar = "progressBarFore";
    static constexpr const char* kProgressBarBackground = "progressBarBack";
    /** The skin's named fonts of labels and messages, of buttons and of alert titles. */
    static constexpr const char* kTextFont = "dialogLabel";
    static constexpr const char* kButtonFont = "button";
    static constexpr const char* kTitleFont = "large";

    SkinLookAndFeel();

    juce::Font getLabelFont(juce::Label& label) override;
    juce::Font getTextButtonFont(juce::TextButton& button, int buttonHeight) override;
    juce::Font getAlertWindowTitleFont() override;
    juce::Font getAlertWindowMessageFont() override;
    juce::Font getAlertWindowFont() override;
    /** JUCE's bar, with its text in the skin's text colour and font so that it reads on the bar and
        on its background alike. */
    void drawProgressBar(juce::Graphics& g, juce::ProgressBar& bar, int width, int height, double progress,
                         const juce::String& text) override;

private:
    std::optional<juce::Font> textFont;
    std::optional<juce::Font> buttonFont;
    std::optional<juce::Font> titleFont;
};
