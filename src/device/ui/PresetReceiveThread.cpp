#include "device/ui/PresetReceiveThread.h"

#include "device/PresetsManager.h"
#include "device/WatcherPresetLink.h"

PresetReceiveThread::PresetReceiveThread(PresetReceiveJob& job)
    : juce::ThreadWithProgressWindow(job.GetWindowStyle().title, job.GetWindowStyle().hasProgressBar,
                                     job.GetWindowStyle().hasCancelButton,
                                     job.GetWindowStyle().cancelTimeoutMs),
      job(job)
{
}

PresetReceiveThread::~PresetReceiveThread() = default;

void PresetReceiveThread::run()
{
    job.Run(*this);
}

PresetReceiveJob::Outcome PresetReceiveThread::ReceiveAllPresets(DeviceCommWatcher* watcher,
                                                                 PresetsManager* presets)
{
    WatcherPresetLink link(watcher);
    PresetReceiveJob job(link, presets != nullptr ? *presets : PresetsManager::Instance());
    {
        PresetReceiveThread window(job);
        window.runThread(juce::Thread::Priority::normal);
    }
    return job.GetOutcome();
}

void PresetReceiveThread::SetProgress(double fraction)
{
    setProgress(fraction);
}

void PresetReceiveThread::SetStatusMessage(const XString& text)
{
    setStatusMessage(juce::String::fromUTF8(text.CStr()));
}

bool PresetReceiveThread::ShouldExit()
{
    return threadShouldExit();
}
