#include "device/PresetReceiveJob.h"

#include "core/IAppServices.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/GlobalParamTables.h"
#include "device/IPresetLink.h"
#include "device/PresetsManager.h"
#include "platform/PlatformClock.h"

namespace
{
constexpr int kFirstPreset = 1;
constexpr char kEmptySlotMark = '?';
constexpr int kPresetNumberMask = 0xFF;
constexpr int kFlagsMask = 0xFF;
} // namespace

PresetReceiveJob::PresetReceiveJob(IPresetLink& link, PresetsManager& presets) : link(link), presets(presets)
{
}

PresetReceiveJob::~PresetReceiveJob()
{
    Detach();
}

XString PresetReceiveJob::StoredName(const XString& name)
{
    if (name.Length() > 0 && name.CharAt(0) == kEmptySlotMark)
        return XString("?");
    return name.TrimRight();
}

IDeviceJob::WindowStyle PresetReceiveJob::GetWindowStyle() const
{
    return {kTitle, true, true, kCancelTimeoutMs};
}

XString PresetReceiveJob::GetFailureText() const
{
    switch (outcome.load())
    {
    case Outcome::kLinkLost:
        return XString(kLinkLostText);
    case Outcome::kGaveUp:
        return XString(kGaveUpText);
    default:
        return XString();
    }
}

void PresetReceiveJob::Run(IJobProgress& progress)
{
    if (!link.IsConnected())
    {
        outcome.store(Outcome::kNotConnected);
        return;
    }

    {
        std::lock_guard<std::mutex> hold(callbackLock);
        attached = true;
    }
    progressPercent.store(0);
    restarts.store(0);
    gaveUp.store(false);
    progress.SetProgress(0.0);
    link.SetPresetHandler(this);
    {
        // Preset 1's info reply asks for preset 2; held off until both requests of preset 1 are
        // out, a unit answering in order sends preset 1's flags before preset 2's info (and so
        // before the last info ends the receive), as it does for every later preset.
        std::lock_guard<std::mutex> hold(callbackLock);
        link.RequestPresetInfo(kFirstPreset);
        link.RequestPresetFlags(kFirstPreset);
    }

    Outcome ending = Outcome::kComplete;
    for (;;)
    {
        progress.SetProgress(progressPercent.load() / static_cast<double>(kProgressDone));
        if (progressPercent.load() >= kProgressDone)
            break;
        if (!link.IsConnected())
        {
            ending = Outcome::kLinkLost;
            break;
        }
        if (gaveUp.load())
        {
            ending = Outcome::kGaveUp;
            break;
        }
        if (progress.ShouldExit())
        {
            ending = Outcome::kCancelled;
            break;
        }
        PlatformClock::Sleep(kPollMs);
    }

    GetAppServices()
        .GetParam(GlobalParamTables::kCurrentPresetId)
        ->NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), nullptr);
    Detach();
    outcome.store(ending);
}

void PresetReceiveJob::Detach()
{
    {
        std::lock_guard<std::mutex> hold(callbackLock);
        if (!attached)
            return; // the link is not touched: it may be gone once a run has ended
    }
    if (link.GetPresetHandler() == this)
        link.SetPresetHandler(nullptr);
    std::lock_guard<std::mutex> hold(callbackLock);
    attached = false;
}

void PresetReceiveJob::PresetInfoReceived(int number, int configuration, XString& name)
{
    std::lock_guard<std::mutex> hold(callbackLock);
    if (!attached || !link.IsConnected())
        return;
    if (number == 0)
    {
        // The unit lost its place: start again from preset 1, but not for ever.
        if (restarts.fetch_add(1) < kMaxRestarts)
            link.RequestPresetInfo(kFirstPreset);
        else
            gaveUp.store(true);
        return;
    }
    if (number < 0 || number > presets.Count())
        return;

    presets.SetEntryInfo(number - 1, StoredName(name), configuration);
    if (number < PresetsManager::kPresetCount)
    {
        progressPercent.store(number * kProgressDone / PresetsManager::kPresetCount);
        link.RequestPresetInfo(number + 1);
        link.RequestPresetFlags(number + 1);
    }
    else
    {
        progressPercent.store(kProgressDone);
    }
}

void PresetReceiveJob::PresetFlagsReceived(int number, int flags)
{
    std::lock_guard<std::mutex> hold(callbackLock);
    if (!attached)
        return;
    const int presetNumber = number & kPresetNumberMask;
    if (presetNumber == 0 || presetNumber > presets.Count())
        return;
    presets.SetEntryFlags(presetNumber - 1, flags & kFlagsMask);
}

void PresetReceiveJob::PresetDataReceived() {}
