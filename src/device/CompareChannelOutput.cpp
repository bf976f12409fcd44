#include "device/CompareChannelOutput.h"

#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelTwinCopy.h"

CompareChannelOutput::CompareChannelOutput(const XString& name, int32_t index) : XABGroup(name.CStr())
{
    ChannelTwinCopy::AddCopiesOf(*this, GetOutputChannel(index), name.CStr());
    ChannelLists::CompareOutputs().Append(this);
}

CompareChannelOutput::~CompareChannelOutput()
{
    ChannelLists::CompareOutputs().Remove(this);
}

void CompareChannelOutput::SyncWithLive(int32_t index, bool restore)
{
    ChannelTwinCopy::Sync(GetOutputChannel(index), GetCompareOutputChannel(index), restore,
                          ChannelTwinCopy::SaveTracking::Untouched);
}
