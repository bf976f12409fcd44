#pragma once

#include "device/IDeviceJob.h"
#include "device/PresetReceiveJob.h"

#include <juce_gui_basics/juce_gui_basics.h>

class DeviceCommWatcher;
class PresetsManager;

/** The progress window of the preset receive: "Receiving Presets" with a bar and a cancel button,
    whose thread runs a PresetReceiveJob. The job is borrowed and must outlive the window.

    ReceiveAllPresets is what the connect hand-shake calls on the message thread: it shows the
    window modally until the receive ends and returns how it ended. */
class PresetReceiveThread final : public juce::ThreadWithProgressWindow, private IJobProgress
{
public:
    explicit PresetReceiveThread(PresetReceiveJob& job);
    ~PresetReceiveThread() override;

    void run() override;

    /** Refreshes presets (the program's by default) from the unit through watcher (null: nothing
        is asked) behind the window. Message thread only. */
    static PresetReceiveJob::Outcome ReceiveAllPresets(DeviceCommWatcher* watcher,
                                                       PresetsManager* presets = nullptr);

private:
    void SetProgress(double fraction) override;
    void SetStatusMessage(const XString& text) override;
    bool ShouldExit() override;

    PresetReceiveJob& job;
};
