#include "device/IPresetEntries.h"

#include <atomic>

namespace
{
std::atomic<IPresetEntries*> registeredEntries{nullptr};
}

void SetPresetEntries(IPresetEntries* entries)
{
    registeredEntries.store(entries, std::memory_order_release);
}

bool GetPresetEntry(int32_t index, XString* name, int32_t* flags)
{
    IPresetEntries* entries = registeredEntries.load(std::memory_order_acquire);
    return entries != nullptr && entries->GetPresetEntry(index, name, flags);
}
