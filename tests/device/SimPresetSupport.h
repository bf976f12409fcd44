#pragma once

// What the end-to-end tests that keep presets on the simulated unit and save them share: the
// application's compare-group syncing over the rig's groups, and values sent to the unit only.

#include "core/XParam.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"
#include "device/DeviceCommWatcher.h"
#include "support/WatcherTestRig.h"

#include <atomic>

/** The rig's groups, with the compare twins copied to and from the live groups as the application
    does. Installed over the rig's services for its life. */
class SyncingServices final : public DefaultAppServices
{
public:
    explicit SyncingServices(WatcherRig::Groups& groups) : groups(groups) { SetAppServices(this); }
    ~SyncingServices() override { SetAppServices(&groups.services); }

    XParam* GetParam(int32_t id) override { return groups.services.GetParam(id); }
    XParam* GetPresetParam(int32_t id) override { return groups.services.GetPresetParam(id); }
    XParam* GetSlaveParam(int32_t id) override { return groups.services.GetSlaveParam(id); }
    XParamGroup* GetPresetGroup() override { return &groups.preset; }
    XParamGroup* GetComparePresetGroup() override { return &groups.comparePreset; }

    void SyncCompareGroups(bool toLive) override
    {
        for (int32_t index = 0; index < WatcherRig::Groups::kInputs; ++index)
            CompareChannelInput::SyncWithLive(index, toLive);
        for (int32_t index = 0; index < WatcherRig::Groups::kOutputs; ++index)
            CompareChannelOutput::SyncWithLive(index, toLive);
        XParamGroup& from = toLive ? groups.comparePreset : groups.preset;
        XParamGroup& to = toLive ? groups.preset : groups.comparePreset;
        for (int32_t index = 0; index < from.CountParams(); ++index)
        {
            const XParam* source = from.GetParamAt(index);
            if (XParam* target = to.GetParam(source->GetId()))
                target->SetValue(source->GetValue(), false);
        }
        if (toLive)
            syncsToLive.fetch_add(1);
    }

    std::atomic<int> syncsToLive{0};

private:
    WatcherRig::Groups& groups;
};

/** Sends value for the parameter without keeping it locally, as the application does when it asks
    the unit to take a value it should confirm. */
inline void SendProvisionally(DeviceCommWatcher& watcher, XParam* param, int wireId, double value)
{
    const double kept = param->GetValue();
    param->SetChangeTracking(false);
    param->SetValue(value, false);
    watcher.SendParamValue(param, wireId);
    param->SetValue(kept, false);
    param->SetChangeTracking(true);
}
