#pragma once

#include "core/XParamGroup.h"
#include "core/XString.h"
#include "device/ChannelParamTables.h"
#include "gui/XView.h"
#include "widgets/XSlider.h"

#include <cstdint>

class XButton;
class XParam;

/** The fader of a graphic equaliser band. A drag sets the gain through the parameter's normalised
    position, which single precision can leave a hair below the step the knob stands on (a knob on
    its 0 dB mark would read -0.5 dB); the position is nudged by far less than a step before it is
    truncated, so that the knob's own marks give their values exactly. GUI thread only. */
class GEQFader final : public XSlider
{
public:
    /** Far below a step of any fader, far above single precision's rounding of a position. */
    static constexpr float kTruncationGuard = 1e-6f;

    GEQFader(const XRect& frame, const char* trackImage, const char* knobImage);

    float PointToNormalised(const XPoint& point) override;
};

/** One band's strip of the input graphic equaliser: the band's bypass LED above its gain fader, both
    bound to that input's channel parameters (GEQbypass<band + 1>, GEQgain<band + 1>), so that edits
    reach the unit through the parameter model.

    Transparent; builds its content when its style is first applied (when added to its window). The
    parameters are not owned; a missing one leaves its control unbound. Main thread only. */
class GEQFilterPanel final : public XView
{
public:
    /** The strip's size in the window; the fader's and the LED's places in it. */
    static constexpr int32_t kWidth = 19;
    static constexpr int32_t kHeight = 226;
    static constexpr XRect kFaderFrame{0, 12, 19, 216};
    static constexpr XPoint kLedAt{4, 0};

    static constexpr const char* kTrackImage = "eq\\eqFaderBg.png";
    static constexpr const char* kKnobImage = "eq\\eqfaderSlider.png";
    static constexpr const char* kLedOnImage = "eq\\eqLedYellow.png";
    static constexpr const char* kLedOffImage = "eq\\eqLedDim.png";

    /** Channel parameter ids: the gain of band b is kGainFirstId + b, its bypass kBypassFirstId + b. */
    static constexpr int32_t kGainFirstId = ChannelParamTables::kGeqGainFirstId;
    static constexpr int32_t kBypassFirstId = ChannelParamTables::kGeqBypassFirstId;

    /** input 0 (A) or 1 (B); band 0..30. */
    GEQFilterPanel(int32_t input, int32_t band);
    ~GEQFilterPanel() override;

    void ApplyStyle() override;

    /** The input's channel parameter by id; null when the input or the parameter does not exist. */
    XParam* GetInputParam(int32_t id) const;

    int32_t GetInput() const { return input; }
    int32_t GetBand() const { return band; }
    /** The views, null before the build. */
    GEQFader* GetFader() const { return fader; }
    XButton* GetBypassLed() const { return bypassLed; }

private:
    const int32_t input;
    const int32_t band;
    XString name;
    XParamGroup group; // the strip's own, unfilled
    bool built = false;
    GEQFader* fader = nullptr;    // child views
    XButton* bypassLed = nullptr; // (LED: lit while the band is not bypassed)
};
