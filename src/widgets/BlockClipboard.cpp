#include "widgets/BlockClipboard.h"

#include <array>
#include <cstddef>

namespace
{
std::array<int32_t, BlockClipboard::kSlotCount> slots{}; // GUI thread

bool IsSlot(int32_t slot)
{
    return slot >= 0 && slot < BlockClipboard::kSlotCount;
}
} // namespace

int32_t BlockClipboard::Get(int32_t slot)
{
    return IsSlot(slot) ? slots[static_cast<size_t>(slot)] : 0;
}

void BlockClipboard::Copy(int32_t slot, int32_t channel)
{
    if (!IsSlot(slot))
        return;
    slots.fill(kEmptySlot);
    slots[static_cast<size_t>(slot)] = channel + 1;
}

void BlockClipboard::Reset()
{
    slots.fill(0);
}
