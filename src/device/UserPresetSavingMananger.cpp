#include "device/UserPresetSavingMananger.h"

#include "core/IAppServices.h"
#include "core/XDocument.h"
#include "device/IDeviceJobLink.h"
#include "platform/PlatformClock.h"

namespace
{
using Hold = std::lock_guard<std::recursive_mutex>;
} // namespace

UserPresetSavingMananger::UserPresetSavingMananger(const char* folder, XDocument* document,
                                                   IDeviceJobLink* link)
    : folder(folder != nullptr ? folder : ""), document(document), link(link)
{
}

UserPresetSavingMananger::~UserPresetSavingMananger()
{
    if (link != nullptr && link->GetPresetHandler() == this)
        link->SetPresetHandler(nullptr);
}

IDeviceJob::WindowStyle UserPresetSavingMananger::GetWindowStyle() const
{
    return {kTitle, true, false, kCancelTimeoutMs};
}

XString UserPresetSavingMananger::FileNameFor(int number)
{
    XString name;
    name.Format(kFileNameFormat, number);
    return name;
}

void UserPresetSavingMananger::Run(IJobProgress& progressView)
{
    if (link == nullptr || !link->IsConnected())
        return;
    {
        Hold hold(callbackLock);
        sink = &progressView;
        failureText = XString();
    }
    progress.store(0);
    currentNumber.store(1);
    NoteActivity();
    running.store(true);
    link->SetPresetHandler(this);
    link->RequestPresetInfo(1);

    while (link->IsConnected() && progress.load() < kProgressDone && !progressView.ShouldExit())
    {
        if (PlatformClock::TicksSince(lastActivityTick.load(), PlatformClock::GetTickCount()) >
            kStallTimeoutMs)
        {
            SetFailure(kStalledText);
            break;
        }
        PlatformClock::Sleep(kWaitStepMs);
    }
    if (progress.load() < kProgressDone && !link->IsConnected())
        SetFailure(kLinkLostText);

    link->SetPresetHandler(nullptr);
    running.store(false);
    Hold hold(callbackLock); // waits for a reply still being handled
    sink = nullptr;
}

XString UserPresetSavingMananger::GetFailureText() const
{
    Hold hold(callbackLock);
    return failureText;
}

bool UserPresetSavingMananger::IsActive()
{
    return running.load() && link != nullptr && link->IsConnected();
}

void UserPresetSavingMananger::NoteActivity()
{
    lastActivityTick.store(PlatformClock::GetTickCount());
}

void UserPresetSavingMananger::SetFailure(const XString& text)
{
    Hold hold(callbackLock);
    if (failureText.IsEmpty())
        failureText = text;
}

void UserPresetSavingMananger::RequestNextAfter(int number)
{
    if (number <= 0 || number >= kUserPresetCount)
        return;
    currentNumber.store(number + 1);
    link->RequestPresetInfo(number + 1);
}

void UserPresetSavingMananger::PresetInfoReceived(int number, int configuration, XString& name)
{
    Hold hold(callbackLock);
    if (!IsActive())
        return;
    // Only the slot asked for moves the job on; a stray answer would skip or repeat slots.
    if (number != currentNumber.load() || number < 1 || number > kUserPresetCount)
        return;
    NoteActivity();
    presetName = name;
    if (IsEmptyPresetName(name.TrimRight()))
    {
        ProgressStep(number);
        RequestNextAfter(number);
        return;
    }
    if (sink != nullptr)
        sink->SetStatusMessage(name);
    link->RecallPresetForSaving(static_cast<unsigned>(number));
    PlatformClock::Sleep(kSettleMs);
    NoteActivity();
}

void UserPresetSavingMananger::PresetFlagsReceived(int /*number*/, int /*flags*/) {}

void UserPresetSavingMananger::PresetDataReceived()
{
    Hold hold(callbackLock);
    if (!IsActive())
        return;
    NoteActivity();
    const int number = currentNumber.load();
    if (number == 0)
    {
        ProgressStep(0);
        return;
    }
    // The compare copies hold the preset's values: they become the live ones, which the document
    // writes. The document keeps its own path, so the user's open file is left alone.
    GetAppServices().SyncCompareGroups(true);
    if (document != nullptr)
    {
        const XString path = folder + "\\" + FileNameFor(number);
        if (document->WriteTo(path.CStr()) != 0)
            SetFailure(XString(kWriteFailedText) + path);
    }
    ProgressStep(number);
    RequestNextAfter(number);
}

void UserPresetSavingMananger::ProgressStep(int n)
{
    Hold hold(callbackLock);
    if (!IsActive())
        return;
    if (n >= 1 && n < kUserPresetCount)
    {
        progress.store(n * 100 / kUserPresetCount);
        if (sink != nullptr)
            sink->SetProgress(progress.load() / 100.0);
    }
    else if (n == kUserPresetCount)
    {
        currentNumber.store(0);
        link->RecallPresetForSaving(0);
    }
    else if (n == 0)
    {
        link->RequestAllParams();
        PlatformClock::Sleep(kSettleMs);
        // Nobody gives the job a final path; an empty one would only make the save fail.
        if (document != nullptr && !finalDocumentPath.IsEmpty())
            document->SaveAs(finalDocumentPath.CStr());
        progress.store(kProgressDone);
        if (sink != nullptr)
            sink->SetProgress(1.0);
    }
}
