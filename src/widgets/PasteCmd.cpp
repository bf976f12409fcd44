#include "widgets/PasteCmd.h"

#include "core/IAppServices.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "widgets/BlockClipboard.h"

namespace
{
XParamGroup* ChannelGroup(bool input, int32_t channel)
{
    if (input)
        return GetInputChannel(channel);
    return GetOutputChannel(channel);
}
} // namespace

bool PasteCmd::IsEnabled(XMessage* /*request*/)
{
    return BlockClipboard::Get(slot) > 0;
}

void PasteCmd::Execute(XMessage* /*request*/)
{
    const int32_t copied = BlockClipboard::Get(slot);
    XParamGroup* source = copied > 0 ? ChannelGroup(input, copied - 1) : nullptr;
    XParamGroup* target = ChannelGroup(input, channel);
    if (source == nullptr || target == nullptr)
        return;
    const bool withGain = !input && slot == kCrossoverSlot;
    IAppServices& services = GetAppServices();
    services.SetChannelLinking(false);
    for (int32_t index = 0; index < source->CountParams(); ++index)
    {
        XParam* from = source->GetParamAt(index);
        if (from == nullptr)
            continue;
        if ((from->GetFlags() & mask) == 0 && !(withGain && from->GetId() == kOutputGainId))
            continue;
        if (XParam* to = target->GetParam(from->GetId()))
            to->ChangeValue(from->GetValue(), true);
    }
    services.SetChannelLinking(true);
}
