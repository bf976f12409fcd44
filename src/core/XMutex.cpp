#include "core/XMutex.h"

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// The hold count and the owner are written only by the thread that holds the critical section, which
// orders those writes; other threads only read them as hints (IsLocked) or to see that they are not
// the owner, which a thread always sees correctly for itself. Relaxed order is enough.

XMutex::~XMutex()
{
#if defined(__SANITIZE_THREAD__)
    // The standard library does not tell the thread checker that a recursive mutex is gone, so a
    // later lock at the same address would be taken for this one and join its lock orders.
    __tsan_mutex_destroy(&criticalSection, 0);
#endif
}

void XMutex::Lock()
{
    criticalSection.lock();
    if (holdCount.load(std::memory_order_relaxed) == 0)
        owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    holdCount.fetch_add(1, std::memory_order_relaxed);
}

void XMutex::Unlock()
{
    // Only the holder may leave; anything else would release a critical section it does not own.
    if (owner.load(std::memory_order_relaxed) != std::this_thread::get_id() ||
        holdCount.load(std::memory_order_relaxed) == 0)
        return;
    if (holdCount.fetch_sub(1, std::memory_order_relaxed) == 1)
        owner.store(std::thread::id(), std::memory_order_relaxed);
    criticalSection.unlock();
}

bool XMutex::IsLocked() const
{
    return holdCount.load(std::memory_order_relaxed) != 0;
}
