#pragma once

// What the tests of the flag tables (front-panel access, input linking) share: the parameters of a
// region, and application services that switch the watcher's sending as the application does.

#include "core/DefaultAppServices.h"
#include "core/IAppServices.h"
#include "core/XParamGroup.h"
#include "device/DeviceCommWatcher.h"
#include "device/RegionsManager.h"

#include <vector>

namespace FlagTableTest
{
/** Every parameter of the region at index, in order; empty when there is none. */
inline std::vector<XParam*> RegionParams(int32_t index)
{
    std::vector<XParam*> params;
    if (const RegionsManager::Region* region = RegionsManager::Instance().GetRegion(index))
        for (int32_t at = 0; XParam* param = region->GetGroup()->GetParamAt(at); ++at)
            params.push_back(param);
    return params;
}

/** The rig's services, but switching the watcher's sending on and off as the application does, with a
    record of each switch. Installed for its life; the rig's services come back after. Main thread. */
class SendingServices final : public DefaultAppServices
{
public:
    SendingServices(IAppServices& inner, DeviceCommWatcher& watcher) : inner(inner), watcher(watcher)
    {
        SetAppServices(this);
    }
    ~SendingServices() override { SetAppServices(&inner); }

    XParam* GetParam(int32_t id) override { return inner.GetParam(id); }
    XParam* GetPresetParam(int32_t id) override { return inner.GetPresetParam(id); }
    XParam* GetSlaveParam(int32_t id) override { return inner.GetSlaveParam(id); }
    XParamGroup* GetPresetGroup() override { return inner.GetPresetGroup(); }
    XParamGroup* GetComparePresetGroup() override { return inner.GetComparePresetGroup(); }
    IAppDocument* GetPresetDocument() override { return inner.GetPresetDocument(); }
    void EnableParamSending(bool on) override
    {
        switches.push_back(on);
        watcher.SetSendingEnabled(on);
    }

    std::vector<bool> switches;

private:
    IAppServices& inner;
    DeviceCommWatcher& watcher;
};
} // namespace FlagTableTest
