#pragma once

#include <cstdint>
#include <memory>

/** A counting semaphore with a maximum count and a timed wait with coded results.

    A new semaphore starts at count 0 and owns its state; a copy shares that state without owning it,
    and the state lives as long as any semaphore shares it, so a copy never waits on freed memory.
    All operations are thread-safe. Time-outs are in the platform clock's scaled milliseconds. */
class XSemaphore
{
public:
    /** Wait results. */
    static constexpr int32_t kSignalled = 0;
    static constexpr int32_t kAbandoned = 1;
    static constexpr int32_t kTimedOut = 2;
    static constexpr int32_t kFailed = 3;
    /** A time-out that never ends (any negative value waits without limit). */
    static constexpr int32_t kWaitForever = -1;

    /** A maximum below 1 is taken as 1. */
    explicit XSemaphore(int32_t maximumCount);
    XSemaphore(const XSemaphore& other);
    XSemaphore& operator=(const XSemaphore&) = delete;
    virtual ~XSemaphore();

    /** Raises the count by one; at the maximum count nothing changes. */
    void Signal();
    /** Waits until the count is above 0 and takes one, or until timeoutMs pass. 0 tests without
        waiting. Returns kSignalled or kTimedOut. */
    int32_t Wait(int32_t timeoutMs);

    int32_t GetMaximumCount() const { return maximumCount; }
    bool OwnsHandle() const { return ownsHandle; }

private:
    struct Handle;

    /** Makes the state when there is none yet; ends the process when that fails. */
    Handle& EnsureHandle();

    std::shared_ptr<Handle> handle;
    int32_t maximumCount;
    bool ownsHandle;
};
