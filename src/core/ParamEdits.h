#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;
struct XParamEvent;

/** Rules that every kind of parameter applies alike: truncation of values to step indices, the
    display form of value texts, and the meaning of edit events. They work through the XParam
    interface only, so any parameter class can share them. */
namespace ParamEdits
{
/** Truncation toward zero into int32, held to its range; NaN gives 0. */
int32_t TruncToInt(double x);

/** What a display shows of a value text: only the part after its last ':', with every '|' shown
    as ':' ('Mode:Cut|Boost' shows 'Cut:Boost'). */
XString ReduceToDisplayText(XString text);

/** Applies an edit event to param through its own operations (the event callback is the
    caller's business): 0 BeginEdit, 1 ChangeValue, 2 SetStepIndex, 3 a position 0..1 of the range,
    4 a delta (clamped to the range), 5 a move by steps, 6 EndEdit. A move past either end wraps
    to the other end when wrapsOnStep, else stops at index 0 or index count. Returns the change's
    result; false for 0, 4, 6 and unknown types. */
bool ApplyEvent(XParam& param, const XParamEvent& event, bool wrapsOnStep);
} // namespace ParamEdits
