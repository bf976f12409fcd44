#include "device/WatcherFirmwareUpdateHost.h"

#include "device/DeviceCommWatcher.h"
#include "device/TWRPCUSBConnection.h"

namespace
{
/** Runs operation on the watcher; nothing without one. */
template <typename Operation> void WithWatcher(DeviceCommWatcher* watcher, Operation operation)
{
    if (watcher != nullptr)
        operation(*watcher);
}
} // namespace

WatcherFirmwareUpdateHost::WatcherFirmwareUpdateHost(DeviceCommWatcher* watcher) : deviceWatcher(watcher) {}

WatcherFirmwareUpdateHost::~WatcherFirmwareUpdateHost() = default;

bool WatcherFirmwareUpdateHost::IsUnitConnected()
{
    DeviceCommWatcher* watcher = GetWatcher();
    if (watcher == nullptr)
        return false;
    TWRPCUSBConnection* connection = watcher->GetConnection();
    return connection != nullptr && connection->IsConnected();
}

void WatcherFirmwareUpdateHost::SendCommand3()
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.SendCommand3(); });
}

void WatcherFirmwareUpdateHost::SendEnterBootloader()
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.SendEnterBootloader(); });
}

void WatcherFirmwareUpdateHost::StopWatching()
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.StopWatching(); });
}

void WatcherFirmwareUpdateHost::BuildWireIdMaps(bool noTimer)
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.BuildWireIdMaps(noTimer); });
}

void WatcherFirmwareUpdateHost::SendCommand12(int32_t value)
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.SendCommand12(value); });
}

void WatcherFirmwareUpdateHost::RequestPresetInfo(int presetNumber)
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.RequestPresetInfo(presetNumber); });
}

void WatcherFirmwareUpdateHost::RecallPresetForSaving(unsigned presetNumber)
{
    WithWatcher(GetWatcher(),
                [&](DeviceCommWatcher& watcher) { watcher.RecallPresetForSaving(presetNumber); });
}

void WatcherFirmwareUpdateHost::EraseUserPresets()
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.EraseUserPresets(); });
}

void WatcherFirmwareUpdateHost::SetPresetHandler(IReceivePresetHandler* handler)
{
    WithWatcher(GetWatcher(), [&](DeviceCommWatcher& watcher) { watcher.SetPresetHandler(handler); });
}
