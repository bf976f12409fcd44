#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "gui/XView.h"

#include <array>
#include <cstdint>

class FreqResponseWindow;
class XButton;
class XEQView;
class XQM7FrontPanelLEDMeter;
class XSlider;
class XText;
class XTextEditView;

/** One output's strip of the frequency response window: its response view over a frequency grid,
    gain fader and entry, level meter, mute, label and number, and the dB-range toggle shared by all
    strips.

    The strip keeps the draw parameters its view reads as band-on switches (1 = not drawn): one per
    output parametric band, per input graphic band and per input parametric band. Each mirrors the
    band's own bypass and reads 1 while the band's whole block (ChEQBypass, GEQAllBypass,
    PEQAllBypass) is bypassed. A block bypass changes no draw parameter, so the views recompute every
    band instead (an input's block reaches all six views, an output's only its own).

    The strip builds its controls the first time its style is applied and hands its view to the
    window. It owns its draw parameters and, as children, its controls. GUI thread only. */
class FreqPanel final : public XView
{
public:
    static constexpr int32_t kOutputBandCount = 5;
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kGraphicBandCount = 31;
    /** Per input: the high-pass filter, bands 1..9 and one slot that is never bound. */
    static constexpr int32_t kPeqDrawCount = 11;

    static constexpr int32_t kChannelEqBypassKey = static_cast<int32_t>(FourCharCode("chbp"));
    static constexpr int32_t kBandBypassKey = static_cast<int32_t>(FourCharCode("flbp"));
    static constexpr int32_t kGeqAllBypassKey = static_cast<int32_t>(FourCharCode("gqch"));
    static constexpr int32_t kGeqBandBypassKey = static_cast<int32_t>(FourCharCode("gqBb"));
    static constexpr int32_t kPeqAllBypassKey = static_cast<int32_t>(FourCharCode("pqch"));
    static constexpr int32_t kPeqBandBypassKey = static_cast<int32_t>(FourCharCode("pqBb"));
    static constexpr int32_t kRangeKey = static_cast<int32_t>(FourCharCode("dbrg"));

    /** output: 0..5. Builds the draw parameters, watches the bypasses they mirror (told at once)
        and the window's range toggle; see-through. */
    FreqPanel(FreqResponseWindow& window, int32_t output);
    ~FreqPanel() override;

    /** The base's style, then the strip's controls, once. */
    void ApplyStyle() override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    int32_t GetOutput() const { return output; }
    XEQView* GetView() const { return view; }
    XSlider* GetGainFader() const { return gainFader; }
    XTextEditView* GetGainField() const { return gainField; }
    XQM7FrontPanelLEDMeter* GetLevelMeter() const { return levelMeter; }
    XButton* GetMuteButton() const { return muteButton; }
    XButton* GetRangeButton() const { return rangeButton; }
    XText* GetOutputLabel() const { return label; }

    /** Points the view's input bands at this strip's draw parameters for the inputs that source
        (0 A, 1 B, 2 A+B) feeds, at the window's band-off constant for the others. */
    void BindInputBands(int32_t source);

    /** Draw parameters; null outside their ranges. */
    FloatParam* OutputBandDraw(int32_t band);
    FloatParam* GraphicBandDraw(int32_t input, int32_t band);
    FloatParam* ParametricBandDraw(int32_t input, int32_t band);

private:
    void BuildDrawParams();
    void WatchBypasses();
    void Build();
    void ConfigureView();
    /** The bands that do not depend on the routing: graphic gains, frequencies, Q and types, the
        input parametric settings, the crossover and the output's bands. */
    void BindFixedBands();

    FreqResponseWindow& window;
    const int32_t output;
    bool built = false;
    std::array<FloatParam, kOutputBandCount> outputDraw;
    std::array<std::array<FloatParam, kGraphicBandCount>, kInputCount> graphicDraw;
    std::array<std::array<FloatParam, kPeqDrawCount>, kInputCount> parametricDraw;
    XEQView* view = nullptr; // children, null until built
    XSlider* gainFader = nullptr;
    XTextEditView* gainField = nullptr;
    XQM7FrontPanelLEDMeter* levelMeter = nullptr;
    XButton* muteButton = nullptr;
    XButton* rangeButton = nullptr;
    XText* label = nullptr;
};
