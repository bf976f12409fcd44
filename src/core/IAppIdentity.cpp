#include "core/IAppIdentity.h"

#include <atomic>

namespace
{
std::atomic<IAppIdentity*> registeredIdentity{nullptr};
}

void SetAppIdentity(IAppIdentity* identity)
{
    registeredIdentity.store(identity, std::memory_order_release);
}

IAppIdentity* GetAppIdentity()
{
    return registeredIdentity.load(std::memory_order_acquire);
}
