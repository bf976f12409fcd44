#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "windows/SysOvvBlockPanel.h"

#include <array>

class XEQView;

/** The output block of one output in the system overview: the output's name and the summed
    response of everything that feeds it, 89 bands in this order: the high-pass filter and nine
    bands of input A then of input B (0..19), the 31 graphic bands of input A then of input B
    (20..81), the crossover's high and low pass (82, 83) and the output's five bands (84..88), moved
    by the output gain and blank while the output is muted. Parametric bands are drawn with the EQ
    windows' draw types.

    The bands of an input that does not feed the output (by the output's source) are bound to the
    overview's constant "bypassed"; the others to the block's own band-on parameters, which follow
    the inputs' and the output's bypass flags and read 1 (bypassed) while their whole equaliser is
    bypassed. BindInputBands rebinds them when the routing changes. GUI thread only. */
class SysOvvOutputPanel final : public SysOvvBlockPanel
{
public:
    static constexpr int32_t kOutputBandCount = 5;
    static constexpr int32_t kPeqBandCount = 10;
    /** Keys of the own on-parameters' sources (plus band, input or 31/11 * input + band). */
    static constexpr int32_t kEqBypassKey = static_cast<int32_t>(FourCharCode("chbp"));
    static constexpr int32_t kOutputBandKey = static_cast<int32_t>(FourCharCode("flbp"));
    static constexpr int32_t kGeqAllKey = static_cast<int32_t>(FourCharCode("gqch"));
    static constexpr int32_t kGeqBandKey = static_cast<int32_t>(FourCharCode("gqBb"));
    static constexpr int32_t kPeqAllKey = static_cast<int32_t>(FourCharCode("pqch"));
    static constexpr int32_t kPeqBandKey = static_cast<int32_t>(FourCharCode("pqBb"));
    /** Where the band groups start in the summed view. */
    static constexpr int32_t kFirstGeqBand = 20;
    static constexpr int32_t kHighPassBand = 82;
    static constexpr int32_t kLowPassBand = 83;
    static constexpr int32_t kFirstOutputBand = 84;
    static constexpr int32_t kBandCount = 89;

    /** Makes the own band-on parameters and watches their sources (told at once). */
    SysOvvOutputPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);
    ~SysOvvOutputPanel() override;

    /** Null until built. */
    XEQView* GetSummedView() const { return summedView; }
    /** Binds the band-on parameters of both inputs' bands (0..81) for the output's source (0 input
        A, 1 input B, 2 both): the own parameters of a feeding input, the constant of the others.
        Nothing before the view is built. */
    void BindInputBands(int32_t source);
    /** The own band-on parameters (null outside their ranges). */
    FloatParam* OutputBandOn(int32_t band);
    FloatParam* GeqBandOn(int32_t input, int32_t band);
    FloatParam* PeqBandOn(int32_t input, int32_t band);

    /** The button's handling; then the bypass flags reach the own parameters and a whole
        equaliser's bypass recomputes the views it concerns. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    void BuildChildren() override;

private:
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kGeqBandCount = 31;

    void WatchSources();

    std::array<FloatParam, kOutputBandCount> outputBandOn;
    std::array<std::array<FloatParam, kGeqBandCount>, kInputCount> geqBandOn;
    std::array<std::array<FloatParam, kPeqBandCount>, kInputCount> peqBandOn;
    XEQView* summedView = nullptr; // child
};
