#include "app/GeqBypassFlags.h"

#include "core/ParamEdits.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"

namespace
{
constexpr const char* kInputNames[GeqBypassFlags::kInputCount] = {"InputA", "InputB"};
constexpr const char* kMaskName = "GEQBandBypassFlag";
constexpr const char* kBypassName = "GEQBandBypass";
/** The flag bits that travel to and from the unit; a band's other bits (its region, the input
    link's always-linked bit) are its own. */
constexpr int32_t kDeviceFlags = XParamDesc::kFlagDevice4 | XParamDesc::kFlagDevice8;
} // namespace

bool GeqBypassFlags::Find(int32_t input, InputParams& params)
{
    if (input < 0 || input >= kInputCount)
        return false;
    if (!looked)
    {
        looked = true;
        for (int32_t index = 0; index < kInputCount; ++index)
        {
            inputs[index].mask = FindParam("%s\\%s", kInputNames[index], kMaskName);
            inputs[index].bypass = FindParam("%s\\%s", kInputNames[index], kBypassName);
        }
    }
    params = inputs[input];
    return params.mask != nullptr && params.bypass != nullptr;
}

void GeqBypassFlags::BandChanged(int32_t input, int32_t band, XParam* bandParam)
{
    InputParams params;
    if (bandParam == nullptr || band < 0 || band >= kBandCount || !Find(input, params))
        return;
    const uint32_t bit = 1u << band;
    // The mask's range is 0..2147483647, so its value is never negative.
    uint32_t mask = static_cast<uint32_t>(ParamEdits::TruncToInt(params.mask->GetValue()));
    if ((bandParam->GetFlags() & kBypassedFlag) != 0)
        mask |= bit;
    else
        mask &= ~bit;
    params.mask->ChangeValue(static_cast<double>(mask), true);
    const int32_t flags = params.bypass->GetFlags();
    params.bypass->SetFlags(mask == kAllBandsMask ? flags | kBypassedFlag : flags & ~kBypassedFlag);
}

void GeqBypassFlags::SyncFromBypassParams()
{
    for (int32_t input = 0; input < kInputCount; ++input)
    {
        InputParams params;
        ChannelInput* group = GetInputChannel(input);
        if (group == nullptr || !Find(input, params))
            return;
        const int32_t deviceFlags = params.bypass->GetFlags() & kDeviceFlags;
        for (int32_t band = 0; band < kBandCount; ++band)
            if (XParam* bandParam = group->GetParam(ChannelParamTables::kGeqBypassFirstId + band))
                bandParam->SetFlags((bandParam->GetFlags() & ~kDeviceFlags) | deviceFlags);
        params.mask->SetValue((deviceFlags & kBypassedFlag) != 0 ? static_cast<double>(kAllBandsMask) : 0.0,
                              false);
    }
}
