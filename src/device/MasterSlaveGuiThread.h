#pragma once

#include "device/ParamConfirmationJob.h"

/** Waits while the unit is slaved to another unit ("Device is in Slave Mode"): the application
    registers the job as a watcher of the master/slave mode parameter under kWatchKey when that
    parameter reports slave mode; Run ends when the parameter is set to 0 (master), when the link
    drops, or after kMaxWaitSteps steps of 50 ms with the failure text. */
class MasterSlaveGuiThread final : public ParamConfirmationJob
{
public:
    static constexpr const char* kTitle = "Device is in Slave Mode";
    static constexpr int kCancelTimeoutMs = 500;
    /** 'msm'. */
    static constexpr int32_t kWatchKey = 0x6D736D;
    /** One minute. */
    static constexpr int kMaxWaitSteps = 1200;
    static constexpr const char* kTimeoutText = "The unit is still in Slave Mode.";

    /** link may be null (no watcher); it is not owned. */
    explicit MasterSlaveGuiThread(IDeviceJobLink* link);

    WindowStyle GetWindowStyle() const override;

protected:
    bool IsConfirmation(XParam* param) const override;
};
