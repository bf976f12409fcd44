#pragma once

#include <cstdint>

/** The installer's sleep service. The time scale is read once from the environment variable
    KRX640_TIME_SCALE (1 unless set to a positive number); a scale of N makes every sleep last
    1/N of its length, so tests run the long pauses quickly. Thread-safe. */
class InstallerClock final
{
public:
    static void Sleep(uint32_t ms);
    static double GetTimeScale();

    InstallerClock() = delete;
};
