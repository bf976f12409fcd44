#include "core/ProcessState.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace
{
std::atomic<bool> shuttingDown{false};
}

bool IsShuttingDown()
{
    return shuttingDown.load(std::memory_order_acquire);
}

void SetShuttingDown()
{
    shuttingDown.store(true, std::memory_order_release);
}

void FatalError(const char* reason)
{
    std::fprintf(stderr, "Fatal error: %s\n", reason != nullptr ? reason : "");
    std::fflush(stderr);
    std::_Exit(kFatalErrorExitCode);
}
