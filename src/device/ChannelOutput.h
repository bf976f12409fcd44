#pragma once

#include "core/XABGroup.h"
#include "core/XParamGroup.h"
#include "core/XString.h"

/** The live state of one output channel: an A/B group of the rows of OutputChannelParamTable,
    registered under the group's name ("Output1".."Output6"). Derived values follow their sources:
    outputGuiMeter watches outputMeter, gainReduction watches outputMute and limitThreshold watches
    OutChLimAmpIndex, and the two meters' value maps carry the output's index (its place in the live
    output list) as user word.

    The group appends itself to the live output list (GetOutputChannel) and leaves it when
    destroyed; it owns its parameters. Built and destroyed on the main thread. */
class ChannelOutput final : public XABGroup
{
public:
    explicit ChannelOutput(const XString& name);
    ~ChannelOutput() override;

    const XString& GetChannelName() const { return channelName; }

private:
    XString channelName;
    /** A group of the channel's own, built and destroyed with it; nothing fills it. */
    XParamGroup privateGroup;
};
