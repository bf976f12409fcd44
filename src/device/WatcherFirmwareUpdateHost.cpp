#include "device/WatcherFirmwareUpdateHost.h"

#include "device/DeviceCommWatcher.h"
#include "device/TWRPCUSBConnection.h"

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
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->SendCommand3();
}

void WatcherFirmwareUpdateHost::SendEnterBootloader()
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->SendEnterBootloader();
}

void WatcherFirmwareUpdateHost::StopWatching()
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->StopWatching();
}

void WatcherFirmwareUpdateHost::BuildWireIdMaps(bool noTimer)
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->BuildWireIdMaps(noTimer);
}

void WatcherFirmwareUpdateHost::SendCommand12(int32_t value)
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->SendCommand12(value);
}

void WatcherFirmwareUpdateHost::RequestPresetInfo(int presetNumber)
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->RequestPresetInfo(presetNumber);
}

void WatcherFirmwareUpdateHost::RecallPresetForSaving(unsigned presetNumber)
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->RecallPresetForSaving(presetNumber);
}

void WatcherFirmwareUpdateHost::EraseUserPresets()
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->EraseUserPresets();
}

void WatcherFirmwareUpdateHost::SetPresetHandler(IReceivePresetHandler* handler)
{
    if (DeviceCommWatcher* watcher = GetWatcher())
        watcher->SetPresetHandler(handler);
}
