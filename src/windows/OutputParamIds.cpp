#include "windows/OutputParamIds.h"

#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"

XParam* OutputParam(int32_t output, int32_t id)
{
    ChannelOutput* channel = GetOutputChannel(output);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}
