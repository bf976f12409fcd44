#include "device/FirmwareUpdateJob.h"

#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "device/FirmwareCommands.h"
#include "device/IFirmwareUpdateHost.h"
#include "device/UsbLinkManager.h"
#include "platform/PlatformClock.h"

namespace
{
constexpr const char* kNoUnitText = "No unit connected";
constexpr double kEnterProgress = 10.0;
constexpr int kEraseSeconds = 10;
constexpr int kDspSeconds = 30;
constexpr int kFactoryPresetsSeconds = 30;
constexpr int kAmplifierSeconds = 5;
constexpr int kControllerSeconds = 10;
constexpr int kWithoutPresetsWaits = 5;
constexpr double kWithoutPresetsStep = 4.0;
constexpr uint32_t kAfterRecallMs = 100;
constexpr uint32_t kPresetPollMs = 5;
constexpr int kSaveUserPresetOn = 1;

XString TrimmedRight(const XString& text)
{
    std::string trimmed = text.CStr();
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.pop_back();
    return trimmed.c_str();
}
} // namespace

FirmwareUpdateJob::FirmwareUpdateJob(IFirmwareUpdateHost& updateHost, UsbLinkManager& usbLink, Reporter shown,
                                     CommandFinder finder)
    : host(updateHost), link(usbLink), reporter(std::move(shown)), findCommand(std::move(finder))
{
    if (!findCommand)
        findCommand = [](const char* name) { return FindCommandByName(name); };
}

FirmwareUpdateJob::~FirmwareUpdateJob()
{
    host.SetPresetHandler(nullptr);
}

XString FirmwareUpdateJob::GetErrorText() const
{
    return errorText;
}

bool FirmwareUpdateJob::AbortIfNoUnit()
{
    // The text first: a flash job that met the unit's departure closes the link before its text
    // shows, so a text read first and a link then found connected never belong to a unit gone.
    const XString message = link.GetMessageText();
    const XString text = link.IsConnected() ? message : XString(kNoUnitText);
    if (text.IsEmpty())
        return false;
    errorText = text;
    success.store(false);
    return true;
}

void FirmwareUpdateJob::AddProgress(double amount)
{
    double now = progress.load();
    while (!progress.compare_exchange_weak(now, now + amount))
    {
    }
    if (reporter.progress)
        reporter.progress((now + amount) / kProgressTotal);
}

void FirmwareUpdateJob::Execute(const char* command)
{
    if (XCommand* found = findCommand(command))
        found->Execute(nullptr);
}

bool FirmwareUpdateJob::RunStep(const char* command, const char* status, int seconds, uint32_t idlePollMs)
{
    if (AbortIfNoUnit())
        return false;
    if (reporter.status)
        reporter.status(status);
    Execute(command);
    for (int second = 0; second < seconds; ++second)
    {
        PlatformClock::Sleep(kSecondMs);
        AddProgress(1.0);
        if (AbortIfNoUnit())
            return false;
    }
    // A unit that went ends its job; the next check reports it.
    while (!link.IsFlashJobIdle() && link.IsConnected())
        PlatformClock::Sleep(idlePollMs);
    PlatformClock::Sleep(kAfterIdleMs);
    return true;
}

