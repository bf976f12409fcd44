#pragma once

#include "SimParameterStore.h"

#include <array>
#include <cstdint>
#include <string>

/** The unit's 80 preset slots: user presets 1..20 (empty at power-up) and factory presets 21..80
    (filled with names and speaker configurations of the simulated unit's own). A preset holds the
    values of wire ids 51..571; its name and configuration are read from those values. Each slot
    also has a flag byte (0x04 locked, 0x08 hidden). Numbers outside 1..80 are refused. */
class SimPresetStore final
{
public:
    static constexpr int kUserPresetCount = 20;
    static constexpr int kFactoryPresetCount = 60;
    static constexpr int kPresetCount = kUserPresetCount + kFactoryPresetCount;
    /** Name the unit reports for an empty slot. */
    static constexpr const char* kEmptyName = "?";
    /** Configuration the unit reports for an empty slot. */
    static constexpr int32_t kEmptyConfiguration = -1;

    SimPresetStore();

    static bool IsPresetNumber(int number) { return number >= 1 && number <= kPresetCount; }
    static bool IsUserPreset(int number) { return number >= 1 && number <= kUserPresetCount; }

    bool IsOccupied(int number) const;
    /** The stored values; an empty slot holds power-up values. */
    const SimParameterStore& Contents(int number) const;
    std::string Name(int number) const;
    int32_t Configuration(int number) const;
    uint8_t Flags(int number) const;
    void SetFlags(int number, uint8_t flags);

    /** Stores the preset data of editBuffer as user preset number; false for other numbers. */
    bool StoreUserPreset(int number, const SimParameterStore& editBuffer);
    /** Empties every user preset. */
    void EraseUserPresets();

private:
    struct Slot
    {
        bool occupied = false;
        uint8_t flags = 0;
        SimParameterStore contents;
    };
    const Slot& At(int number) const { return slots[static_cast<size_t>(number - 1)]; }
    Slot& At(int number) { return slots[static_cast<size_t>(number - 1)]; }

    std::array<Slot, kPresetCount> slots;
};
