#include "device/WatcherPresetLink.h"

#include "device/DeviceCommWatcher.h"
#include "device/TWRPCUSBConnection.h"

WatcherPresetLink::WatcherPresetLink(DeviceCommWatcher* watcher) : watcher(watcher) {}

bool WatcherPresetLink::IsConnected()
{
    return watcher != nullptr && watcher->GetConnection() != nullptr &&
           watcher->GetConnection()->IsConnected();
}

IReceivePresetHandler* WatcherPresetLink::GetPresetHandler()
{
    return watcher != nullptr ? watcher->GetPresetHandler() : nullptr;
}

void WatcherPresetLink::SetPresetHandler(IReceivePresetHandler* handler)
{
    if (watcher != nullptr)
        watcher->SetPresetHandler(handler);
}

void WatcherPresetLink::RequestPresetInfo(int presetNumber)
{
    if (watcher != nullptr)
        watcher->RequestPresetInfo(presetNumber);
}

void WatcherPresetLink::RequestPresetFlags(int presetNumber)
{
    if (watcher != nullptr)
        watcher->RequestPresetFlags(presetNumber);
}
