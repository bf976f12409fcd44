#include "device/MasterSlaveGuiThread.h"

#include "core/XParam.h"

MasterSlaveGuiThread::MasterSlaveGuiThread(IDeviceJobLink* link)
    : ParamConfirmationJob(link, kWatchKey, kMaxWaitSteps, kTimeoutText)
{
}

IDeviceJob::WindowStyle MasterSlaveGuiThread::GetWindowStyle() const
{
    return {kTitle, false, false, kCancelTimeoutMs};
}

bool MasterSlaveGuiThread::IsConfirmation(XParam* param) const
{
    return param->GetValue() == 0.0;
}
