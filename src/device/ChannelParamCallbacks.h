#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;

/** The callbacks that the rows of the channel tables carry, by the names the tables use, and the
    helpers they share. Texts, value maps, the clamp of meters and the logarithmic frequency steps
    are computed here from the channel's own parameters; the callbacks that reach other channels
    forward to the registered channel behaviours (IChannelBehaviours).

    Channels are found by their registered group names ("InputA", "InputB", "Output1".."Output6"),
    so the callbacks work once those groups exist and give the neutral answers stated below before.
    Any thread may call them. */
namespace ChannelParamCallbacks
{
/** Number of bands of the graphic equaliser; band i is bit i of GEQBandBypass. */
constexpr int kGeqBandCount = 31;
/** Lowest frequency of the logarithmic frequency scale. */
constexpr double kLogScaleBaseHz = 20.0;
} // namespace ChannelParamCallbacks

// Texts (value -> text; lists use the value truncated to an integer) -------------------------------

/** 0 "LOSLV", 1 "HISLV", 2 "PEQ", 3 "LOPASS", 4 "HIPASS", other "N/A". */
XString InputFilterTypeText(XParam* param, double value, int32_t user);
/** As InputFilterTypeText, plus 5 "ALLPASS 1" and 6 "ALLPASS 2". */
XString OutputFilterTypeText(XParam* param, double value, int32_t user);
/** 0 "THRU", 1 "6 dB", 2..9 the 12 dB types by Q, 10..17 Bessel, Butterworth and Linkwitz types,
    other "N/A". */
XString CrossoverTypeText(XParam* param, double value, int32_t user);
/** 0 "6 dB/oct", 1 "12 dB/oct", other "N/A". */
XString SlopeText(XParam* param, double value, int32_t user);
/** 0 "NORMAL", 1 "INVERTED", other "----". */
XString PolarityText(XParam* param, double value, int32_t user);
/** 0 "Input A", 1 "Input B", 2 "Input A+B", other "N/A". */
XString SourceText(XParam* param, double value, int32_t user);
/** "%.0f Hz". */
XString FrequencyText(XParam* param, double value, int32_t user);
/** "%.2f". */
XString QText(XParam* param, double value, int32_t user);
/** Below -95: "OFF"; else "%.1f". */
XString OutputGainText(XParam* param, double value, int32_t user);
/** Forwarded to the channel behaviours. */
XString LimitThresholdText(XParam* param, double value, int32_t user);
XString AmplifierText(XParam* param, double value, int32_t user);
XString DelayTimeText(XParam* param, double value, int32_t user);

// Change callbacks (false refuses the change) -------------------------------------------------------

/** At the change phase clamps the proposed value into the parameter's range. */
bool ClampToRange(XParam* param, double* value, int32_t user, int32_t phase);
/** Forwarded to the channel behaviours. */
bool CopyToOtherInput(XParam* param, double* value, int32_t user, int32_t phase);
bool GeqBandBypassChanged(XParam* param, double* value, int32_t user, int32_t phase);
bool CopyToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase);
bool CopyMuteToLinkedOutput(XParam* param, double* value, int32_t user, int32_t phase);
bool CoupleCrossoverNeighbour(XParam* param, double* value, int32_t user, int32_t phase);
bool AmplifierChanged(XParam* param, double* value, int32_t user, int32_t phase);
bool LimitThresholdChanged(XParam* param, double* value, int32_t user, int32_t phase);

// Step callback ---------------------------------------------------------------------------------------

/** Frequencies spaced logarithmically from 20 Hz to the maximum over the step count: value -> index
    round((count - 1) x log2(value / 20) / log2(max / 20)) within 0..count - 1; index -> value
    20 x (max / 20) ^ (index / (count - 1)) within [min, max], an index at or beyond count taken as
    count - 1. */
void LogFrequencyStep(XParam* param, double* value, int32_t* index, int32_t direction);

// Value maps (stored value -> value that GetValue reports) -------------------------------------------

/** The stored value rounded to the nearest integer. */
double RoundToInteger(XParam* param, double stored, int32_t user);
/** The stored value. */
double IdentityValue(XParam* param, double stored, int32_t user);
/** User word = band i: 1 when bit i of the own input's GEQBandBypass is set, else 0. */
double GeqBandBypassBit(XParam* param, double stored, int32_t user);
/** User word = output index: outputMeter + (21 - limitThreshold while the limiter is on); the stored
    value when one of them or limitBypass is missing. */
double GuiMeterValue(XParam* param, double stored, int32_t user);
/** User word = output index: 0 while the output is muted or its limiter bypassed; else the stored
    value (also when outputMute is missing). */
double GainReductionValue(XParam* param, double stored, int32_t user);

// Helpers -----------------------------------------------------------------------------------------------

/** The input a GEQ band parameter belongs to by its path: 0 (A) when the path starts with "InputA"
    in any letter case, else 1 (B). */
int InputIndexOfGeqParam(const XParam* param);
/** Bit band (0..30) of GEQBandBypass of input 0 (A) or 1 (B); false for other inputs or bands and
    when the group does not exist. */
bool IsGeqBandBypassed(int input, int band);
/** Sets or clears bit band of that input's GEQBandBypass as a user change with notification and
    returns ChangeValue's result (false also when the mask is unchanged, for other inputs or bands
    and when the group does not exist). */
bool SetGeqBandBypassed(int input, int band, bool on);
