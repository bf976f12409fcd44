#pragma once

#include "core/XParamDesc.h"

#include <cstdint>

/** The unit's per-channel parameters: one descriptor row per parameter of an input channel
    (InputChannelParamTable) and of an output channel (OutputChannelParamTable), each ended by a
    row with an empty name. A channel group creates one parameter per row; the row's id is the
    parameter's id in its group and, inside the wire range, the offset of its wire id.

    The tables are constant for the life of the program. Their callbacks are those of
    ChannelParamCallbacks. */
namespace ChannelParamTables
{
/** Rows before the end row. */
constexpr int kInputRowCount = 130;
constexpr int kOutputRowCount = 56;

/** Ids at or above 0 and up to these are sent to the unit; other ids are the editor's own. */
constexpr int32_t kInputWireIdLast = 97;
constexpr int32_t kOutputWireIdLast = 51;

/** Flag bits of the rows: transient, and the editing region a parameter belongs to. */
constexpr int32_t kTransient = XParamDesc::kFlagTransient;
constexpr int32_t kRegionInputPeq = 0x10000;     // "Input Parametric Equalizer / High-Pass Filter"
constexpr int32_t kRegionInputGeq = 0x20000;     // "Input Graphic Equalizer"
constexpr int32_t kRegionInputDelay = 0x40000;   // "Input Delay"
constexpr int32_t kRegionRouting = 0x80000;      // "Routing"
constexpr int32_t kRegionCrossover = 0x100000;   // "Crossover"
constexpr int32_t kRegionOutputEq = 0x200000;    // "Output EQ"
constexpr int32_t kRegionOutputDelay = 0x400000; // "Output Delay"
constexpr int32_t kRegionLimiters = 0x800000;    // "Limiters and Levels"

/** Id of the first GEQ band bypass view (GEQbypass01); band i + 1 has this id + i. */
constexpr int32_t kGeqBypassFirstId = static_cast<int32_t>(0xFFFF0000u);

/** Ids of InputChannelParamTable the code names. A band property's first id is that of band 0,
    the high-pass filter; band b (1..9) has this id + b. */
constexpr int32_t kInputMeterId = 0;        // inputMeter
constexpr int32_t kInputTypeFirstId = 1;    // HPFType, Band1Type..Band9Type
constexpr int32_t kInputGainFirstId = 11;   // HPFGain, Band1Gain..Band9Gain
constexpr int32_t kInputFreqFirstId = 21;   // HPFFreq, Band1Freq..Band9Freq
constexpr int32_t kInputQFirstId = 31;      // HPFQ, Band1Q..Band9Q
constexpr int32_t kInputSlopeFirstId = 41;  // HPFSlope, Band1Slope..Band9Slope
constexpr int32_t kInputBypassFirstId = 51; // HPFBypass, Band1Bypass..Band9Bypass
constexpr int32_t kPeqAllBypassId = 61;     // PEQAllBypass
constexpr int32_t kGeqGainFirstId = 62;     // GEQgain1; band i + 1 has this id + i
constexpr int32_t kGeqBandBypassId = 93;    // GEQBandBypass; band i is bit i
constexpr int32_t kGeqAllBypassId = 94;     // GEQAllBypass
constexpr int32_t kInputDelayId = 96;       // delayTime
constexpr int32_t kInputDelayBypassId = 97; // delayBypass
constexpr int32_t kPeqDrawEnableId = 140;   // PEQDrawEnable
/** Ids of OutputChannelParamTable the code names. A band property's first id is that of band 1;
    band k + 1 (k 0..4) has this id + k. */
constexpr int32_t kOutputMeterId = 0;          // outputMeter
constexpr int32_t kOutputSourceId = 1;         // source
constexpr int32_t kHipassTypeId = 2;           // hipassTypeQ
constexpr int32_t kHipassFreqId = 3;           // hipassFreq
constexpr int32_t kHipassBypassId = 4;         // hipassBypass
constexpr int32_t kLopassTypeId = 5;           // lopassTypeQ
constexpr int32_t kLopassFreqId = 6;           // lopassFreq
constexpr int32_t kCrossoverDelayId = 8;       // xoverDelayTime
constexpr int32_t kCrossoverDelayBypassId = 9; // xoverDelayBypass
constexpr int32_t kOutputPolarityId = 10;      // outputPolarity
constexpr int32_t kLinkedChannelId = 11;       // linkedChannel
constexpr int32_t kOutputTypeFirstId = 12;     // band1Type..band5Type
constexpr int32_t kOutputGainFirstId = 17;     // band1Gain..band5Gain
constexpr int32_t kOutputBand3GainId = 19;     // band3Gain
constexpr int32_t kOutputFreqFirstId = 22;     // band1Freq..band5Freq
constexpr int32_t kOutputBand3FreqId = 24;     // band3Freq
constexpr int32_t kOutputQFirstId = 27;        // band1Q..band5Q
constexpr int32_t kOutputSlopeFirstId = 32;    // band1Slope..band5Slope
constexpr int32_t kOutputBypassFirstId = 37;   // Band1Bypass..Band5Bypass
constexpr int32_t kChannelEqBypassId = 42;     // ChEQBypass
constexpr int32_t kOutputDelayId = 43;         // delayTime
constexpr int32_t kOutputDelayBypassId = 44;   // delayBypass
constexpr int32_t kOutputMuteId = 45;          // outputMute
constexpr int32_t kGainReductionId = 46;       // gainReduction
constexpr int32_t kLimitThresholdId = 47;      // limitThreshold
constexpr int32_t kLimitReleaseId = 48;        // limitRelease
constexpr int32_t kLimitBypassId = 49;         // limitBypass
constexpr int32_t kAmplifierIndexId = 50;      // OutChLimAmpIndex
constexpr int32_t kOutputGainId = 51;          // outputGain
constexpr int32_t kOutputLabelId = 115;        // label
constexpr int32_t kFilterModeId = 571;         // chFilterMode
constexpr int32_t kGuiMeterId = 573;           // outputGuiMeter
} // namespace ChannelParamTables

/** kInputRowCount rows and the end row. */
extern const XParamDesc InputChannelParamTable[ChannelParamTables::kInputRowCount + 1];
/** kOutputRowCount rows and the end row. */
extern const XParamDesc OutputChannelParamTable[ChannelParamTables::kOutputRowCount + 1];
