#pragma once

#include "core/XCommand.h"

#include <cstdint>

/** What the copy and the paste command of one processing block share: the channel, the block's flag
    mask, the menu title, the clipboard slot 0..8 and the side (input or output). GUI thread. */
class BlockCmd : public XCommand
{
public:
    /** channel: 0-based; mask: the block's flag bits; slot: the clipboard slot 0..8; input: the
        channel is an input (else an output). */
    BlockCmd(int32_t channel, int32_t mask, const XString& title, int32_t slot, bool input)
        : channel(channel), mask(mask), title(title), slot(slot), input(input)
    {
    }

    XString GetTitle() override { return title; }

    int32_t GetChannel() const { return channel; }
    int32_t GetMask() const { return mask; }
    int32_t GetSlot() const { return slot; }
    bool IsInput() const { return input; }

protected:
    const int32_t channel;
    const int32_t mask;
    const XString title;
    const int32_t slot;
    const bool input;
};
