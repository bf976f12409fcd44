#pragma once

#include "core/XParamDesc.h"
#include "core/XString.h"

#include <cstdint>

class XParam;

/** Option texts that descriptor tables of time settings attach as text callbacks (the value is
    truncated to an integer; values outside a list give "Error" unless said otherwise), and the
    event filter of on/off settings. */
namespace TimeOptions
{
/** 0 "Play Once & Cue", 1 "Play Once & Stop", any other "Play Repeatedly". */
XString PlaybackModeText(XParam* param, double value, int32_t user);
/** "0 frames", "5 frames", "10 frames", "20 frames", "50 frames", "100 frames", "Infinite". */
XString FrameCountText(XParam* param, double value, int32_t user);
/** "Always", "Only if not recording", "Never". */
XString RecordingConditionText(XParam* param, double value, int32_t user);
/** "Auto", "1/3 frame", "1 frame", "2 frames", "5 frames", "10 frames". */
XString ResolutionText(XParam* param, double value, int32_t user);
/** The frame-rate kinds of Timecode, short: "29.97/30 NDF", "29.97/30 DF", "25 NDF", ... */
XString FrameRateShortText(XParam* param, double value, int32_t user);
/** The frame-rate kinds of Timecode, long: "30 NDF", "30 Drop", "29.97 NDF", "29.97 Drop", ... */
XString FrameRateLongText(XParam* param, double value, int32_t user);

/** Event callback of an on/off parameter: a step event (type 5) toggles it and a set event
    (type 1) sets 1 for values up to 1, else 0, when the event's extra word is 1 or 2; the change
    is made with ChangeValue (notifying) and the event itself refused (false). Other events pass
    (true). */
bool ToggleEventFilter(XParam* param, XParamEvent* event, int32_t user);
} // namespace TimeOptions
