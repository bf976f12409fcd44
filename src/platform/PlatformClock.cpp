#include "platform/PlatformClock.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace
{
using SteadyClock = std::chrono::steady_clock;

/** Scaled time is continuous across scale changes: it restarts counting from the scaled time
    reached at the moment of the change. */
struct ScaledTimeBase
{
    std::mutex lock; // guards every field
    double scale = 1.0;
    SteadyClock::time_point realOrigin = SteadyClock::now();
    double scaledMsAtOrigin = 0.0;

    ScaledTimeBase()
    {
        if (const char* text = std::getenv("KRX640_TIME_SCALE"))
        {
            const double fromEnvironment = std::strtod(text, nullptr);
            if (fromEnvironment > 0.0)
                scale = fromEnvironment;
        }
        // Start well away from 0 so that a tick never reads 0 early on, as on a machine that has run a while.
        scaledMsAtOrigin = static_cast<double>(
            std::chrono::duration_cast<std::chrono::milliseconds>(realOrigin.time_since_epoch()).count() %
                0x40000000u +
            1000);
    }

    double ScaledNowMs()
    {
        const double realElapsedMs =
            std::chrono::duration<double, std::milli>(SteadyClock::now() - realOrigin).count();
        return scaledMsAtOrigin + realElapsedMs * scale;
    }
};

ScaledTimeBase& TimeBase()
{
    static ScaledTimeBase base;
    return base;
}
} // namespace

uint32_t PlatformClock::GetTickCount()
{
    auto& base = TimeBase();
    std::lock_guard<std::mutex> hold(base.lock);
    const auto tick = static_cast<uint32_t>(static_cast<uint64_t>(base.ScaledNowMs()));
    return tick == 0 ? 1 : tick;
}

void PlatformClock::Sleep(uint32_t ms)
{
    if (ms == 0)
    {
        std::this_thread::yield();
        return;
    }
    const double realMs = ms / GetTimeScale();
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(realMs));
}

void PlatformClock::SetTimeScale(double scale)
{
    if (!(scale > 0.0))
        return;
    auto& base = TimeBase();
    std::lock_guard<std::mutex> hold(base.lock);
    base.scaledMsAtOrigin = base.ScaledNowMs();
    base.realOrigin = SteadyClock::now();
    base.scale = scale;
}

double PlatformClock::GetTimeScale()
{
    auto& base = TimeBase();
    std::lock_guard<std::mutex> hold(base.lock);
    return base.scale;
}

uint64_t PlatformClock::GetRealMicroseconds()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now().time_since_epoch()).count());
}
