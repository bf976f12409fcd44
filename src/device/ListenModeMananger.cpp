#include "device/ListenModeMananger.h"

#include "core/IAppServices.h"
#include "device/DeviceCommWatcher.h"
#include "device/IDeviceJobLink.h"

ListenModeMananger::ListenModeMananger(IDeviceJobLink* link)
    : ParamConfirmationJob(link, kWatchKey, kMaxWaitSteps, kTimeoutText)
{
}

IDeviceJob::WindowStyle ListenModeMananger::GetWindowStyle() const
{
    return {kTitle, false, false, kCancelTimeoutMs};
}

void ListenModeMananger::Begin(IDeviceJobLink& link)
{
    link.SendParamIdCommand(GetAppServices().GetParam(DeviceCommWatcher::kListenModeId));
}
