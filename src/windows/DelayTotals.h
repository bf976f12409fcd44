#pragma once

#include "device/ChannelParamTables.h"

#include <cstdint>

class XParam;

/** The delay arithmetic of the six outputs: a bypassed (or missing) delay or alignment counts 0, the
    most negative effective delay becomes the reference, and every output's total is the offset plus
    its delay plus its alignment, so that no total is below 0. Values are in ms; outputs are 0..5.
    Read from the live output groups at each call; GUI thread. */
namespace DelayTotals
{
constexpr int32_t kOutputCount = 6;
constexpr int32_t kAlignmentTimeId = ChannelParamTables::kCrossoverDelayId;
constexpr int32_t kAlignmentBypassId = ChannelParamTables::kCrossoverDelayBypassId;
constexpr int32_t kDelayTimeId = ChannelParamTables::kOutputDelayId;
constexpr int32_t kDelayBypassId = ChannelParamTables::kOutputDelayBypassId;
} // namespace DelayTotals

/** The output's parameter by id; null for a missing output or id. */
XParam* GetOutputParamById(int32_t output, int32_t id);
/** The output's delayTime; null for an index outside 0..5. */
XParam* GetOutputDelayParam(int32_t output);
/** xoverDelayTime while its bypass is missing or 0, else 0. */
double GetEffectiveAlignment(int32_t output);
/** delayTime while its bypass is missing or 0, else 0. */
double GetEffectiveOutputDelay(int32_t output);
/** -(the most negative effective delay), 0 when none is negative. */
double GetOutputDelayOffset();
/** Offset + effective delay + effective alignment. */
double GetTotalOutputDelay(int32_t output);
