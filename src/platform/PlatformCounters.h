#pragma once

#include <cstdint>

/** The two fine-grained counters that the core's clock calibration reads: a performance counter of
    known frequency and a time-stamp counter whose rate is measured against it. On this system both
    count nanoseconds of the monotonic clock that PlatformClock's real time also reads (unscaled),
    and ReadPair takes both from one reading, so a calibration is exact however the thread is
    scheduled. Thread-safe. */
class PlatformCounters final
{
public:
    /** Counts per second of the performance counter; 0 would mean there is none. */
    static uint64_t PerformanceFrequency();
    /** Reads the performance counter and the time-stamp counter together. */
    static void ReadPair(uint64_t& performanceCount, uint64_t& stampCount);
    static uint64_t ReadTimeStampCounter();

    PlatformCounters() = delete;
};
