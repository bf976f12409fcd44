#include "core/XSemaphore.h"

#include "core/ProcessState.h"
#include "platform/PlatformClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

struct XSemaphore::Handle
{
    explicit Handle(int32_t maximum) : maximumCount(maximum) {}

    std::mutex lock; // guards count
    std::condition_variable countRaised;
    int32_t count = 0;
    const int32_t maximumCount;
};

XSemaphore::XSemaphore(int32_t maximum) : maximumCount(maximum < 1 ? 1 : maximum), ownsHandle(true)
{
    EnsureHandle();
}

XSemaphore::XSemaphore(const XSemaphore& other)
    : handle(other.handle), maximumCount(other.maximumCount), ownsHandle(false)
{
}

XSemaphore::~XSemaphore() = default;

XSemaphore::Handle& XSemaphore::EnsureHandle()
{
    if (handle == nullptr)
    {
        try
        {
            handle = std::make_shared<Handle>(maximumCount);
        }
        catch (const std::bad_alloc&)
        {
            FatalError("CreateSemaphore() failed");
        }
    }
    return *handle;
}

void XSemaphore::Signal()
{
    Handle& state = EnsureHandle();
    {
        std::lock_guard<std::mutex> hold(state.lock);
        if (state.count >= state.maximumCount)
            return;
        ++state.count;
    }
    state.countRaised.notify_one();
}

int32_t XSemaphore::Wait(int32_t timeoutMs)
{
    Handle& state = EnsureHandle();
    std::unique_lock<std::mutex> hold(state.lock);
    const auto available = [&state] { return state.count > 0; };
    if (timeoutMs < 0)
        state.countRaised.wait(hold, available);
    else if (timeoutMs > 0)
    {
        const std::chrono::duration<double, std::milli> realWait(timeoutMs / PlatformClock::GetTimeScale());
        state.countRaised.wait_for(hold, realWait, available);
    }
    if (!available())
        return kTimedOut;
    --state.count;
    return kSignalled;
}
