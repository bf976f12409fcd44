#pragma once

#include "core/XMessageCodes.h"
#include "gui/XView.h"

#include <array>
#include <cstdint>

class XButton;
class XComboBox;
class XPict;
class XPopupMenu;
class XSlider;
class XText;
class XTextEditView;

/** One output's strip of the crossover window: the output's label and colour block, its gain fader
    and entry field, polarity, mute, crossover delay (one box per display unit, the one of
    "global\XOverDelayUnits" shown), delay bypass, and the high-pass and low-pass filter types and
    frequencies. Every control is bound to a parameter of the output's group or to the window's
    mirrors of the delay ("crossover\delay...Ch<n>").

    The strip builds its controls the first time its style is applied (when it is added to the
    window); the polarity drop-down takes an inverted look while outputPolarity is 1. The panel owns
    its controls as children; parameters are not owned. GUI thread only. */
class XOverPanel final : public XView
{
public:
    static constexpr int32_t kPolarityKey = static_cast<int32_t>(FourCharCode("pol "));
    /** The six delay boxes by the value of global\XOverDelayUnits: milliseconds, microseconds,
        feet, inches, metres, centimetres. */
    static constexpr int32_t kDelayUnitCount = 6;

    /** outputNumber: 1..6. Watches the output's polarity and becomes see-through. */
    explicit XOverPanel(int32_t outputNumber);
    ~XOverPanel() override;

    /** The base's style, then the strip's controls, once. */
    void ApplyStyle() override;
    /** The polarity drop-down's look follows outputPolarity; then the base. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    int32_t GetOutputNumber() const { return outputNumber; }
    XPopupMenu* GetPolarityMenu() const { return polarity; }
    XSlider* GetGainFader() const { return gainFader; }
    XTextEditView* GetGainField() const { return gainField; }
    XButton* GetMuteButton() const { return muteButton; }
    XButton* GetDelayBypassButton() const { return delayBypass; }
    /** The delay box shown for a value of global\XOverDelayUnits (0..5); null outside. */
    XComboBox* GetDelayBox(int32_t unit) const;
    XPopupMenu* GetTypeMenu(bool highPass) const { return highPass ? highPassType : lowPassType; }
    XComboBox* GetFrequencyBox(bool highPass) const { return highPass ? highPassFreq : lowPassFreq; }
    /** The colour block of colour index 0..5; null outside. */
    XPict* GetColourBlock(int32_t colour) const;

private:
    /** The output's parameter of an OutputParamIds id; null when missing. */
    XParam* Param(int32_t id) const;
    void Build();
    // Build's steps, in the order the controls stack.
    void AddGainControls();
    /** The delay box of each unit (one shown at a time) and the delay bypass. */
    void AddDelayControls();
    /** The high-pass and low-pass captions, type menus and frequency boxes. */
    void AddFilterControls();
    /** The colour block of each colour index (the output's colour shown); returns the output's
        colour parameter, null when missing. */
    XParam* AddColourBlocks();
    void ShowPolarity();

    XPopupMenu* polarity = nullptr; // child, null until built
    const int32_t outputNumber;
    bool built = false;
    XText* label = nullptr;
    XSlider* gainFader = nullptr;
    XTextEditView* gainField = nullptr;
    XButton* muteButton = nullptr;
    XButton* delayBypass = nullptr;
    std::array<XComboBox*, kDelayUnitCount> delayBoxes{};
    XPopupMenu* highPassType = nullptr;
    XPopupMenu* lowPassType = nullptr;
    XComboBox* highPassFreq = nullptr;
    XComboBox* lowPassFreq = nullptr;
    std::array<XPict*, kDelayUnitCount> colourBlocks{};
};
