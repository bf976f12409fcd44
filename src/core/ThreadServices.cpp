#include "core/ThreadServices.h"

#include "core/LongArray.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "platform/PlatformClock.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

namespace
{
constexpr int kPriorityLevelCount = 7;
constexpr char kMainThreadName[] = "Main";

std::atomic<int32_t> mainThreadId{0};

void AddRecord(XThreadInfo* record)
{
    auto& registry = GetThreadRegistry();
    XSmartLock hold(registry);
    registry.Add(record, false);
}

/** Hand-over between LaunchThread and the new thread: the new thread reports its id, then waits
    until the launching thread has recorded it. Shared, so neither side outlives it. */
struct StartGate
{
    std::mutex lock; // guards every field
    std::condition_variable changed;
    int32_t threadId = 0;
    bool idReported = false;
    bool mayRun = false;

    void ReportIdAndWait(int32_t id)
    {
        std::unique_lock<std::mutex> hold(lock);
        threadId = id;
        idReported = true;
        changed.notify_all();
        changed.wait(hold, [this] { return mayRun; });
    }

    int32_t WaitForId()
    {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [this] { return idReported; });
        return threadId;
    }

    void LetRun()
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            mayRun = true;
        }
        changed.notify_all();
    }
};
} // namespace

ObjectArray<XThreadInfo>& GetThreadRegistry()
{
    // Never destroyed: threads may still register or read while static objects are torn down.
    static auto* registry = new ObjectArray<XThreadInfo>();
    return *registry;
}

void RegisterMainThread()
{
    static std::once_flag registered;
    std::call_once(registered,
                   []
                   {
                       const int32_t id = PlatformThreads::CurrentThreadId();
                       mainThreadId.store(id);
                       auto& registry = GetThreadRegistry();
                       XSmartLock hold(registry);
                       registry.InsertAt(0, new XThreadInfo(kMainThreadName, kNormalThreadLevel, id));
                   });
}

int32_t GetMainThreadId()
{
    return mainThreadId.load();
}

int32_t MapThreadPriorityForClass(int32_t level, PlatformThreads::PriorityClass priorityClass)
{
    using Table = std::array<int32_t, kPriorityLevelCount>;
    static constexpr Table kNormalClass = {-2, -1, 0, 0, 1, 15, 2};
    static constexpr Table kHighClass = {-2, -1, 0, 0, 1, 15, 14};
    static constexpr Table kRealtimeClass = {-15, -15, 0, -14, -2, 15, 14};
    if (level < 0 || level >= kPriorityLevelCount)
        return 0;
    switch (priorityClass)
    {
    case PlatformThreads::PriorityClass::high:
        return kHighClass[static_cast<size_t>(level)];
    case PlatformThreads::PriorityClass::realtime:
        return kRealtimeClass[static_cast<size_t>(level)];
    case PlatformThreads::PriorityClass::normal:
        break;
    }
    return kNormalClass[static_cast<size_t>(level)];
}

int32_t MapThreadPriority(int32_t level)
{
    return MapThreadPriorityForClass(level, PlatformThreads::GetProcessPriorityClass());
}

int32_t LaunchThread(int32_t systemPriority, std::function<void()> body,
                     const std::function<void(int32_t threadId)>& onStarted, std::thread* handle)
{
    auto gate = std::make_shared<StartGate>();
    std::thread thread;
    try
    {
        thread = std::thread(
            [gate, systemPriority, run = std::move(body)]
            {
                PlatformThreads::SetCurrentThreadPriority(systemPriority); // best effort
                gate->ReportIdAndWait(PlatformThreads::CurrentThreadId());
                run();
            });
    }
    catch (const std::system_error&)
    {
        return 0;
    }
    const int32_t id = gate->WaitForId();
    if (onStarted)
        onStarted(id);
    if (handle != nullptr)
        *handle = std::move(thread);
    else
        thread.detach();
    gate->LetRun();
    return id;
}

int32_t StartNamedThread(XThreadFunction function, int32_t level, void* argument, const char* name)
{
    RegisterMainThread();
    auto* record = new XThreadInfo(name, level, 0);
    int32_t id = 0;
    if (function != nullptr)
        id = LaunchThread(
            MapThreadPriority(level), [function, argument] { function(argument); },
            [record](int32_t newId)
            {
                record->threadId = newId;
                AddRecord(record);
            },
            nullptr);
    if (id == 0)
        AddRecord(record);
    return id;
}

int32_t XSleep(int32_t ms)
{
    PlatformClock::Sleep(ms < 0 ? 0u : static_cast<uint32_t>(ms));
    return 0;
}

int32_t CurrentThreadId()
{
    return PlatformThreads::CurrentThreadId();
}

bool IsCurrentThread(int32_t id)
{
    return id == PlatformThreads::CurrentThreadId();
}

int32_t ExitCurrentThread(int32_t id)
{
    if (!IsCurrentThread(id))
        return XResult::kFailed;
    PlatformThreads::ExitCurrentThread();
}

int32_t ListProcessThreads(int32_t processId, LongArray& ids)
{
    ids.Clear();
    std::vector<int32_t> threadIds;
    if (!PlatformThreads::ListThreads(processId, threadIds))
        return -1;
    for (const int32_t id : threadIds)
        ids.Add(id, false);
    return 0;
}
