#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;

/** The amplifier models an output's limiter can be matched to, and the limiter threshold in volts.
    Choosing an amplifier moves the output's limitThreshold by the difference of the two models'
    threshold offsets; ThresholdUnits 1 shows each threshold step as the voltage of this table.
    Constant for the life of the program; any thread may read them. */
namespace AmplifierTables
{
/** Entries of the amplifier table: 32 models and an unnamed last entry. */
constexpr int kAmplifierCount = 33;
/** Size of a model's name, with its terminating zero. */
constexpr int kAmplifierNameSize = 16;
/** One voltage per step of limitThreshold (-9..21 dBu in 0.5 dB steps). */
constexpr int kThresholdStepCount = 61;
/** Amplifier index of no amplifier. */
constexpr int32_t kNoAmplifier = -1;

/** One amplifier model. */
struct AmplifierLimit
{
    /** Threshold offset in hundredths of a dB. */
    int32_t thresholdOffset;
    char name[kAmplifierNameSize];
};
} // namespace AmplifierTables

extern const AmplifierTables::AmplifierLimit AmplifierLimitTable[AmplifierTables::kAmplifierCount];
/** Millivolts per step of limitThreshold. */
extern const uint16_t ThresholdVoltsTable[AmplifierTables::kThresholdStepCount];

/** The threshold offset (hundredths of a dB) of amplifier index; 0 outside 0..32. */
int32_t AmplifierThresholdOffset(int index);
/** The name of amplifier index; "Other" outside 0..32. */
XString AmplifierName(int index);
/** The offset of the amplifier that the output of limitThresholdParam has chosen
    (Output%d\OutChLimAmpIndex); 0 when it has none or the output is not known. */
int32_t CurrentAmplifierOffset(const XParam* limitThresholdParam);
