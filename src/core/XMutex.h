#pragma once

#include "core/IThreadLock.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

/** A recursive critical section with a hold count: the owning thread may lock it again and must
    unlock it as often. An Unlock by a thread that does not hold the lock (or at hold count 0) does
    nothing, so a stray unlock can never release another thread's hold.

    IsLocked is a hint for other threads: true while the hold count is not 0. */
class XMutex : public IThreadLock
{
public:
    XMutex() = default;
    XMutex(const XMutex&) = delete;
    XMutex& operator=(const XMutex&) = delete;
    ~XMutex() override;

    void Lock() override;
    void Unlock() override;
    bool IsLocked() const override;

    /** Holds of the lock by its owner; 0 when free. */
    int32_t GetHoldCount() const { return holdCount.load(); }

private:
    std::recursive_mutex criticalSection;
    std::atomic<int32_t> holdCount{0};    // written only by the owning thread
    std::atomic<std::thread::id> owner{}; // the holding thread; default id when free
};
