#pragma once

#include "device/IFirmwareUpdateHost.h"

#include <atomic>

class DeviceCommWatcher;

/** The device watcher's half of IFirmwareUpdateHost: each watcher operation goes to the watcher it
    is given, which it does not own. Without a watcher they do nothing and IsUnitConnected is false.
    The application derives from it and supplies the application's half.

    The watcher may be set or replaced from any thread (the pointer is atomic), but it must outlive
    every call that may still use it: clear it here before the watcher is destroyed and while no
    update runs. */
class WatcherFirmwareUpdateHost : public IFirmwareUpdateHost
{
public:
    explicit WatcherFirmwareUpdateHost(DeviceCommWatcher* watcher = nullptr);
    ~WatcherFirmwareUpdateHost() override;

    void SetWatcher(DeviceCommWatcher* watcher) { deviceWatcher.store(watcher); }
    DeviceCommWatcher* GetWatcher() const { return deviceWatcher.load(); }

    bool IsUnitConnected() override;
    void SendCommand3() override;
    void SendEnterBootloader() override;
    void StopWatching() override;
    void BuildWireIdMaps(bool noTimer) override;
    void SendCommand12(int32_t value) override;
    void RequestPresetInfo(int presetNumber) override;
    void RecallPresetForSaving(unsigned presetNumber) override;
    void EraseUserPresets() override;
    void SetPresetHandler(IReceivePresetHandler* handler) override;

private:
    std::atomic<DeviceCommWatcher*> deviceWatcher; // not owned
};
