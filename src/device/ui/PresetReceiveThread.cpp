#include "device/ui/PresetReceiveThread.h"

#include "device/DeviceJobLink.h"
#include "device/PresetsManager.h"

PresetReceiveThread::PresetReceiveThread(PresetReceiveJob& job) : DeviceJobWindow(job) {}

PresetReceiveJob::Outcome PresetReceiveThread::ReceiveAllPresets(DeviceCommWatcher* watcher,
                                                                 PresetsManager* presets)
{
    DeviceJobLink link(watcher);
    PresetReceiveJob job(link, presets != nullptr ? *presets : PresetsManager::Instance());
    {
        PresetReceiveThread window(job);
        window.runThread(juce::Thread::Priority::normal);
    }
    return job.GetOutcome();
}
