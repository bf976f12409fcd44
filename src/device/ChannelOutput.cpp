#include "device/ChannelOutput.h"

#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamCallbacks.h"
#include "device/ChannelParamTables.h"

namespace
{
/** The key under which derived parameters watch their sources. */
constexpr int32_t kDerivedWatchKey = 0;
} // namespace

ChannelOutput::ChannelOutput(const XString& name) : XABGroup(name.CStr()), channelName(name)
{
    AddParams(OutputChannelParamTable, name.CStr());
    const int32_t index = ChannelLists::Outputs().Append(this);

    if (XParam* guiMeter = GetParam(ChannelParamTables::kGuiMeterId))
        guiMeter->SetValueMapCallback(GuiMeterValue, index);
    if (XParam* gainReduction = GetParam(ChannelParamTables::kGainReductionId))
        gainReduction->SetValueMapCallback(GainReductionValue, index);

    struct Link
    {
        int32_t source;
        int32_t target;
    };
    const Link links[] = {
        {ChannelParamTables::kOutputMuteId, ChannelParamTables::kGainReductionId},
        {ChannelParamTables::kOutputMeterId, ChannelParamTables::kGuiMeterId},
        {ChannelParamTables::kAmplifierIndexId, ChannelParamTables::kLimitThresholdId},
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
