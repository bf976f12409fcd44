#pragma once

#include <cstdint>

class XParam;

/** Ids of the output channel parameters that the output windows and their strips use, within each
    output's group ("Output1".."Output6"). */
namespace OutputParamIds
{
constexpr int32_t kOutputMeter = 0;
constexpr int32_t kHipassTypeQ = 2;
constexpr int32_t kHipassFreq = 3;
constexpr int32_t kLopassTypeQ = 5;
constexpr int32_t kLopassFreq = 6;
constexpr int32_t kXoverDelayTime = 8;
constexpr int32_t kXoverDelayBypass = 9;
constexpr int32_t kOutputPolarity = 10;
constexpr int32_t kOutputMute = 45;
constexpr int32_t kGainReduction = 46;
constexpr int32_t kLimitThreshold = 47;
constexpr int32_t kLimitRelease = 48;
constexpr int32_t kLimitBypass = 49;
constexpr int32_t kAmplifierIndex = 50;
constexpr int32_t kOutputGain = 51;
constexpr int32_t kLabel = 115;
constexpr int32_t kChFilterMode = 571;
constexpr int32_t kOutputGuiMeter = 573;
} // namespace OutputParamIds

/** The parameter of a live output (index 0..5) by id; null when the output or the id is missing. */
XParam* OutputParam(int32_t output, int32_t id);
