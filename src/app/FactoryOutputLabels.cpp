#include "app/FactoryOutputLabels.h"

// The header the factory-preset builder writes beside the factory-preset image; it defines
// gKRX640FactoryPresetNames, one row of six names per factory preset.
#include "../../data/factory-presets/KRX640FactoryChannelNames.h"

namespace
{
constexpr int32_t kOutputCount = 6;
constexpr int32_t kRowCount =
    static_cast<int32_t>(sizeof gKRX640FactoryPresetNames / sizeof gKRX640FactoryPresetNames[0]);
} // namespace

const char* FactoryOutputLabels::Find(int32_t preset, int32_t output)
{
    const int32_t row = preset - kFirstPreset;
    if (preset < kFirstPreset || preset > kLastPreset || row >= kRowCount || output < 1 ||
        output > kOutputCount)
        return nullptr;
    return gKRX640FactoryPresetNames[row][output - 1];
}
