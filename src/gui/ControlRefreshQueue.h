#pragma once

#include "core/GenericList.h"
#include "core/XMutex.h"

#include <cstdint>

class XControl;

/** The deferred refresh of controls whose parameters are set at once from worker threads: such a
    parameter only queues its controls here (any thread), and the GUI application's idle tick runs
    RefreshQueuedControls every 100 ms on the GUI thread, which shows each queued control's current
    value. A control is queued at most once; one that is destroyed leaves the queue in its
    destructor, so a pass never reaches a dead control. One queue per process. */
class ControlRefreshQueue final
{
public:
    static ControlRefreshQueue& Get();

    /** Appends the control unless it is queued already; false then. Any thread. */
    bool Enqueue(XControl* control);
    /** Takes the control out of the queue; nothing when it is not queued. Any thread. */
    void Remove(XControl* control);
    /** GUI thread: each control queued when the pass starts is taken out (and may be queued again
        from then on) and set to the position of its parameter's current value. */
    void RefreshQueuedControls();
    int32_t GetCount() const;

    ControlRefreshQueue(const ControlRefreshQueue&) = delete;
    ControlRefreshQueue& operator=(const ControlRefreshQueue&) = delete;

private:
    ControlRefreshQueue() = default;
    /** The next control of the pass, unqueued; null when the queue is empty. */
    XControl* TakeFirst();

    mutable XMutex lock;
    XList<XControl> controls; // not owned; guarded by lock
};
