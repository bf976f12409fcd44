#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>

class FreqPanel;
class XEQView;
class XText;

/** The "Output Frequency Response" window: per output a strip (FreqPanel) whose response view sums
    everything the unit applies on the way to that output: the parametric and graphic equalisers of
    the input or inputs that feed it, its crossover, its five parametric bands, shifted by its gain.
    Bands that are bypassed, singly or with their block, or whose input does not feed the output,
    drop out of the curve; a routing change rebinds the input bands of that output.

    The window owns the constants the views share (zero gain, band on and off, the graphic bands' Q
    and type; their frequencies are the graphic equaliser window's) and the dB-range toggle of all
    six graphs; they are local, never sent. Created hidden by the application with its watchers;
    builds its strips on the first show. One such window exists. GUI thread only. */
class FreqResponseWindow final : public SubWindow
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kGraphicBandCount = 31;
    /** The parametric bands of an input that are drawn: its high-pass filter and bands 1..9. */
    static constexpr int32_t kInputPeqBandCount = 10;
    /** Bands per view: 20 input parametric, 62 graphic, 2 crossover, 5 output parametric. */
    static constexpr int32_t kBandCount = 89;
    static constexpr int32_t kFirstGraphicBand = 20;
    static constexpr int32_t kHighPassBand = 82;
    static constexpr int32_t kLowPassBand = 83;
    static constexpr int32_t kFirstOutputBand = 84;
    static constexpr double kGraphicQ = 4.3189;
    /** The view's peaking type. */
    static constexpr double kGraphicType = 2;
    /** Display ranges: as built, and with the toggle set or cleared. */
    static constexpr double kInitialRange = 24.0;
    static constexpr double kNarrowRange = 12.75;
    static constexpr double kWideRange = 25.5;

    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));

    /** Watches each output's source (keys 0..5) and the configuration; hidden, without content. */
    FreqResponseWindow();
    ~FreqResponseWindow() override;

    /** Points the input bands of output's view (0..5) at its strip's draw parameters for the inputs
        that source (0 A, 1 B, 2 A+B) feeds, at the band-off constant for the others. */
    void RebindInputBands(int32_t output, int32_t source);
    /** Each view takes the colour of its output's colour index. */
    void UpdateCurveColours();
    /** Every view's display range from the range toggle: narrow while set, wide while cleared. */
    void ApplyRange();
    /** Every view recomputes all its bands (a block bypass of an input reaches every output). */
    void InvalidateAllViews();

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "FreqResponseWindow"; }

    /** Null until the content is built, or outside 0..5. */
    XEQView* GetView(int32_t output) const;
    FreqPanel* GetPanel(int32_t output) const;
    XText* GetCompareCover() const { return compareCover; }
    /** Called by a strip as it builds its view. */
    void SetView(int32_t output, XEQView* view);

    FloatParam& ZeroGain() { return zeroGain; }
    FloatParam& BandOn() { return bandOn; }
    FloatParam& BandOff() { return bandOff; }
    FloatParam& GraphicQ() { return graphicQ; }
    FloatParam& GraphicType() { return graphicType; }
    FloatParam& RangeToggle() { return rangeToggle; }

protected:
    void BuildContent() override;

private:
    FloatParam zeroGain;
    FloatParam bandOn;
    FloatParam bandOff;
    FloatParam graphicQ;
    FloatParam graphicType;
    FloatParam rangeToggle;
    std::array<XEQView*, kOutputCount> views{};
    std::array<FreqPanel*, kOutputCount> panels{}; // children, null until built
    XText* compareCover = nullptr;
};
