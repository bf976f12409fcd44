#pragma once

#include <cstdint>

/** The clipboard of the block copy and paste: nine slots, one per kind of processing block, each
    holding the channel (counted from 1) whose block was copied last, or -1 (0 at start) when
    nothing of that kind was copied. A copy fills one slot and empties every other, so at most one
    slot is filled at a time. Shared by every CopyCmd and PasteCmd of the program; GUI thread. */
class BlockClipboard final
{
public:
    static constexpr int32_t kSlotCount = 9;
    static constexpr int32_t kEmptySlot = -1;

    BlockClipboard() = delete;

    /** The slot's content; 0 for a slot outside 0..8. */
    static int32_t Get(int32_t slot);
    /** slot := channel + 1 and every other slot := -1; nothing for a slot outside 0..8. */
    static void Copy(int32_t slot, int32_t channel);
    /** Every slot back to its initial 0. */
    static void Reset();
};
