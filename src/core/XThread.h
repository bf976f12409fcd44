#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

class IThreadCallback;
struct XThreadInfo;

/** A named thread that runs an IThreadCallback (or an override of Run) at a priority level 0..6.

    Construction adds the thread's record to the thread registry; Start creates the system thread,
    which calls Run and then OnExit. Destroying the object from another thread sets the stop flag and
    waits without limit until the thread has ended, so Run must poll IsStopRequested. A subclass that
    overrides Run with code using its own members must call StopAndWait first in its own destructor.

    With auto-delete the thread deletes its object itself when it ends; nobody else may delete it
    then. The flags may be read from any thread. */
class XThread
{
public:
    XThread(bool autoDelete, const char* name);
    XThread(const XThread&) = delete;
    XThread& operator=(const XThread&) = delete;
    virtual ~XThread();

    /** Starts the thread at a priority level with callback and argument for Run. Returns the new
        thread's id, 0 when no thread could be made or the thread is still running. */
    int32_t Start(int32_t level, IThreadCallback* callback, void* argument);

    /** Runs on the thread: calls the callback's Run when there is a callback. */
    virtual void Run();
    /** Runs on the thread after Run: calls the callback's OnExit when there is a callback. */
    virtual void OnExit();

    /** Asks Run to end (sets the stop flag) without waiting. */
    void RequestStop() { stopRequested.store(true); }
    bool IsStopRequested() const { return stopRequested.load(); }
    bool IsRunning() const { return running.load(); }
    bool IsFinished() const { return finished.load(); }
    bool IsAutoDelete() const { return autoDelete; }
    /** The system id of the last started thread, 0 before a start or when it failed. */
    int32_t GetThreadId() const { return threadId.load(); }
    /** The thread's registry record (owned by the registry). */
    XThreadInfo* GetInfo() const { return info; }
    IThreadCallback* GetCallback() const { return callback; }
    void* GetArgument() const { return argument; }

protected:
    /** Sets the stop flag and, unless called on the thread itself, waits until the thread has ended. */
    void StopAndWait();

private:
    /** The thread body: Run, OnExit, then the end of the thread's life (see the class comment). */
    static void ThreadEntry(XThread* self);
    /** Marks the thread ended; deletes the object when auto-delete. Runs also when the thread is ended
        early by ExitCurrentThread. */
    void Finish();

    std::thread handle; // touched only by the thread that starts and destroys the object
    std::atomic<int32_t> threadId{0};
    const bool autoDelete;
    std::atomic<bool> running{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> stopRequested{false};
    XThreadInfo* info;
    IThreadCallback* callback = nullptr; // written by Start before the thread runs
    void* argument = nullptr;            // written by Start before the thread runs
};
