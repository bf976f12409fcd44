#pragma once

#include "device/IDeviceJob.h"
#include "device/ui/JobProgressWindow.h"

/** The progress window of a device job (listen-mode switch, saving the user presets, the slave-mode
    wait, the preset receive): titled and styled as the job says, its thread runs the job's Run and the window
    closes when Run returns. The job is borrowed and must outlive the window. The job's progress reaches the
    bar through the message thread (JobProgressWindow).

    RunJob is what the application calls on the message thread: it shows the window modally until the
    job ends, then shows the job's failure, if any, in an alert that does not wait. Derived windows
    only fix the kind of job they run. */
class DeviceJobWindow : public JobProgressWindow, private IJobProgress
{
public:
    explicit DeviceJobWindow(IDeviceJob& job);
    ~DeviceJobWindow() override;

    void run() override;

    /** Runs job behind its window at normal priority; true when it ended without a failure. Message
        thread only. */
    static bool RunJob(IDeviceJob& job);

private:
    void SetProgress(double fraction) override;
    void SetStatusMessage(const XString& text) override;
    bool ShouldExit() override;

    IDeviceJob& job;
};
