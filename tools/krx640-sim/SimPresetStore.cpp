#include "SimPresetStore.h"

#include "SimWireTable.h"

#include <cstdio>

namespace
{
/** Short names of the seven speaker configurations, for the factory presets' names. */
constexpr const char* kConfigurationNames[] = {"2-Way FR",    "3-Way Stereo", "4-Way FR",   "5-Way FR",
                                               "Free Config", "3W Mono Sub",  "4W Mono Sub"};
constexpr int kConfigurationCount = 7;
constexpr float kFactoryOutputGainDb = 0.0f;

const SimParameterStore& PowerUpValues()
{
    static const SimParameterStore values;
    return values;
}
} // namespace

SimPresetStore::SimPresetStore()
{
    for (int factory = 1; factory <= kFactoryPresetCount; ++factory)
    {
        Slot& slot = At(kUserPresetCount + factory);
        const int configuration = (factory - 1) % kConfigurationCount;
        char name[32];
        std::snprintf(name, sizeof name, "%s F%02d", kConfigurationNames[configuration], factory);
        slot.contents.SetProgramName(name);
        slot.contents.SetInteger(SimWireTable::kCurrentConfig, configuration);
        for (int output = 0; output < SimWireTable::kOutputCount; ++output)
            slot.contents.SetFloat(SimWireTable::OutputId(output, SimWireTable::kOutputGainOffset),
                                   kFactoryOutputGainDb);
        slot.occupied = true;
    }
}

bool SimPresetStore::IsOccupied(int number) const
{
    return IsPresetNumber(number) && At(number).occupied;
}

const SimParameterStore& SimPresetStore::Contents(int number) const
{
    return IsPresetNumber(number) ? At(number).contents : PowerUpValues();
}

std::string SimPresetStore::Name(int number) const
{
    return IsOccupied(number) ? At(number).contents.ProgramName() : kEmptyName;
}

int32_t SimPresetStore::Configuration(int number) const
{
    return IsOccupied(number) ? At(number).contents.Integer(SimWireTable::kCurrentConfig)
                              : kEmptyConfiguration;
}

uint8_t SimPresetStore::Flags(int number) const
{
    return IsPresetNumber(number) ? At(number).flags : 0;
}

void SimPresetStore::SetFlags(int number, uint8_t flags)
{
    if (IsPresetNumber(number))
        At(number).flags = flags;
}

bool SimPresetStore::StoreUserPreset(int number, const SimParameterStore& editBuffer)
{
    if (!IsUserPreset(number))
        return false;
    Slot& slot = At(number);
    slot.contents.CopyPresetData(editBuffer);
    slot.occupied = true;
    return true;
}

void SimPresetStore::EraseUserPresets()
{
    for (int number = 1; number <= kUserPresetCount; ++number)
        At(number) = Slot();
}
