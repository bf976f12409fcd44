#include "files/UnmountThread.h"

#include "core/ThreadServices.h"
#include "files/XVolumeManager.h"

#include <utility>

UnmountThread::UnmountThread(std::vector<XFileEntry> volumeList)
    : XThread(false, "UnmountThread"), volumes(std::move(volumeList))
{
}

UnmountThread::~UnmountThread()
{
    StopAndWait();
}

void UnmountThread::OnEjectProgress(float fraction, void* userData)
{
    static_cast<UnmountThread*>(userData)->ratioSignal.Emit(static_cast<uint32_t>(fraction * 100.0f), 100u);
}

void UnmountThread::Run()
{
    XSleep(kStartPauseMs);
    const auto count = static_cast<int32_t>(volumes.size());
    for (int32_t number = 1; number <= count; ++number)
    {
        const XFileEntry& volume = volumes[static_cast<size_t>(number - 1)];
        XString line;
        line.Format("Unmounting volume '%s'\t(%d of %d)", volume.GetDisplayName().CStr(), number, count);
        textSignal.Emit(line.CStr());
        resetSignal.Emit();
        if (number > 1)
            XSleep(kBetweenVolumesMs);
        if (XVolumeManager::GetInstance().EjectVolume(volume, &UnmountThread::OnEjectProgress, this) != 0)
        {
            failedSignal.Emit();
            return;
        }
    }
    completeSignal.Emit();
    XSleep(kSettleMs);
    finishedSignal.Emit();
}
