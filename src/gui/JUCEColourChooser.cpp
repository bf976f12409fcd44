#include "gui/JUCEColourChooser.h"

#include <array>
#include <juce_gui_extra/juce_gui_extra.h>

namespace
{
constexpr int kDialogWidth = 400;
constexpr int kDialogHeight = 420;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kMargin = 8;
constexpr int kOkResult = 1;

/** The custom colours kept between calls. GUI thread only. */
std::array<juce::Colour, JUCEColourChooser::kCustomColourCount>& CustomColours()
{
    static std::array<juce::Colour, JUCEColourChooser::kCustomColourCount> colours = []
    {
        std::array<juce::Colour, JUCEColourChooser::kCustomColourCount> initial;
        initial.fill(juce::Colours::white);
        return initial;
    }();
    return colours;
}

/** A colour selector whose swatches are the process-wide custom colours. */
class CustomColourSelector final : public juce::ColourSelector
{
public:
    CustomColourSelector()
        : juce::ColourSelector(juce::ColourSelector::showColourAtTop | juce::ColourSelector::showSliders |
                               juce::ColourSelector::showColourspace)
    {
    }

    int getNumSwatches() const override { return JUCEColourChooser::kCustomColourCount; }
    juce::Colour getSwatchColour(int index) const override
    {
        return CustomColours()[static_cast<size_t>(index)];
    }
    void setSwatchColour(int index, const juce::Colour& colour) override
    {
        CustomColours()[static_cast<size_t>(index)] = colour;
    }
};

/** The dialog's content: the selector above the two buttons, which end the modal loop. */
class ChooserContent final : public juce::Component
{
public:
    explicit ChooserContent(const XRGB& initial)
    {
        selector.setName(JUCEColourChooser::kSelectorName);
        selector.setCurrentColour(juce::Colour(initial.r, initial.g, initial.b), juce::dontSendNotification);
        okButton.setName(JUCEColourChooser::kOkButtonName);
        cancelButton.setName(JUCEColourChooser::kCancelButtonName);
        okButton.onClick = [this] { Finish(kOkResult); };
        cancelButton.onClick = [this] { Finish(0); };
        addAndMakeVisible(selector);
        addAndMakeVisible(okButton);
        addAndMakeVisible(cancelButton);
        setSize(kDialogWidth, kDialogHeight);
    }

    juce::Colour GetColour() const { return selector.getCurrentColour(); }

    void resized() override
    {
        auto area = getLocalBounds().reduced(kMargin);
        auto buttons = area.removeFromBottom(kButtonHeight);
        cancelButton.setBounds(buttons.removeFromRight(kButtonWidth));
        buttons.removeFromRight(kMargin);
        okButton.setBounds(buttons.removeFromRight(kButtonWidth));
        area.removeFromBottom(kMargin);
        selector.setBounds(area);
    }

private:
    void Finish(int result)
    {
        if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
            dialog->exitModalState(result);
    }

    CustomColourSelector selector;
    juce::TextButton okButton{JUCEColourChooser::kOkButtonName};
    juce::TextButton cancelButton{JUCEColourChooser::kCancelButtonName};
};

/** The modal window around the content; its close button (and Escape) cancel. */
class ChooserDialog final : public juce::DialogWindow
{
public:
    ChooserDialog()
        : juce::DialogWindow(JUCEColourChooser::kDialogTitle,
                             juce::LookAndFeel::getDefaultLookAndFeel().findColour(
                                 juce::ResizableWindow::backgroundColourId),
                             true, true)
    {
    }

    void closeButtonPressed() override { exitModalState(0); }
};
} // namespace

bool JUCEColourChooser::Choose(const XRGB& initial, XRGB& chosen)
{
    ChooserContent content(initial);
    ChooserDialog dialog;
    dialog.setUsingNativeTitleBar(true);
    dialog.setContentNonOwned(&content, true);
    dialog.centreWithSize(dialog.getWidth(), dialog.getHeight());
    dialog.setVisible(true);
    if (dialog.runModalLoop() != kOkResult)
        return false;
    const juce::Colour colour = content.GetColour();
    chosen = XRGB(colour.getRed(), colour.getGreen(), colour.getBlue());
    return true;
}

XRGB JUCEColourChooser::GetCustomColour(int index)
{
    if (index < 0 || index >= kCustomColourCount)
        return XRGB(255, 255, 255);
    const juce::Colour colour = CustomColours()[static_cast<size_t>(index)];
    return XRGB(colour.getRed(), colour.getGreen(), colour.getBlue());
}
