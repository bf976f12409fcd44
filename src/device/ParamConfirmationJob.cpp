#include "device/ParamConfirmationJob.h"

#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/IDeviceJobLink.h"
#include "platform/PlatformClock.h"

ParamConfirmationJob::ParamConfirmationJob(IDeviceJobLink* link, int32_t watchKey, int maxWaitSteps,
                                           const char* failureText)
    : link(link), watchKey(watchKey), maxWaitSteps(maxWaitSteps), timeoutText(failureText)
{
}

ParamConfirmationJob::~ParamConfirmationJob()
{
    XParam::ForgetWatcher(this);
}

void ParamConfirmationJob::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const bool valueCode = code == static_cast<int32_t>(XMsgCode::kParamValueSet) ||
                           code == static_cast<int32_t>(XMsgCode::kParamChangedByUser);
    if (valueCode && key == watchKey && param != nullptr && IsConfirmation(param))
        doneMark.store(kDoneMark);
}

void ParamConfirmationJob::Run(IJobProgress& progress)
{
    {
        std::lock_guard<std::mutex> hold(failureLock);
        failureText = XString();
    }
    if (link == nullptr || !link->IsConnected())
        return;
    // The done mark starts at 0 with the job and is not reset here: a confirmation that arrives
    // between the watcher's registration and the start of the thread still counts.
    Begin(*link);
    for (int step = 0; step < maxWaitSteps; ++step)
    {
        if (doneMark.load() >= kDoneMark || !link->IsConnected() || progress.ShouldExit())
            return;
        PlatformClock::Sleep(kWaitStepMs);
    }
    if (doneMark.load() >= kDoneMark)
        return;
    std::lock_guard<std::mutex> hold(failureLock);
    failureText = timeoutText;
}

XString ParamConfirmationJob::GetFailureText() const
{
    std::lock_guard<std::mutex> hold(failureLock);
    return failureText;
}
