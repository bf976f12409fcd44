#pragma once

#include <cstdint>

/** The one clock and sleep service of the program: every tick count and every fixed wait goes
    through it, so that tests can run the long waits of the link (hand-shake, bootloader, progress)
    fast by scaling time.

    The tick count is monotonic milliseconds as uint32; it wraps after about 49 days and never reads
    0 (callers use 0 for "never"). Compare ticks with TickIsBefore / TicksSince, never with '<'.

    The time scale is 1 in production. A scale of N makes the tick count advance N times faster
    than real time and every Sleep last 1/N of its length; it is read once from the environment
    variable KRX640_TIME_SCALE and can be changed in-process with SetTimeScale. Thread-safe. */
class PlatformClock final
{
public:
    /** Milliseconds since an arbitrary origin, scaled; never 0. */
    static uint32_t GetTickCount();

    /** Waits ms milliseconds of scaled time (0 yields the processor). */
    static void Sleep(uint32_t ms);

    /** Sets how many times faster than real time the clock runs; values <= 0 are ignored. */
    static void SetTimeScale(double scale);
    static double GetTimeScale();

    /** Wrap-safe tick comparisons: true when tick a lies before tick b. */
    static bool TickIsBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }
    /** Milliseconds elapsed from an earlier tick to a later one, across a wrap. */
    static uint32_t TicksSince(uint32_t earlier, uint32_t now) { return now - earlier; }

    /** Real (unscaled) monotonic microseconds; for measurements, never for protocol waits. */
    static uint64_t GetRealMicroseconds();

    PlatformClock() = delete;
};
