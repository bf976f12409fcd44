#pragma once

#include "core/XParamDesc.h"
#include "core/XString.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class XParam;
class XParamGroup;

/** The lock and visibility switches of the regions, group "theRegions" (paths "theRegions\PEQLock",
    ...): ids 2k (lock, default 0) and 2k + 1 (visible, default 1) for region k, and
    OutputLimiterLock (16), which belongs to no region. Ends with a row with an empty name. */
extern const XParamDesc RegionSwitchParamTable[];

/** The regions of the unit's function (input EQ, graphic EQ, delays, routing, crossover, output EQ,
    output delay, limiters and levels), each with every channel parameter that belongs to it and a
    lock and a visibility switch, for the front-panel access and input-linking windows.

    BuildRegions fills it once at start-up, after the channel groups exist, from the region bits of
    the channel parameters' flags. The manager owns its regions and the switch group; a region owns
    its group, which does not own the channel parameters (the channel groups must outlive any use of
    a region's parameters). The list is guarded by regionsLock; build it before other threads read
    it. */
class RegionsManager final
{
public:
    static constexpr int32_t kRegionCount = 8;
    static constexpr const char* kSwitchGroupName = "theRegions";
    static constexpr const char* kLockModePath = "QM7\\currentPresetLockMode";

    /** One region: its name, its parameter group (owned; the group does not own the parameters),
        and its visibility and lock switches (owned by the manager's switch group). */
    class Region final
    {
    public:
        /** Takes ownership of group. */
        Region(XParamGroup* group, const XString& name, XParam* visible, XParam* lock);
        ~Region();
        Region(const Region&) = delete;
        Region& operator=(const Region&) = delete;

        const XString& GetName() const { return name; }
        XParamGroup* GetGroup() const { return group.get(); }
        XParam* GetVisibleParam() const { return visible; }
        XParam* GetLockParam() const { return lock; }

    private:
        XString name;
        std::unique_ptr<XParamGroup> group;
        XParam* visible; // not owned
        XParam* lock;    // not owned
    };

    RegionsManager();
    ~RegionsManager();
    RegionsManager(const RegionsManager&) = delete;
    RegionsManager& operator=(const RegionsManager&) = delete;

    /** The program's manager, created on first call. */
    static RegionsManager& Instance();

    int32_t Count() const;
    /** Null when index is out of range. */
    Region* GetRegion(int32_t index) const;
    /** Takes ownership of region (null is ignored); -1 appends, any other index inserts before it
        (an index beyond the end appends). Returns 0. */
    int32_t AddRegion(Region* region, int32_t index);

    /** Loads the switches and builds a region for every region that has parameters in the live
        channel groups (channel lists, scanned until the first missing channel). Only the first
        call builds; later calls return 0x80000001 and change nothing. */
    int32_t BuildRegions();
    /** Drops every region, so that BuildRegions builds them anew over the channel groups that exist
        then (the switch group keeps its switches). For a program or test that replaces the channel
        groups; no other thread may use a region meanwhile. */
    void Clear();

    /** The current preset's lock mode on every region parameter: flag kFlagLockedByPreset set while
        "QM7\currentPresetLockMode" is 1, cleared at any other value and left alone when that
        parameter is missing; each parameter's flags are written back (a change tells its watchers
        kParamFlagsChanged and is stamped, so the unit hears of it) and its watchers get kRefresh. A region's
        parameters are taken in order up to the first missing one. Any thread that may change the
        parameters. */
    void ApplyPresetLockMode() const;

    /** The switch group "theRegions"; empty before BuildRegions. */
    XParamGroup& GetSwitchGroup() const { return *switchGroup; }

private:
    mutable std::mutex regionsLock; // guards regions and built
    std::vector<std::unique_ptr<Region>> regions;
    bool built = false;
    const std::unique_ptr<XParamGroup> switchGroup;
};
