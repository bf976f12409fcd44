#include "windows/DelayTotals.h"

#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"

namespace
{
/** The value of valueId while bypassId is missing or 0; 0 otherwise. */
double Effective(int32_t output, int32_t valueId, int32_t bypassId)
{
    XParam* value = GetOutputParamById(output, valueId);
    XParam* bypass = GetOutputParamById(output, bypassId);
    if (value == nullptr || (bypass != nullptr && bypass->GetValue() != 0.0))
        return 0.0;
    return value->GetValue();
}
} // namespace

XParam* GetOutputParamById(int32_t output, int32_t id)
{
    ChannelOutput* channel = GetOutputChannel(output);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

XParam* GetOutputDelayParam(int32_t output)
{
    if (output < 0 || output >= DelayTotals::kOutputCount)
        return nullptr;
    return GetOutputParamById(output, DelayTotals::kDelayTimeId);
}

double GetEffectiveAlignment(int32_t output)
{
    return Effective(output, DelayTotals::kAlignmentTimeId, DelayTotals::kAlignmentBypassId);
}

double GetEffectiveOutputDelay(int32_t output)
{
    return Effective(output, DelayTotals::kDelayTimeId, DelayTotals::kDelayBypassId);
}

double GetOutputDelayOffset()
{
    double lowest = 0.0;
    for (int32_t i = 0; i < DelayTotals::kOutputCount; ++i)
    {
        const double delay = GetEffectiveOutputDelay(i);
        if (delay < 0.0 && delay < lowest)
            lowest = delay;
    }
    return -lowest;
}

double GetTotalOutputDelay(int32_t output)
{
    return GetOutputDelayOffset() + GetEffectiveOutputDelay(output) + GetEffectiveAlignment(output);
}
