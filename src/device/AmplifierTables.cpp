#include "device/AmplifierTables.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/ChannelLinking.h"

using AmplifierTables::AmplifierLimit;

const AmplifierLimit AmplifierLimitTable[AmplifierTables::kAmplifierCount] = {
    {500, "Compact 2x250"},   {400, "Compact 2x400"},   {700, "Install 2x300"},
    {700, "Install 2x600"},   {700, "Install 4x150"},   {700, "Install 4x300"},
    {700, "Touring 2x800"},   {700, "Touring 2x1200"},  {700, "Touring 2x1600"},
    {400, "Studio 2x150"},    {1000, "Bridged 1x1200"}, {1300, "Bridged 1x2400"},
    {200, "Studio 2x60"},     {800, "Class D 2x700"},   {1300, "Class D 2x2000"},
    {0, "Line Level"},        {600, "Class D 4x500"},   {1300, "Class D 4x1300"},
    {0, "Powered Speaker"},   {700, "Class AB 2x450"},  {400, "Class AB 2x200"},
    {-300, "Low Gain 2x100"}, {700, "Class AB 2x900"},  {400, "Class H 2x350"},
    {700, "Class H 2x750"},   {700, "Class H 2x1100"},  {700, "Class H 2x1500"},
    {700, "Rack 2x500"},      {700, "Rack 2x1000"},     {700, "Rack 4x400"},
    {700, "Rack 4x800"},      {700, "Rack 8x250"},      {0, ""}};

const uint16_t ThresholdVoltsTable[AmplifierTables::kThresholdStepCount] = {
    275,  291,  308,  327,  346,  367,  388,  411,  436,  461,  489,  518,  548,  581,  615,  652,
    690,  731,  775,  820,  869,  921,  975,  1033, 1094, 1159, 1228, 1300, 1377, 1459, 1546, 1637,
    1734, 1837, 1946, 2061, 2183, 2312, 2449, 2595, 2748, 2911, 3084, 3266, 3460, 3665, 3882, 4112,
    4356, 4614, 4887, 5177, 5484, 5809, 6153, 6517, 6904, 7313, 7746, 8205, 8691};

namespace
{
bool IsAmplifierIndex(int index)
{
    return index >= 0 && index < AmplifierTables::kAmplifierCount;
}
} // namespace

int32_t AmplifierThresholdOffset(int index)
{
    return IsAmplifierIndex(index) ? AmplifierLimitTable[index].thresholdOffset : 0;
}

XString AmplifierName(int index)
{
    return IsAmplifierIndex(index) ? XString(AmplifierLimitTable[index].name) : XString("Other");
}

int32_t CurrentAmplifierOffset(const XParam* limitThresholdParam)
{
    const int output = OutputNumberOfParam(limitThresholdParam);
    if (output == 0)
        return 0;
    const XParam* amplifier = FindParam("Output%d\\OutChLimAmpIndex", output);
    if (amplifier == nullptr)
        return 0;
    return AmplifierThresholdOffset(TruncatedValue(amplifier->GetValue()));
}
