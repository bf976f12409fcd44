#pragma once

#include "core/XString.h"

#include <cstdint>

/** What the global tables ask of the presets manager: the name and flags of one preset entry
    (index 0..79 for presets U01..U20 and F01..F60), for preset location texts and the locked state
    of the current preset.

    The presets manager implements it and registers itself with SetPresetEntries for its lifetime;
    until then there are no entries. Called on whatever thread reads the parameter. */
class IPresetEntries
{
public:
    /** Flag bit of a locked preset. */
    static constexpr int32_t kFlagLocked = 0x4;

    virtual ~IPresetEntries() = default;

    /** False when there is no entry at index; else true with its name and flags (either out
        argument may be null). */
    virtual bool GetPresetEntry(int32_t index, XString* name, int32_t* flags) = 0;
};

/** Registers the presets (null: none); the caller keeps ownership. Thread-safe. */
void SetPresetEntries(IPresetEntries* entries);
/** The registered presets' entry at index, as IPresetEntries::GetPresetEntry; false without any. */
bool GetPresetEntry(int32_t index, XString* name, int32_t* flags);
