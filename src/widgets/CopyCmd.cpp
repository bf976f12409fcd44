#include "widgets/CopyCmd.h"

#include "widgets/BlockClipboard.h"

CopyCmd::CopyCmd(int32_t channel, int32_t mask, const XString& title, int32_t slot, bool input)
    : channel(channel), mask(mask), title(title), slot(slot), input(input)
{
}

void CopyCmd::Execute(XMessage* /*request*/)
{
    BlockClipboard::Copy(slot, channel);
}
