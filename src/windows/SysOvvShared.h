#pragma once

#include "core/FloatParam.h"

#include <array>
#include <cstdint>

class SysOvvOutputPanel;
class XEQView;
class XParam;
class XSlider;

/** What the system overview's window and its block panels share: the constant parameters that the
    block views bind where a band needs a fixed value, the centre frequencies of the 31 graphic
    bands (the input graphic EQ window's), and the tables of the output blocks' views, indexed by
    output 0..5, which the output panels fill when they build their children (null until then;
    whoever reads them skips a null).

    The constants are local to the program (no path, no group, never sent to the unit). Owned by the
    window, which outlives its panels; GUI thread only. */
class SysOvvShared final
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kGeqBandCount = 31;
    /** The graphic bands' fixed Q and filter type (peaking). */
    static constexpr double kGeqQ = 4.3189;
    static constexpr int32_t kGeqType = 2;

    SysOvvShared();
    SysOvvShared(const SysOvvShared&) = delete;
    SysOvvShared& operator=(const SysOvvShared&) = delete;

    /** Gain 0 of the drawn crossover bands (-15..15 dB). */
    FloatParam& ZeroGain() { return zeroGain; }
    /** 1: enable and band-on of the crossover block's curve. */
    FloatParam& One() { return one; }
    /** 0: band-on (bypass sense) of the crossover bands inside the output block's view. */
    FloatParam& Zero() { return zero; }
    FloatParam& GeqQ() { return geqQ; }
    FloatParam& GeqType() { return geqType; }
    /** 1: band-on (bypass sense) of the bands of an input that does not feed an output. */
    FloatParam& Bypassed() { return bypassed; }
    /** The input graphic EQ window's centre frequency of graphic band 0..30; null outside. */
    XParam* GeqFrequency(int32_t band);

    std::array<XEQView*, kOutputCount> crossoverViews{};
    std::array<XEQView*, kOutputCount> outputEqViews{};
    std::array<XEQView*, kOutputCount> summedViews{};
    std::array<XSlider*, kOutputCount> delaySliders{};
    /** The output blocks that own the summed views (their rebinding follows the routing). */
    std::array<SysOvvOutputPanel*, kOutputCount> outputPanels{};

private:
    FloatParam zeroGain;
    FloatParam one;
    FloatParam zero;
    FloatParam geqQ;
    FloatParam geqType;
    FloatParam bypassed;
};
