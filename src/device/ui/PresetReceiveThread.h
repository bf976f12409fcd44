#pragma once

#include "device/PresetReceiveJob.h"
#include "device/ui/DeviceJobWindow.h"

class DeviceCommWatcher;
class PresetsManager;

/** The progress window of the preset receive: the device job window over a PresetReceiveJob, which
    gives it the title "Receiving Presets", a bar and a cancel button. The job is borrowed and must
    outlive the window.

    ReceiveAllPresets is what the connect hand-shake calls on the message thread: it shows the
    window modally until the receive ends and returns how it ended, showing no alert of its own. */
class PresetReceiveThread final : public DeviceJobWindow
{
public:
    explicit PresetReceiveThread(PresetReceiveJob& job);

    /** Refreshes presets (the program's by default) from the unit through watcher (null: nothing
        is asked) behind the window. Message thread only. */
    static PresetReceiveJob::Outcome ReceiveAllPresets(DeviceCommWatcher* watcher,
                                                       PresetsManager* presets = nullptr);
};
