#pragma once

class XThread;

/** What an XThread runs: Run is called on the new thread with the thread and the user argument
    given to XThread::Start, then OnExit. Run should poll XThread::IsStopRequested and return soon
    after it turns true, because destroying the thread waits for Run to end. The callback is not
    owned by the thread. */
class IThreadCallback
{
public:
    virtual void Run(XThread* thread, void* argument) = 0;
    /** Called after Run returns; empty by default. */
    virtual void OnExit(XThread* thread, void* argument) {}

protected:
    ~IThreadCallback() = default;
};
