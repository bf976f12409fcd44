#include "gui/ControlRefreshQueue.h"

#include "core/XSmartLock.h"
#include "gui/XControl.h"

ControlRefreshQueue& ControlRefreshQueue::Get()
{
    // Never destroyed: controls may leave the queue during static destruction.
    static ControlRefreshQueue* const queue = new ControlRefreshQueue();
    return *queue;
}

bool ControlRefreshQueue::Enqueue(XControl* control)
{
    if (control == nullptr)
        return false;
    XSmartLock hold(lock);
    if (control->refreshQueued)
        return false;
    control->refreshQueued = true;
    controls.Add(control);
    return true;
}

void ControlRefreshQueue::Remove(XControl* control)
{
    if (control == nullptr)
        return;
    XSmartLock hold(lock);
    if (!control->refreshQueued)
        return;
    control->refreshQueued = false;
    controls.Remove(control);
}

XControl* ControlRefreshQueue::TakeFirst()
{
    XSmartLock hold(lock);
    XControl* control = XList<XControl>::ItemOf(controls.GetHead());
    if (control != nullptr)
    {
        controls.Remove(control);
        control->refreshQueued = false;
    }
    return control;
}

void ControlRefreshQueue::RefreshQueuedControls()
{
    // One control at a time: a control destroyed by another's refresh has left the queue, and one
    // changed again while the pass reads its value is queued anew instead of being lost.
    for (int32_t remaining = GetCount(); remaining > 0; --remaining)
    {
        XControl* control = TakeFirst();
        if (control == nullptr)
            return;
        control->SetPosition(control->ValueToPosition(control->GetPot()));
    }
}

int32_t ControlRefreshQueue::GetCount() const
{
    XSmartLock hold(lock);
    return controls.GetCount();
}
