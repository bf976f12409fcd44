#pragma once

#include <cstdint>

class XParam;

/** What decides whether an edit of one channel reaches others, and where a channel parameter sits:
    the linking switches (QM7\enableChannelLinking, QM7_KOVA\globalEditMode, preset\CurrentConfig),
    the output a parameter belongs to by its path ("Output3\..." is output 3), the output linked to
    it (Output%d\linkedChannel), an output's crossover mode, the current preset and the display unit
    of a delay. Parameters are looked up at every call; a missing one gives the answer stated. Any
    thread may call them. */
namespace ChannelLinking
{
constexpr int kOutputCount = 6;
} // namespace ChannelLinking

/** False in full edit mode (globalEditMode 1); else false for the configurations 2, 3 and 4 of
    CurrentConfig, whose input channels work apart, and true otherwise (also without the
    parameters). */
bool AreChannelPairsLinked();
/** True unless enableChannelLinking exists and is 0. */
bool IsChannelLinkingEnabled();
/** 1..6 for a parameter whose path is "Output1\..".."Output6\.."; else 0. */
int OutputNumberOfParam(const XParam* param);
/** OutputNumberOfParam - 1: 0..5, or -1. */
int OutputIndexOfParam(const XParam* param);
/** The parameter of the same id in the output that param's output is linked to (its linkedChannel,
    1-based). Null while linking is disabled, when the output has no link (0, missing, out of
    range), is linked to itself, or the linked output does not exist. */
XParam* LinkedOutputParam(const XParam* param);
/** chFilterMode of output outputNumber (1..6), truncated; 0 when missing. */
int GetChannelFilterMode(int outputNumber);
/** QM7_KOVA\CurrentPreset, truncated; 0 when missing. */
int GetCurrentPresetNumber();
/** The display unit of a delay parameter by its id (global\InDelayUnits for 96, XOverDelayUnits for
    8, OutDelayUnits for 43), truncated; 0 for other ids, a null parameter or a missing unit. */
int DelayUnitsFor(const XParam* param);
/** The value truncated toward zero and kept within the int range; 0 for NaN. */
int TruncatedValue(double value);
