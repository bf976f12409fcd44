#include "files/XVolumeManager.h"

#include "core/XMessage.h"
#include "files/XFileEntry.h"
#include "files/XFolderListing.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformVolumeEjector.h"

#include <string>

namespace
{
void Report(XVolumeManager::ProgressCallback callback, void* userData, float fraction)
{
    if (callback == nullptr)
        return;
    callback(fraction, userData);
    PlatformClock::Sleep(XVolumeManager::kStagePauseMs);
}
} // namespace

XVolumeManager::XVolumeManager()
{
    Refresh();
}

XVolumeManager::~XVolumeManager() = default;

XVolumeManager& XVolumeManager::GetInstance()
{
    // Kept for the program's life: browsers leave it as late as their own destruction.
    static XVolumeManager* instance = new XVolumeManager();
    return *instance;
}

void XVolumeManager::Refresh()
{
    drives.clear();
    XFolderListing listing(XFolderListing::kRootPath, true, "*", false);
    for (int32_t index = 0; index < listing.GetCount(); ++index)
    {
        XFileEntry entry;
        if (listing.GetEntry(index, entry) == XFolderListing::kOk &&
            PlatformFileSystem::IsDriveRoot(entry.GetPath().CStr()))
            drives.push_back(std::make_unique<XFileEntry>(entry));
    }
}

void XVolumeManager::Update()
{
    Refresh();
    XMessage message(kDrivesChangedMessage);
    Broadcast(&message, true);
}

int32_t XVolumeManager::EjectVolume(const XFileEntry& volume, ProgressCallback callback, void* userData)
{
    PlatformVolumeEjector& tool = ejector != nullptr ? *ejector : PlatformVolumeEjector::System();
    Report(callback, userData, 0.1f);
    std::string device;
    if (tool.FindDevice(volume.GetPath().CStr(), device) != PlatformVolumeEjector::kOk)
        return XResult::kFailed;
    Report(callback, userData, 0.2f);
    int32_t attempt = 0;
    for (int32_t unmounted = tool.Unmount(device); unmounted != PlatformVolumeEjector::kOk;
         unmounted = tool.Unmount(device))
    {
        // A volume in use may come free; a tool that cannot be run will not.
        if (unmounted == PlatformVolumeEjector::kNoTool)
            return XResult::kFailed;
        PlatformClock::Sleep(kUnmountRetryMs);
        if (++attempt >= kUnmountAttempts)
            return XResult::kFailed;
    }
    // Stages with no work of their own here still report, so a progress dialog moves evenly.
    for (const float fraction : {0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f})
        Report(callback, userData, fraction);
    const int32_t result =
        tool.PowerOff(device) == PlatformVolumeEjector::kOk ? XResult::kOk : XResult::kFailed;
    Report(callback, userData, 1.0f);
    PlatformClock::Sleep(kSettleMs);
    return result;
}
