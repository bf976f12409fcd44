#include "device/RegionsManager.h"

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"

namespace
{
/** Unit code of the switches: integers 0..1 in two steps. */
constexpr int32_t kSwitch = XParamDesc::kTypeInteger;

/** One region: its name, the flag bit of its parameters, whether inputs (else outputs) hold them. */
struct RegionRow
{
    const char* name;
    int32_t flagBit;
    bool inputs;
};

constexpr RegionRow kRegionRows[RegionsManager::kRegionCount] = {
    {"Input Parametric Equalizer / High-Pass Filter", ChannelParamTables::kRegionInputPeq, true},
    {"Input Graphic Equalizer", ChannelParamTables::kRegionInputGeq, true},
    {"Input Delay", ChannelParamTables::kRegionInputDelay, true},
    {"Routing", ChannelParamTables::kRegionRouting, false},
    {"Crossover", ChannelParamTables::kRegionCrossover, false},
    {"Output EQ", ChannelParamTables::kRegionOutputEq, false},
    {"Output Delay", ChannelParamTables::kRegionOutputDelay, false},
    {"Limiters and Levels", ChannelParamTables::kRegionLimiters, false},
};

/** Adds every parameter of channel to the region groups whose bit (among the input or the output
    regions) it carries, under its id in the channel plus offset, not owned. */
void ScanChannel(const XParamGroup& channel, bool inputs, int32_t offset, XParamGroup* const* regionGroups)
{
    for (int32_t index = 0; index < channel.CountParams(); ++index)
    {
        int32_t id = XParamGroup::kNoId;
        XParam* param = channel.GetParamAndIdAt(index, &id);
        if (param == nullptr)
            continue;
        const int32_t flags = param->GetFlags();
        for (int k = 0; k < RegionsManager::kRegionCount; ++k)
            if (kRegionRows[k].inputs == inputs && (flags & kRegionRows[k].flagBit) != 0)
                regionGroups[k]->AddParam(param, id + offset, false);
    }
}
} // namespace

const XParamDesc RegionSwitchParamTable[] = {
    {0, "PEQLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {1, "PEQVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {2, "GEQLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {3, "GEQVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {4, "InDelayLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {5, "InDelayVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {6, "RoutingLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {7, "RoutingVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {8, "CrossoverLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {9, "CrossoverVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {10, "ChannelEQLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {11, "ChannelEQVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {12, "ChannelDelayLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {13, "ChannelDelayVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {14, "OutputLevelLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {15, "OutputLevelVisible", kSwitch, 0, 1, 1, 2u, 0, nullptr},
    {16, "OutputLimiterLock", kSwitch, 0, 1, 0, 2u, 0, nullptr},
    {0, "", 0, 0, 0, 0, 0u, 0, nullptr},
};

// Region ---------------------------------------------------------------------------------------------

RegionsManager::Region::Region(XParamGroup* group, const XString& name, XParam* visible, XParam* lock)
    : name(name), group(group), visible(visible), lock(lock)
{
}

RegionsManager::Region::~Region() = default;

// Manager --------------------------------------------------------------------------------------------

RegionsManager::RegionsManager() : switchGroup(std::make_unique<XParamGroup>(kSwitchGroupName)) {}

RegionsManager::~RegionsManager()
{
    std::lock_guard<std::mutex> hold(regionsLock);
    regions.clear();
}

RegionsManager& RegionsManager::Instance()
{
    static RegionsManager manager;
    return manager;
}

int32_t RegionsManager::Count() const
{
    std::lock_guard<std::mutex> hold(regionsLock);
    return static_cast<int32_t>(regions.size());
}

RegionsManager::Region* RegionsManager::GetRegion(int32_t index) const
{
    std::lock_guard<std::mutex> hold(regionsLock);
    if (index < 0 || index >= static_cast<int32_t>(regions.size()))
        return nullptr;
    return regions[static_cast<size_t>(index)].get();
}

int32_t RegionsManager::AddRegion(Region* region, int32_t index)
{
    if (region == nullptr)
        return 0;
    std::lock_guard<std::mutex> hold(regionsLock);
    std::unique_ptr<Region> owned(region);
    if (index < 0 || index >= static_cast<int32_t>(regions.size()))
        regions.push_back(std::move(owned));
    else
        regions.insert(regions.begin() + index, std::move(owned));
    return 0;
}

int32_t RegionsManager::BuildRegions()
{
    {
        std::lock_guard<std::mutex> hold(regionsLock);
        if (built)
            return XResult::kFailed;
        built = true;
    }
    if (switchGroup->CountParams() == 0)
        switchGroup->AddParams(RegionSwitchParamTable, kSwitchGroupName);

    std::unique_ptr<XParamGroup> regionGroups[kRegionCount];
    XParamGroup* groups[kRegionCount];
    for (int k = 0; k < kRegionCount; ++k)
    {
        regionGroups[k] = std::make_unique<XParamGroup>();
        groups[k] = regionGroups[k].get();
    }

    // Ids continue from channel to channel, so that every parameter of a region has its own id.
    int32_t offset = 0;
    for (int32_t index = 0; ChannelInput* input = GetInputChannel(index); ++index)
    {
        ScanChannel(*input, true, offset, groups);
        offset += input->CountParams();
    }
    for (int32_t index = 0; ChannelOutput* output = GetOutputChannel(index); ++index)
    {
        ScanChannel(*output, false, offset, groups);
        offset += output->CountParams();
    }

    for (int k = 0; k < kRegionCount; ++k)
    {
        if (regionGroups[k]->CountParams() == 0)
            continue; // the empty group goes with regionGroups
        AddRegion(new Region(regionGroups[k].release(), kRegionRows[k].name, switchGroup->GetParam(2 * k + 1),
                             switchGroup->GetParam(2 * k)),
                  -1);
    }
    return 0;
}

void RegionsManager::Clear()
{
    // The regions go after the lock is released: a region's group takes the parameter lock as it
    // goes, and a watcher notified under the parameter lock may ask for a region.
    std::vector<std::unique_ptr<Region>> gone;
    {
        std::lock_guard<std::mutex> hold(regionsLock);
        gone.swap(regions);
        built = false;
    }
}

void RegionsManager::ApplyPresetLockMode() const
{
    const XParam* lockMode = FindParam("%s", kLockModePath);
    const bool known = lockMode != nullptr;
    const bool locked = known && lockMode->GetValue() == 1.0;
    for (int32_t index = 0; const Region* region = GetRegion(index); ++index)
    {
        const XParamGroup* group = region->GetGroup();
        for (int32_t at = 0; XParam* param = group->GetParamAt(at); ++at)
        {
            int32_t flags = param->GetFlags();
            if (known)
                flags = locked ? (flags | XParamDesc::kFlagLockedByPreset)
                               : (flags & ~XParamDesc::kFlagLockedByPreset);
            param->SetFlags(flags);
            param->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
        }
    }
}
