#pragma once

#include <cstdint>

/** A stopwatch on the processor's time-stamp counter, converted with the calibrated counts per
    microsecond of the core clock (CpuClock.h). A plain value: copy it, use it on any thread. */
class XTickTimer
{
public:
    /** What ElapsedMicros gives when the time does not fit 32 bits. */
    static constexpr uint32_t kOverflow = 0xFFFFFFFFu;

    /** Stores the current counter. */
    void Start();
    /** Microseconds since Start, or kOverflow. */
    uint32_t ElapsedMicros() const;

    /** counterDifference / ticksPerMicrosecond, or kOverflow when the quotient needs more than 32
        bits (the difference's high half is not below the divisor) or the divisor is 0. */
    static uint32_t MicrosOf(uint64_t counterDifference, uint32_t ticksPerMicrosecond);

private:
    uint64_t startCount = 0;
};
