#pragma once

#include "device/IPresetLink.h"

class DeviceCommWatcher;

/** The preset requests and the preset-handler slot of the device watcher, for the preset jobs.
    The watcher (null: never connected) is not owned and must outlive the link. */
class WatcherPresetLink final : public IPresetLink
{
public:
    explicit WatcherPresetLink(DeviceCommWatcher* watcher);

    /** The watcher exists and its connection is connected. */
    bool IsConnected() override;
    IReceivePresetHandler* GetPresetHandler() override;
    void SetPresetHandler(IReceivePresetHandler* handler) override;
    void RequestPresetInfo(int presetNumber) override;
    void RequestPresetFlags(int presetNumber) override;

private:
    DeviceCommWatcher* const watcher;
};
