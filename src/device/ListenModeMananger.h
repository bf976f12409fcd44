#pragma once

#include "device/ParamConfirmationJob.h"

/** Switches the unit's listen mode ("Switching DSP Memories "): the application has sent the new
    value of global\ListenMode (command 5) while keeping the old one locally, and registered this job
    as a watcher of that parameter under kWatchKey; Run asks the unit for the value (command 6 for
    wire id 6) and ends when the unit's answer changes the parameter, or after kMaxWaitSteps steps of
    50 ms with the failure text. The application creates, runs and deletes the job. */
class ListenModeMananger final : public ParamConfirmationJob
{
public:
    static constexpr const char* kTitle = "Switching DSP Memories ";
    static constexpr int kCancelTimeoutMs = 500;
    /** 'lck': the key under which the application registers the job on global\ListenMode. */
    static constexpr int32_t kWatchKey = 0x6C636B;
    static constexpr int kMaxWaitSteps = 100;
    static constexpr const char* kTimeoutText = "The unit did not confirm the switch of its DSP memories.";

    /** link may be null (no watcher); it is not owned. */
    explicit ListenModeMananger(IDeviceJobLink* link);

    WindowStyle GetWindowStyle() const override;

protected:
    void Begin(IDeviceJobLink& link) override;
};
