#pragma once

#include <cstdint>
#include <functional>

/** The core's high-resolution clock: a time-stamp counter whose rate is measured once against the
    performance counter of known frequency (CalibrateClock), giving milliseconds since the
    calibration with microsecond resolution. It measures real time: the time scale of
    PlatformClock does not apply. Thread-safe; calibrates itself on first use when nobody has. */

/** Where MeasureCpuFrequency reads its counters: the performance counter's frequency (counts per
    second) and a reading of both counters taken together. */
struct CounterSource
{
    uint64_t frequency = 0;
    std::function<void(uint64_t& performanceCount, uint64_t& stampCount)> readPair;
};

/** Time-stamp counts per second, measured over three passes of at least 600000 performance-counter
    counts each; 0 when the source has no counter (frequency 0). */
uint64_t MeasureCpuFrequency(const CounterSource& source);
/** The same over this system's counters. */
uint64_t MeasureCpuFrequency();
/** Whole time-stamp counts per microsecond of a rate, in 64 bits; at least 1. */
uint32_t TicksPerMicrosecondOf(uint64_t ticksPerSecond);

/** Measures the rate and starts the elapsed time at 0; each call sets a new base. */
void CalibrateClock();
/** Milliseconds since the last calibration, microsecond resolution. */
double GetElapsedMs();
/** The calibrated time-stamp counts per microsecond. */
uint32_t GetTicksPerMicrosecond();
/** The current time-stamp counter. */
uint64_t ReadTimeStampCounter();
