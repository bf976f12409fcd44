#pragma once

#include "widgets/BlockCmd.h"

#include <cstdint>

/** Copies one processing block of one channel: remembers the channel in the block's slot of the
    BlockClipboard, which empties every other slot. The system overview's block panels make one per
    block and channel (with its PasteCmd twin) and own it. Always enabled; GUI thread. */
class CopyCmd : public BlockCmd
{
public:
    using BlockCmd::BlockCmd;

    void Execute(XMessage* request) override;
    bool IsEnabled(XMessage* request) override { return true; }
};
