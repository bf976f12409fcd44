#include "widgets/CopyCmd.h"

#include "widgets/BlockClipboard.h"

void CopyCmd::Execute(XMessage* /*request*/)
{
    BlockClipboard::Copy(slot, channel);
}
