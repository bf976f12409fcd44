#include "core/ICommandRunner.h"

#include <atomic>

namespace
{
std::atomic<ICommandRunner*> registeredRunner{nullptr};
}

void SetCommandRunner(ICommandRunner* runner)
{
    registeredRunner.store(runner, std::memory_order_release);
}

ICommandRunner* GetCommandRunner()
{
    return registeredRunner.load(std::memory_order_acquire);
}
