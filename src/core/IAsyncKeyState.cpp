#include "core/IAsyncKeyState.h"

#include <atomic>

namespace
{
std::atomic<IAsyncKeyState*> installedState{nullptr};
}

void InstallAsyncKeyState(IAsyncKeyState* state)
{
    installedState.store(state, std::memory_order_release);
}

IAsyncKeyState* GetInstalledAsyncKeyState()
{
    return installedState.load(std::memory_order_acquire);
}
