#include "platform/PlatformCounters.h"

#include <time.h>

namespace
{
constexpr uint64_t kNanosecondsPerSecond = 1000000000u;

uint64_t MonotonicNanoseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * kNanosecondsPerSecond + static_cast<uint64_t>(now.tv_nsec);
}
} // namespace

uint64_t PlatformCounters::PerformanceFrequency()
{
    return kNanosecondsPerSecond;
}

void PlatformCounters::ReadPair(uint64_t& performanceCount, uint64_t& stampCount)
{
    const uint64_t now = MonotonicNanoseconds();
    performanceCount = now;
    stampCount = now;
}

uint64_t PlatformCounters::ReadTimeStampCounter()
{
    return MonotonicNanoseconds();
}
