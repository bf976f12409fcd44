#pragma once

#include "core/ITickClock.h"
#include "core/ThreadServices.h"
#include "core/XHandler.h"
#include "core/XLooper.h"
#include "core/XMessage.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

/** Helpers of the handler, looper and timer tests. */
namespace LooperTest
{
/** A clock that moves only when the test moves it. */
class FakeClock final : public ITickClock
{
public:
    explicit FakeClock(uint32_t start) : now(start) {}
    uint32_t GetTickCount() override { return now.load(); }
    void Set(uint32_t tick) { now.store(tick); }
    void Advance(uint32_t ms) { now.fetch_add(ms); }

private:
    std::atomic<uint32_t> now;
};

/** What a recording handler saw, in order; shared by several handlers so a test sees their order. */
class Journal final
{
public:
    void Add(std::string entry)
    {
        std::lock_guard<std::mutex> hold(lock);
        entries.push_back(std::move(entry));
    }
    std::vector<std::string> Take()
    {
        std::lock_guard<std::mutex> hold(lock);
        return std::exchange(entries, {});
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> hold(lock);
        return entries.size();
    }

private:
    std::mutex lock;
    std::vector<std::string> entries;
};

/** Records timers ("<name>:timer:<id>"), messages ("<name>:msg:<what>") and parameter changes
    ("<name>:param:<code>:<key>") with the thread they ran on; hooks run after the record. */
class RecordingHandler : public XHandler
{
public:
    RecordingHandler(const char* name, Journal& journalIn) : XHandler(name), journal(journalIn) {}
    /** Detaches first, as every handler must that may die on another thread than its looper's. */
    ~RecordingHandler() override
    {
        if (XLooper* looper = GetLooper())
            looper->RemoveHandler(this);
    }

    void OnTimer(int32_t timerId) override
    {
        journal.Add(GetName().CStr() + std::string(":timer:") + std::to_string(timerId));
        lastThread.store(CurrentThreadId());
        if (onTimer)
            onTimer(timerId);
    }
    void MessageReceived(XMessage& message) override
    {
        if (message.GetWhat() != kParamMessageCode)
            journal.Add(GetName().CStr() + std::string(":msg:") + std::to_string(message.GetWhat()));
        lastThread.store(CurrentThreadId());
        XHandler::MessageReceived(message);
    }
    void ParamChanged(int32_t code, XParam* param, int32_t key) override
    {
        journal.Add(GetName().CStr() + std::string(":param:") + std::to_string(code) + ":" +
                    std::to_string(key));
        lastParam.store(param);
        lastThread.store(CurrentThreadId());
    }

    std::function<void(int32_t)> onTimer;
    std::atomic<XParam*> lastParam{nullptr};
    std::atomic<int32_t> lastThread{0};

private:
    static constexpr uint32_t kParamMessageCode = 0x706D7367; // 'pmsg'
    Journal& journal;
};

/** A looper whose destruction is observable. */
class ObservedLooper : public XLooper
{
public:
    ObservedLooper(const char* name, std::atomic<bool>& destroyedFlag)
        : XLooper(name), destroyed(destroyedFlag)
    {
    }
    ~ObservedLooper() override
    {
        EndLoopThread();
        destroyed.store(true);
    }

    bool QuitRequested() override { return allowQuit.load(); }

    std::atomic<bool> allowQuit{true};

private:
    std::atomic<bool>& destroyed;
};

/** A fake parameter pointer: parameters are never dereferenced by the handler layer. */
inline XParam* FakeParam(uintptr_t n)
{
    return reinterpret_cast<XParam*>(n * 64);
}
} // namespace LooperTest
