#include "device/ChannelOutput.h"

#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamCallbacks.h"
#include "device/ChannelParamTables.h"

namespace
{
/** Ids of the rows linked here. */
constexpr int32_t kOutputMeterId = 0;
constexpr int32_t kOutputMuteId = 45;
constexpr int32_t kGainReductionId = 46;
constexpr int32_t kLimitThresholdId = 47;
constexpr int32_t kAmplifierIndexId = 50;
constexpr int32_t kGuiMeterId = 573;
/** The key under which derived parameters watch their sources. */
constexpr int32_t kDerivedWatchKey = 0;
} // namespace

ChannelOutput::ChannelOutput(const XString& name) : XABGroup(name.CStr()), channelName(name)
{
    AddParams(OutputChannelParamTable, name.CStr());
    const int32_t index = ChannelLists::Outputs().Append(this);

    if (XParam* guiMeter = GetParam(kGuiMeterId))
        guiMeter->SetValueMapCallback(GuiMeterValue, index);
    if (XParam* gainReduction = GetParam(kGainReductionId))
        gainReduction->SetValueMapCallback(GainReductionValue, index);

    struct Link
    {
        int32_t source;
        int32_t target;
    };
    const Link links[] = {
        {kOutputMuteId, kGainReductionId},
        {kOutputMeterId, kGuiMeterId},
        {kAmplifierIndexId, kLimitThresholdId},
    };
    for (const Link& link : links)
    {
        XParam* source = GetParam(link.source);
        XParam* target = GetParam(link.target);
        if (source != nullptr && target != nullptr)
            source->AddWatcher(target, kDerivedWatchKey, true);
    }
}

ChannelOutput::~ChannelOutput()
{
    ChannelLists::Outputs().Remove(this);
}
