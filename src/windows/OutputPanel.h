#pragma once

#include "gui/XView.h"

#include <array>
#include <cstdint>

class XButton;
class XComboBox;
class XLEDMeter;
class XPict;
class XPopupMenu;
class XQM7FrontPanelLEDMeter;
class XSlider;
class XText;
class XTextEditView;

/** One output's strip of the limiters and levels window: the output's label and colour block, its
    gain fader and entry field, the level meter (red "OL" segment lit by outputMeter at 0 dB), the
    limiter's gain-reduction meter (yellow segments growing down from 0 dB), mute, and the limiter's
    threshold, amplifier model, release time and bypass. Every control is bound to a parameter of
    the output's group; a missing parameter leaves its control unbound.

    The strip builds its controls the first time its style is applied (when it is added to the
    window). It owns its controls as children, no parameter. GUI thread only. */
class OutputPanel final : public XView
{
public:
    static constexpr int32_t kColourCount = 6;
    static constexpr int32_t kMeterSegments = 8;

    /** output: 0..5. The strip is see-through. */
    explicit OutputPanel(int32_t output);
    ~OutputPanel() override;

    /** The base's style, then the strip's controls, once. */
    void ApplyStyle() override;

    int32_t GetOutput() const { return output; }
    XText* GetOutputLabel() const { return label; }
    XSlider* GetGainFader() const { return gainFader; }
    XTextEditView* GetGainField() const { return gainField; }
    XQM7FrontPanelLEDMeter* GetLevelMeter() const { return levelMeter; }
    XLEDMeter* GetReductionMeter() const { return reductionMeter; }
    XButton* GetMuteButton() const { return muteButton; }
    XComboBox* GetThresholdBox() const { return thresholdBox; }
    XPopupMenu* GetAmplifierMenu() const { return amplifierMenu; }
    XComboBox* GetReleaseBox() const { return releaseBox; }
    XButton* GetLimiterBypassButton() const { return limiterBypass; }
    /** The colour block of colour index 0..5; null outside. */
    XPict* GetColourBlock(int32_t colour) const;

private:
    void Build();
    void BuildMeters();
    void BuildLimiter();

    const int32_t output;
    bool built = false;
    XText* label = nullptr; // children, null until built
    XSlider* gainFader = nullptr;
    XTextEditView* gainField = nullptr;
    XQM7FrontPanelLEDMeter* levelMeter = nullptr;
    XLEDMeter* reductionMeter = nullptr;
    XButton* muteButton = nullptr;
    XComboBox* thresholdBox = nullptr;
    XPopupMenu* amplifierMenu = nullptr;
    XComboBox* releaseBox = nullptr;
    XButton* limiterBypass = nullptr;
    std::array<XPict*, kColourCount> colourBlocks{};
};
