#include "device/ChannelLists.h"

namespace
{
/** Never destroyed: groups may leave their lists during static destruction. */
template <typename Group> ChannelList<Group>& ListOf()
{
    static auto* list = new ChannelList<Group>();
    return *list;
}
} // namespace

ChannelList<ChannelInput>& ChannelLists::Inputs()
{
    return ListOf<ChannelInput>();
}

ChannelList<CompareChannelInput>& ChannelLists::CompareInputs()
{
    return ListOf<CompareChannelInput>();
}

ChannelList<ChannelOutput>& ChannelLists::Outputs()
{
    return ListOf<ChannelOutput>();
}

ChannelList<CompareChannelOutput>& ChannelLists::CompareOutputs()
{
    return ListOf<CompareChannelOutput>();
}

ChannelInput* GetInputChannel(int32_t index)
{
    return ChannelLists::Inputs().At(index);
}

CompareChannelInput* GetCompareInputChannel(int32_t index)
{
    return ChannelLists::CompareInputs().At(index);
}

ChannelOutput* GetOutputChannel(int32_t index)
{
    return ChannelLists::Outputs().At(index);
}

CompareChannelOutput* GetCompareOutputChannel(int32_t index)
{
    return ChannelLists::CompareOutputs().At(index);
}