void FirmwareUpdateJob::Run()
{
    // A failure text left by an earlier device open belongs to no connection that still stands.
    if (link.IsConnected())
        link.SetMessageText(XString());
    if (AbortIfNoUnit())
        return;
    if (reporter.status)
        reporter.status("Entering bootloader mode...");
    Execute(FirmwareCommandSet::kEnterBootloader);
    AddProgress(kEnterProgress);

    if (!RunStep(FirmwareCommandSet::kEraseFlash, "Erasing Flash memory...", kEraseSeconds,
                 kEraseIdlePollMs) ||
        !RunStep(FirmwareCommandSet::kUploadDsp, "Uploading DSP code...", kDspSeconds, kUploadIdlePollMs) ||
        !RunStep(FirmwareCommandSet::kUploadFactoryPresets, "Uploading Factory Presets...",
                 kFactoryPresetsSeconds, kUploadIdlePollMs) ||
        !RunStep(FirmwareCommandSet::kUploadAmplifierTable, "Uploading Amplifier Table...", kAmplifierSeconds,
                 kUploadIdlePollMs) ||
        !RunStep(FirmwareCommandSet::kUploadAtmel, "Uploading firmware code...", kControllerSeconds,
                 kUploadIdlePollMs))
        return;

    if (AbortIfNoUnit())
        return;
    if (reporter.status)
        reporter.status("Rebooting firmware...");
    Execute(FirmwareCommandSet::kExitBootloader);
    PlatformClock::Sleep(kSecondMs);
    if (AbortIfNoUnit())
        return;

    if (host.GetSaveUserPreset() == kSaveUserPresetOn)
    {
        if (reporter.status)
            reporter.status("Saving User Presets...");
        SaveUserPresets();
    }
    else
    {
        for (int wait = 0; wait < kWithoutPresetsWaits; ++wait)
        {
            PlatformClock::Sleep(kSecondMs);
            AddProgress(kWithoutPresetsStep);
        }
    }
    if (AbortIfNoUnit())
        return;
    while (!link.IsFlashJobIdle() && link.IsConnected())
        PlatformClock::Sleep(kEraseIdlePollMs);
    while (progress.load() < kProgressTotal)
    {
        PlatformClock::Sleep(kFillStepMs);
        AddProgress(1.0);
    }
}

void FirmwareUpdateJob::SaveUserPresets()
{
    if (!host.IsUnitConnected())
        return;
    host.SetPresetHandler(this);
    host.BuildWireIdMaps(true);
    host.SendCommand12(1);
    for (int number = 1; number <= kUserPresetCount; ++number)
    {
        presetEvent.store(false);
        host.RequestPresetInfo(number);
        // Bounded, and given up when the unit goes: a preset that never comes must not hang the job.
        const uint32_t start = PlatformClock::GetTickCount();
        while (!presetEvent.load() && host.IsUnitConnected() &&
               PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) < kPresetWaitMs)
            PlatformClock::Sleep(kPresetPollMs);
        if (!presetEvent.exchange(false))
        {
            // A unit that went is reported by the run's next check; a preset that never came is not.
            if (host.IsUnitConnected())
                unsavedPreset.store(number);
            break;
        }
        if (unsavedPreset.load() != 0)
            break;
    }
    host.SetPresetHandler(nullptr);
    host.StopWatching();
    if (unsavedPreset.load() != 0)
        ReportUnsavedPreset(unsavedPreset.load());
}

void FirmwareUpdateJob::ReportUnsavedPreset(int32_t number)
{
    errorText.Format("User preset %d could not be saved to \"%s\".", number,
                     host.GetSaveUserPresetPath().CStr());
    success.store(false);
}

void FirmwareUpdateJob::PresetInfoReceived(int number, int, XString& name)
{
    if (!host.IsUnitConnected())
        return;
    presetName = name;
    presetNumber.store(number);
    if (host.IsEmptyPresetName(TrimmedRight(name)))
    {
        AddProgress(1.0);
        SignalPresetEvent();
        return;
    }
    host.RecallPresetForSaving(static_cast<unsigned>(number));
    PlatformClock::Sleep(kAfterRecallMs);
}

void FirmwareUpdateJob::PresetDataReceived()
{
    if (!host.IsUnitConnected())
        return;
    XString fileName;
    fileName.Format("User Preset _%d.qm7", presetNumber.load());
    const XString folder = host.GetSaveUserPresetPath();
    host.SyncCompareGroups(true);
    // An empty folder would put the files at the top of the file system.
    if (folder.IsEmpty() || !host.SavePresetFile(folder + "\\" + fileName))
    {
        int32_t none = 0;
        unsavedPreset.compare_exchange_strong(none, presetNumber.load());
    }
    AddProgress(1.0);
    SignalPresetEvent();
}
