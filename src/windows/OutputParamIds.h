#pragma once

#include "device/ChannelParamTables.h"

#include <cstdint>

class XParam;

/** Short names, for the output windows and their strips, of the output channel table's ids
    (ChannelParamTables), within each output's group ("Output1".."Output6"). */
namespace OutputParamIds
{
constexpr int32_t kOutputMeter = ChannelParamTables::kOutputMeterId;
constexpr int32_t kHipassTypeQ = ChannelParamTables::kHipassTypeId;
constexpr int32_t kHipassFreq = ChannelParamTables::kHipassFreqId;
constexpr int32_t kLopassTypeQ = ChannelParamTables::kLopassTypeId;
constexpr int32_t kLopassFreq = ChannelParamTables::kLopassFreqId;
constexpr int32_t kXoverDelayTime = ChannelParamTables::kCrossoverDelayId;
constexpr int32_t kXoverDelayBypass = ChannelParamTables::kCrossoverDelayBypassId;
constexpr int32_t kOutputPolarity = ChannelParamTables::kOutputPolarityId;
constexpr int32_t kOutputMute = ChannelParamTables::kOutputMuteId;
constexpr int32_t kGainReduction = ChannelParamTables::kGainReductionId;
constexpr int32_t kLimitThreshold = ChannelParamTables::kLimitThresholdId;
constexpr int32_t kLimitRelease = ChannelParamTables::kLimitReleaseId;
constexpr int32_t kLimitBypass = ChannelParamTables::kLimitBypassId;
constexpr int32_t kAmplifierIndex = ChannelParamTables::kAmplifierIndexId;
constexpr int32_t kOutputGain = ChannelParamTables::kOutputGainId;
constexpr int32_t kLabel = ChannelParamTables::kOutputLabelId;
constexpr int32_t kChFilterMode = ChannelParamTables::kFilterModeId;
constexpr int32_t kOutputGuiMeter = ChannelParamTables::kGuiMeterId;
} // namespace OutputParamIds

/** The parameter of a live output (index 0..5) by id; null when the output or the id is missing. */
XParam* OutputParam(int32_t output, int32_t id);
