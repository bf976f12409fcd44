#pragma once

#include "core/XHandler.h"
#include "device/IDeviceJob.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class IDeviceJobLink;

/** The common body of the jobs that wait for one parameter's notification: the listen-mode switch
    and the slave-mode wait. The application registers the job (its handler part, unattached) as a
    watcher of the parameter under the job's key; Run asks the unit (Begin), then waits in kWaitStepMs
    steps while the link is up until a notification that IsConfirmation accepts sets the done mark to
    kDoneMark, at most maxWaitSteps steps. A wait that runs out leaves the failure text.

    Notifications arrive on the thread that changed the parameter (the link's reader thread); the done
    mark is atomic. The destructor leaves every watcher list first. */
class ParamConfirmationJob : public XHandler, public IDeviceJob
{
public:
    static constexpr int32_t kDoneMark = 100;
    static constexpr uint32_t kWaitStepMs = 50;

    /** link may be null (no watcher: Run returns at once); it is not owned. */
    ParamConfirmationJob(IDeviceJobLink* link, int32_t watchKey, int maxWaitSteps, const char* failureText);
    ~ParamConfirmationJob() override;

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    void Run(IJobProgress& progress) override;
    XString GetFailureText() const override;

    int32_t GetWatchKey() const { return watchKey; }
    bool IsDone() const { return doneMark.load() >= kDoneMark; }

protected:
    /** Called once the done mark is reset, before the wait: sends what the job asks of the unit. */
    virtual void Begin(IDeviceJobLink& link) {}
    /** Whether a value notification of the watched parameter ends the wait. */
    virtual bool IsConfirmation(XParam* param) const { return true; }

private:
    IDeviceJobLink* const link; // not owned; may be null
    const int32_t watchKey;
    const int maxWaitSteps;
    const char* const timeoutText;
    std::atomic<int32_t> doneMark{0};

    mutable std::mutex failureLock; // guards failureText
    XString failureText;
};
