#include "device/CompareChannelInput.h"

#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelTwinCopy.h"

CompareChannelInput::CompareChannelInput(const XString& name, int32_t index) : XABGroup(name.CStr())
{
    ChannelTwinCopy::AddCopiesOf(*this, GetInputChannel(index), name.CStr());
    ChannelLists::CompareInputs().Append(this);
}

CompareChannelInput::~CompareChannelInput()
{
    ChannelLists::CompareInputs().Remove(this);
}

void CompareChannelInput::SyncWithLive(int32_t index, bool restore)
{
    ChannelTwinCopy::Sync(GetInputChannel(index), GetCompareInputChannel(index), restore,
                          ChannelTwinCopy::SaveTracking::OffDuringCopy);
}
