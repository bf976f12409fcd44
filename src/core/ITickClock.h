#pragma once

#include <cstdint>

/** A source of millisecond tick counts for code that schedules by time (the loopers' timers). The
    program uses the platform clock (Platform()); tests inject a clock of their own to drive time
    exactly, including past the wrap at 0xFFFFFFFF. Ticks wrap: compare them with
    PlatformClock::TickIsBefore, never with '<'. Implementations must be callable from any thread. */
class ITickClock
{
public:
    virtual ~ITickClock() = default;

    virtual uint32_t GetTickCount() = 0;

    /** The clock over PlatformClock::GetTickCount; lives for the whole process. */
    static ITickClock& Platform();
};
