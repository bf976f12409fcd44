#pragma once

#include "device/ChannelParamTables.h"
#include "widgets/BlockCmd.h"

#include <cstdint>

/** Pastes one processing block into one channel: the block's parameters of the channel last copied
    into the block's clipboard slot (BlockClipboard) are set on this command's channel, of the same
    side (inputs or outputs). Channel linking is off while the values are set, so that no link
    partner follows, and on afterwards, whatever it was before. Made and owned by the system
    overview's block panels; enabled while its slot holds a channel; GUI thread. */
class PasteCmd : public BlockCmd
{
public:
    /** The clipboard slot whose output paste also takes the output gain. */
    static constexpr int32_t kCrossoverSlot = 1;
    static constexpr int32_t kOutputGainId = ChannelParamTables::kOutputGainId;

    using BlockCmd::BlockCmd;

    /** Every parameter of the source channel, in its group's order, whose flags share a bit with
        the mask (and, for an output in slot 1, the output gain) gives its value, as a change with
        notification, to the parameter of the same id of this command's channel, when it has one.
        Nothing when the slot is empty or a channel is missing. */
    void Execute(XMessage* request) override;
    bool IsEnabled(XMessage* request) override;
};
