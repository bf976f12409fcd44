#include "core/XTickTimer.h"

#include "core/CpuClock.h"

void XTickTimer::Start()
{
    startCount = ReadTimeStampCounter();
}

uint32_t XTickTimer::ElapsedMicros() const
{
    return MicrosOf(ReadTimeStampCounter() - startCount, GetTicksPerMicrosecond());
}

uint32_t XTickTimer::MicrosOf(uint64_t counterDifference, uint32_t ticksPerMicrosecond)
{
    if (ticksPerMicrosecond == 0 || (counterDifference >> 32) >= ticksPerMicrosecond)
        return kOverflow;
    return static_cast<uint32_t>(counterDifference / ticksPerMicrosecond);
}
