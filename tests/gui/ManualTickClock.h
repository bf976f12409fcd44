#pragma once

#include "core/ITickClock.h"
#include "support/gui/ViewTestSupport.h"

#include <atomic>
#include <cstdint>

namespace ViewTest
{
/** The test application's timer clock for the object's life: time moves only when the test says,
    so timer periods are checked exactly on a loaded machine. */
class ManualTickClock final : public ITickClock
{
public:
    ManualTickClock() { Application().SetTickClock(this); }
    ~ManualTickClock() override { Application().SetTickClock(nullptr); }
    ManualTickClock(const ManualTickClock&) = delete;
    ManualTickClock& operator=(const ManualTickClock&) = delete;

    uint32_t GetTickCount() override { return now.load(); }
    /** Moves time on by ms and lets the timers that fall due fire. */
    void Advance(uint32_t ms)
    {
        now += ms;
        Pump();
    }

    std::atomic<uint32_t> now{100000};
};
} // namespace ViewTest
