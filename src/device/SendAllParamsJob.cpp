#include "device/SendAllParamsJob.h"

#include "core/IAppServices.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XThread.h"
#include "device/DeviceCommWatcher.h"
#include "device/GlobalParamTables.h"
#include "device/IDeviceJobLink.h"
#include "device/WireId.h"
#include "platform/PlatformClock.h"

SendAllParamsJob::SendAllParamsJob(IDeviceJobLink* link) : link(link) {}

SendAllParamsJob::~SendAllParamsJob()
{
    Stop();
}

bool SendAllParamsJob::IsRunning() const
{
    return thread != nullptr && thread->IsRunning() && !thread->IsFinished();
}

bool SendAllParamsJob::Start()
{
    if (link == nullptr || !link->IsConnected() || IsRunning())
        return false;
    // The unit starts from listen mode 1; the sender must not send this change on its own.
    XParam* listenMode = GetAppServices().GetParam(DeviceCommWatcher::kListenModeId);
    const bool wasTracking = listenMode->IsChangeTracking();
    listenMode->SetChangeTracking(false);
    listenMode->SetValue(1.0, true);
    listenMode->SetChangeTracking(wasTracking);

    thread.reset(); // joins an ended earlier run
    stopRequested.store(false);
    thread = std::make_unique<XThread>(false, kThreadName);
    return thread->Start(kThreadLevel, this, nullptr) != 0;
}

void SendAllParamsJob::Stop()
{
    stopRequested.store(true);
    thread.reset(); // XThread's destructor asks it to stop and waits for it
}

void SendAllParamsJob::Run(XThread* /*thread*/, void* /*argument*/)
{
    GetAppServices().SetStatusText(kSendingText);
    SendAllParams();
}

bool SendAllParamsJob::ShouldEnd() const
{
    return stopRequested.load() || !link->IsConnected();
}

void SendAllParamsJob::SendAllParams()
{
    if (link == nullptr || !link->IsConnected())
        return;
    IAppServices& services = GetAppServices();
    link->SetSendingEnabled(false);
    services.HideCompareButton();
    services.GetParam(GlobalParamTables::kDisplayLoadingId)->SetValue(1.0, true);

    link->SendBulkBracket(true);
    const int32_t startLevel = link->GetPendingFrames();
    sentCount.store(0);
    for (int wireId = 0; wireId < WireIdSpace::kCount && !ShouldEnd(); ++wireId)
    {
        XParam* param = link->GetLiveParam(wireId);
        if (param == nullptr)
            continue;
        link->SendParamValue(param, wireId);
        sentCount.fetch_add(1);
        PlatformClock::Sleep(kValueSpacingMs);
    }
    for (int step = 0; step < kMaxQueueWaitSteps && !ShouldEnd() && link->GetPendingFrames() > startLevel;
         ++step)
        PlatformClock::Sleep(kQueueWaitStepMs);

    link->SendBulkBracket(false);
    link->SendParamIdCommand(services.GetParam(GlobalParamTables::kCurrentPresetId));

    link->SetSendingEnabled(true);
    services.SetStatusText(kConnectedText);
    services.GetParam(DeviceCommWatcher::kConfirmChangeListenModeId)->SetValue(1.0, true);
    XParam* listenMode = services.GetParam(DeviceCommWatcher::kListenModeId);
    if (listenMode->GetValue() == 0.0)
        listenMode->NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), nullptr);
    services.ShowCompareButton();
    services.GetParam(GlobalParamTables::kDisplayLoadingId)->SetValue(0.0, true);
    finished.store(true);
}
