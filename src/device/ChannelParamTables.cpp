#include "device/ChannelParamTables.h"

#include "device/ChannelParamCallbacks.h"

using namespace ChannelParamTables;

namespace
{
/** A callback block of the rows; the tables set no user words. */
constexpr XParamDescExt MakeExt(ParamTextCallback text, ParamVetoCallback change, ParamIndexCallback step,
                                ParamValueMapCallback valueMap)
{
    XParamDescExt ext;
    ext.textCallback = text;
    ext.vetoCallback = change;
    ext.indexCallback = step;
    ext.valueMapCallback = valueMap;
    return ext;
}

// Both tables.
constexpr XParamDescExt kMeterExt = MakeExt(nullptr, ClampToRange, nullptr, nullptr);

// Input rows.
constexpr XParamDescExt kInputTypeExt = MakeExt(InputFilterTypeText, CopyToOtherInput, nullptr, nullptr);
constexpr XParamDescExt kInputFreqExt =
    MakeExt(FrequencyText, CopyToOtherInput, LogFrequencyStep, RoundToInteger);
constexpr XParamDescExt kInputQExt = MakeExt(QText, CopyToOtherInput, nullptr, nullptr);
constexpr XParamDescExt kInputSlopeExt = MakeExt(SlopeText, CopyToOtherInput, nullptr, nullptr);
constexpr XParamDescExt kCopyToOtherInputExt = MakeExt(nullptr, CopyToOtherInput, nullptr, nullptr);
constexpr XParamDescExt kGeqBypassExt = MakeExt(nullptr, GeqBandBypassChanged, nullptr, GeqBandBypassBit);
constexpr XParamDescExt kInputDelayExt = MakeExt(DelayTimeText, CopyToOtherInput, nullptr, nullptr);

// Output rows.
constexpr XParamDescExt kGuiMeterExt = MakeExt(nullptr, nullptr, nullptr, GuiMeterValue);
constexpr XParamDescExt kSourceExt = MakeExt(SourceText, nullptr, nullptr, nullptr);
constexpr XParamDescExt kCrossoverTypeExt =
    MakeExt(CrossoverTypeText, CoupleCrossoverNeighbour, nullptr, IdentityValue);
constexpr XParamDescExt kCrossoverFreqExt =
    MakeExt(FrequencyText, CoupleCrossoverNeighbour, LogFrequencyStep, IdentityValue);
constexpr XParamDescExt kLinkedDelayExt = MakeExt(DelayTimeText, CopyToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kCopyToLinkedExt = MakeExt(nullptr, CopyToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kPolarityExt = MakeExt(PolarityText, CopyToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kOutputTypeExt = MakeExt(OutputFilterTypeText, CopyToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kOutputFreqExt =
    MakeExt(FrequencyText, CopyToLinkedOutput, LogFrequencyStep, RoundToInteger);
constexpr XParamDescExt kOutputSlopeExt = MakeExt(SlopeText, CopyToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kGainReductionExt = MakeExt(nullptr, nullptr, nullptr, GainReductionValue);
constexpr XParamDescExt kOutputGainExt = MakeExt(OutputGainText, CopyToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kMuteExt = MakeExt(nullptr, CopyMuteToLinkedOutput, nullptr, nullptr);
constexpr XParamDescExt kLimitThresholdExt =
    MakeExt(LimitThresholdText, LimitThresholdChanged, nullptr, nullptr);
constexpr XParamDescExt kAmplifierExt = MakeExt(AmplifierText, AmplifierChanged, nullptr, nullptr);
} // namespace

// Rows: id, name, unit code, min, max, default, steps, flags, callbacks. Band 0 of the inputs is the
// high-pass filter; band properties have ids Type 1, Gain 11, Freq 21, Q 31, Slope 41, Bypass 51 plus
// the band number. The GEQ band bypasses (ids 0xFFFF0000 + i) are views of bits of GEQBandBypass.
// clang-format off
const XParamDesc InputChannelParamTable[kInputRowCount + 1] = {
    {0, "inputMeter", 14, -69, 0, -69, 9u, kTransient, &kMeterExt},
    {1, "HPFType", 1, 4, 4, 4, 0u, kRegionInputPeq, &kInputTypeExt},
    {21, "HPFFreq", 9, 20, 200, 20, 513u, kRegionInputPeq, &kInputFreqExt},
    {31, "HPFQ", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {41, "HPFSlope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {11, "HPFGain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {51, "HPFBypass", 2, 0, 1, 1, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {2, "Band1Type", 1, 0, 4, 0, 5u, kRegionInputPeq, &kInputTypeExt},
    {22, "Band1Freq", 9, 20, 20000, 100, 513u, kRegionInputPeq, &kInputFreqExt},
    {32, "Band1Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {42, "Band1Slope", 1, 0, 1, 1, 2u, kRegionInputPeq, &kInputSlopeExt},
    {12, "Band1Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {52, "Band1Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {3, "Band2Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {23, "Band2Freq", 9, 20, 20000, 200, 513u, kRegionInputPeq, &kInputFreqExt},
    {33, "Band2Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {43, "Band2Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {13, "Band2Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {53, "Band2Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {4, "Band3Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {24, "Band3Freq", 9, 20, 20000, 400, 513u, kRegionInputPeq, &kInputFreqExt},
    {34, "Band3Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {44, "Band3Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {14, "Band3Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {54, "Band3Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {5, "Band4Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {25, "Band4Freq", 9, 20, 20000, 800, 513u, kRegionInputPeq, &kInputFreqExt},
    {35, "Band4Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {45, "Band4Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {15, "Band4Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {55, "Band4Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {6, "Band5Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {26, "Band5Freq", 9, 20, 20000, 1600, 513u, kRegionInputPeq, &kInputFreqExt},
    {36, "Band5Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {46, "Band5Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {16, "Band5Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {56, "Band5Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {7, "Band6Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {27, "Band6Freq", 9, 20, 20000, 2400, 513u, kRegionInputPeq, &kInputFreqExt},
    {37, "Band6Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {47, "Band6Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {17, "Band6Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {57, "Band6Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {8, "Band7Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {28, "Band7Freq", 9, 20, 20000, 3600, 513u, kRegionInputPeq, &kInputFreqExt},
    {38, "Band7Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {48, "Band7Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {18, "Band7Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {58, "Band7Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {9, "Band8Type", 1, 0, 4, 2, 5u, kRegionInputPeq, &kInputTypeExt},
    {29, "Band8Freq", 9, 20, 20000, 6400, 513u, kRegionInputPeq, &kInputFreqExt},
    {39, "Band8Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {49, "Band8Slope", 1, 0, 1, 0, 2u, kRegionInputPeq, &kInputSlopeExt},
    {19, "Band8Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {59, "Band8Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {10, "Band9Type", 1, 0, 4, 1, 5u, kRegionInputPeq, &kInputTypeExt},
    {30, "Band9Freq", 9, 20, 20000, 8000, 513u, kRegionInputPeq, &kInputFreqExt},
    {40, "Band9Q", 0, 0.4, 20, 0.7, 197u, kRegionInputPeq, &kInputQExt},
    {50, "Band9Slope", 1, 0, 1, 1, 2u, kRegionInputPeq, &kInputSlopeExt},
    {20, "Band9Gain", 14, -15, 15, 0, 61u, kRegionInputPeq, &kCopyToOtherInputExt},
    {60, "Band9Bypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {61, "PEQAllBypass", 2, 0, 1, 0, 2u, kRegionInputPeq, &kCopyToOtherInputExt},
    {62, "GEQgain1", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {63, "GEQgain2", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {64, "GEQgain3", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {65, "GEQgain4", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {66, "GEQgain5", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {67, "GEQgain6", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {68, "GEQgain7", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {69, "GEQgain8", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {70, "GEQgain9", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {71, "GEQgain10", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {72, "GEQgain11", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {73, "GEQgain12", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {74, "GEQgain13", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {75, "GEQgain14", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {76, "GEQgain15", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {77, "GEQgain16", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {78, "GEQgain17", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {79, "GEQgain18", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {80, "GEQgain19", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {81, "GEQgain20", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {82, "GEQgain21", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {83, "GEQgain22", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {84, "GEQgain23", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {85, "GEQgain24", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {86, "GEQgain25", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {87, "GEQgain26", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {88, "GEQgain27", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {89, "GEQgain28", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {90, "GEQgain29", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {91, "GEQgain30", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {92, "GEQgain31", 14, -15, 15, 0, 61u, kRegionInputGeq, &kCopyToOtherInputExt},
    {-65536, "GEQbypass01", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65535, "GEQbypass02", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65534, "GEQbypass03", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65533, "GEQbypass04", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65532, "GEQbypass05", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65531, "GEQbypass06", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65530, "GEQbypass07", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65529, "GEQbypass08", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65528, "GEQbypass09", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65527, "GEQbypass10", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65526, "GEQbypass11", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65525, "GEQbypass12", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65524, "GEQbypass13", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65523, "GEQbypass14", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65522, "GEQbypass15", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65521, "GEQbypass16", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65520, "GEQbypass17", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65519, "GEQbypass18", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65518, "GEQbypass19", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65517, "GEQbypass20", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65516, "GEQbypass21", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65515, "GEQbypass22", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65514, "GEQbypass23", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65513, "GEQbypass24", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65512, "GEQbypass25", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65511, "GEQbypass26", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65510, "GEQbypass27", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65509, "GEQbypass28", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65508, "GEQbypass29", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65507, "GEQbypass30", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {-65506, "GEQbypass31", 2, 0, 1, 0, 2u, kRegionInputGeq, &kGeqBypassExt},
    {93, "GEQBandBypass", 1, 0, 2147483647, 0, 2147483646u, 0, nullptr},
    {94, "GEQAllBypass", 2, 0, 1, 0, 2u, kRegionInputGeq, &kCopyToOtherInputExt},
    {96, "delayTime", 5, -200, 700, 0, 45001u, kRegionInputDelay, &kInputDelayExt},
    {97, "delayBypass", 2, 0, 1, 1, 2u, kRegionInputDelay, &kCopyToOtherInputExt},
    {140, "PEQDrawEnable", 2, 0, 1, 1, 2u, 0, nullptr},
    {-65505, "GEQBandBypassFlag", 1, 0, 2147483647, 0, 2147483646u, 0, nullptr},
    {0, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

// Output band properties are grouped by property; ids Type 12, Gain 17, Freq 22, Q 27, Slope 32,
// Bypass 37 plus k for band k + 1.
const XParamDesc OutputChannelParamTable[kOutputRowCount + 1] = {
    {0, "outputMeter", 14, -96, 0, -96, 1024u, kTransient, &kMeterExt},
    {573, "outputGuiMeter", 14, -96, 0, -96, 1024u, kTransient, &kGuiMeterExt},
    {1, "source", 1, 0, 2, 0, 3u, kRegionRouting, &kSourceExt},
    {115, "label", 1001, 0, 1, 0, 2u, 0, nullptr},
    {2, "hipassTypeQ", 1, 0, 17, 5, 793u, kRegionCrossover, &kCrossoverTypeExt},
    {3, "hipassFreq", 9, 20, 20000, 120, 256u, kRegionCrossover, &kCrossoverFreqExt},
    {4, "hipassBypass", 2, 0, 1, 0, 2u, kRegionCrossover, nullptr},
    {5, "lopassTypeQ", 1, 0, 17, 5, 793u, kRegionCrossover, &kCrossoverTypeExt},
    {6, "lopassFreq", 9, 20, 20000, 1000, 256u, kRegionCrossover, &kCrossoverFreqExt},
    {7, "lopassBypass", 2, 0, 1, 0, 2u, kRegionCrossover, nullptr},
    {11, "linkedChannel", 1, 0, 6, 0, 7u, 0, nullptr},
    {8, "xoverDelayTime", 5, 0, 20, 0, 1001u, kRegionCrossover, &kLinkedDelayExt},
    {9, "xoverDelayBypass", 2, 0, 1, 1, 2u, kRegionCrossover, &kCopyToLinkedExt},
    {10, "outputPolarity", 1, 0, 1, 0, 2u, kRegionCrossover, &kPolarityExt},
    {12, "band1Type", 1, 0, 6, 0, 7u, kRegionOutputEq, &kOutputTypeExt},
    {13, "band2Type", 1, 0, 6, 2, 7u, kRegionOutputEq, &kOutputTypeExt},
    {14, "band3Type", 1, 0, 6, 2, 7u, kRegionOutputEq, &kOutputTypeExt},
    {15, "band4Type", 1, 0, 6, 2, 7u, kRegionOutputEq, &kOutputTypeExt},
    {16, "band5Type", 1, 0, 6, 1, 7u, kRegionOutputEq, &kOutputTypeExt},
    {22, "band1Freq", 9, 20, 20000, 100, 513u, kRegionOutputEq, &kOutputFreqExt},
    {23, "band2Freq", 9, 20, 20000, 200, 513u, kRegionOutputEq, &kOutputFreqExt},
    {24, "band3Freq", 9, 20, 20000, 400, 513u, kRegionOutputEq, &kOutputFreqExt},
    {25, "band4Freq", 9, 20, 20000, 1600, 513u, kRegionOutputEq, &kOutputFreqExt},
    {26, "band5Freq", 9, 20, 20000, 8000, 513u, kRegionOutputEq, &kOutputFreqExt},
    {27, "band1Q", 0, 0.4, 20, 0.7, 197u, kRegionOutputEq, &kCopyToLinkedExt},
    {28, "band2Q", 0, 0.4, 20, 0.7, 197u, kRegionOutputEq, &kCopyToLinkedExt},
    {29, "band3Q", 22, 0.4, 20, 0.7, 197u, kRegionOutputEq, &kCopyToLinkedExt},
    {30, "band4Q", 22, 0.4, 20, 0.7, 197u, kRegionOutputEq, &kCopyToLinkedExt},
    {31, "band5Q", 22, 0.4, 20, 0.7, 197u, kRegionOutputEq, &kCopyToLinkedExt},
    {32, "band1Slope", 1, 0, 1, 1, 2u, kRegionOutputEq, &kOutputSlopeExt},
    {33, "band2Slope", 1, 0, 1, 0, 2u, kRegionOutputEq, &kOutputSlopeExt},
    {34, "band3Slope", 1, 0, 1, 0, 2u, kRegionOutputEq, &kOutputSlopeExt},
    {35, "band4Slope", 1, 0, 1, 0, 2u, kRegionOutputEq, &kOutputSlopeExt},
    {36, "band5Slope", 1, 0, 1, 1, 2u, kRegionOutputEq, &kOutputSlopeExt},
    {17, "band1Gain", 14, -15, 15, 0, 61u, kRegionOutputEq, &kCopyToLinkedExt},
    {18, "band2Gain", 14, -15, 15, 0, 61u, kRegionOutputEq, &kCopyToLinkedExt},
    {19, "band3Gain", 14, -15, 15, 0, 61u, kRegionOutputEq, &kCopyToLinkedExt},
    {20, "band4Gain", 14, -15, 15, 0, 61u, kRegionOutputEq, &kCopyToLinkedExt},
    {21, "band5Gain", 14, -15, 15, 0, 61u, kRegionOutputEq, &kCopyToLinkedExt},
    {37, "Band1Bypass", 2, 0, 1, 0, 2u, kRegionOutputEq, &kCopyToLinkedExt},
    {38, "Band2Bypass", 2, 0, 1, 0, 2u, kRegionOutputEq, &kCopyToLinkedExt},
    {39, "Band3Bypass", 2, 0, 1, 0, 2u, kRegionOutputEq, &kCopyToLinkedExt},
    {40, "Band4Bypass", 2, 0, 1, 0, 2u, kRegionOutputEq, &kCopyToLinkedExt},
    {41, "Band5Bypass", 2, 0, 1, 0, 2u, kRegionOutputEq, &kCopyToLinkedExt},
    {42, "ChEQBypass", 2, 0, 1, 0, 2u, kRegionOutputEq, &kCopyToLinkedExt},
    {43, "delayTime", 5, -200, 680, 0, 44001u, kRegionOutputDelay, &kLinkedDelayExt},
    {44, "delayBypass", 2, 0, 1, 1, 2u, kRegionOutputDelay, &kCopyToLinkedExt},
    {46, "gainReduction", 14, -30, 0, 0, 61u, kTransient, &kGainReductionExt},
    {51, "outputGain", 14, -100, 6, -100, 213u, kRegionLimiters, &kOutputGainExt},
    {45, "outputMute", 2, 0, 1, 0, 2u, kTransient, &kMuteExt},
    {47, "limitThreshold", 14, -9, 21, 21, 61u, kRegionLimiters, &kLimitThresholdExt},
    {48, "limitRelease", 5, 50, 300, 300, 991u, kRegionLimiters, &kCopyToLinkedExt},
    {49, "limitBypass", 2, 0, 1, 1, 2u, kRegionLimiters, &kCopyToLinkedExt},
    {50, "OutChLimAmpIndex", 1, -1, 31, -1, 32u, kRegionLimiters, &kAmplifierExt},
    {571, "chFilterMode", 1, 0, 8, 0, 9u, 0, nullptr},
    {572, "chPeak", 2, 0, 1, 0, 2u, 0, nullptr},
    {0, "", 0, 0, 0, 0, 0u, 0, nullptr},
};
// clang-format on
