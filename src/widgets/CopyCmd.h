#pragma once

#include "core/XCommand.h"

#include <cstdint>

/** Copies one processing block of one channel: remembers the channel in the block's slot of the
    BlockClipboard, which empties every other slot. The system overview's block panels make one per
    block and channel (with its PasteCmd twin) and own it. Always enabled; GUI thread. */
class CopyCmd : public XCommand
{
public:
    /** channel: 0-based; mask: the block's flag bits; slot: the clipboard slot 0..8; input: the
        channel is an input (else an output). */
    CopyCmd(int32_t channel, int32_t mask, const XString& title, int32_t slot, bool input);

    void Execute(XMessage* request) override;
    XString GetTitle() override { return title; }
    bool IsEnabled(XMessage* request) override { return true; }

    int32_t GetChannel() const { return channel; }
    int32_t GetMask() const { return mask; }
    int32_t GetSlot() const { return slot; }
    bool IsInput() const { return input; }

private:
    int32_t channel;
    int32_t mask;
    XString title;
    int32_t slot;
    bool input;
};
