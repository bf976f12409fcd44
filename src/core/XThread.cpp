#include "core/XThread.h"

#include "core/IThreadCallback.h"
#include "core/ThreadServices.h"
#include "core/XSmartLock.h"
#include "core/XThreadInfo.h"

XThread::XThread(bool deleteWhenEnded, const char* name)
    : autoDelete(deleteWhenEnded), info(new XThreadInfo(name, 0, 0))
{
    auto& registry = GetThreadRegistry();
    XSmartLock hold(registry);
    registry.Add(info, true);
}

XThread::~XThread()
{
    StopAndWait();
}

void XThread::StopAndWait()
{
    stopRequested.store(true);
    if (!handle.joinable())
        return;
    if (handle.get_id() == std::this_thread::get_id())
        handle.detach();
    else
        handle.join();
}

int32_t XThread::Start(int32_t level, IThreadCallback* threadCallback, void* threadArgument)
{
    RegisterMainThread();
    if (running.load())
        return 0;
    if (handle.joinable())
        handle.join(); // the previous run has ended; release its system thread

    callback = threadCallback;
    argument = threadArgument;
    finished.store(false);
    // Running from here on, so that a caller sees it as soon as Start returns.
    running.store(true);
    const int32_t id = LaunchThread(
        MapThreadPriority(level), [this] { ThreadEntry(this); },
        [this, level](int32_t newId)
        {
            threadId.store(newId);
            auto& registry = GetThreadRegistry();
            XSmartLock hold(registry);
            info->level = level;
            info->threadId = newId;
        },
        autoDelete ? nullptr : &handle);
    if (id == 0)
    {
        running.store(false);
        threadId.store(0);
        XSmartLock hold(GetThreadRegistry());
        info->level = level;
        info->threadId = 0;
    }
    return id;
}

void XThread::Run()
{
    if (callback != nullptr)
        callback->Run(this, argument);
}

void XThread::OnExit()
{
    if (callback != nullptr)
        callback->OnExit(this, argument);
}

void XThread::ThreadEntry(XThread* self)
{
    // Ends the thread's life also when ExitCurrentThread unwinds the stack out of Run.
    struct EndOfLife
    {
        XThread* thread;
        ~EndOfLife() { thread->Finish(); }
    } endOfLife{self};

    self->running.store(true);
    self->Run();
    self->OnExit();
}

void XThread::Finish()
{
    finished.store(true);
    stopRequested.store(false);
    if (autoDelete)
        delete this;
    else
        running.store(false);
}
