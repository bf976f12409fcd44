#include "core/XMutex.h"

void XMutex::Lock()
{
    criticalSection.lock();
    if (holdCount.load() == 0)
        owner.store(std::this_thread::get_id());
    holdCount.fetch_add(1);
}

void XMutex::Unlock()
{
    // Only the holder may leave; anything else would release a critical section it does not own.
    if (owner.load() != std::this_thread::get_id() || holdCount.load() == 0)
        return;
    if (holdCount.fetch_sub(1) == 1)
        owner.store(std::thread::id());
    criticalSection.unlock();
}

bool XMutex::IsLocked() const
{
    return holdCount.load() != 0;
}
