#include "InstallerClock.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{
double ReadTimeScale()
{
    if (const char* text = std::getenv("KRX640_TIME_SCALE"))
    {
        char* end = nullptr;
        const double fromEnvironment = std::strtod(text, &end);
        if (end != text && fromEnvironment > 0.0)
            return fromEnvironment;
    }
    return 1.0;
}
} // namespace

double InstallerClock::GetTimeScale()
{
    static const double scale = ReadTimeScale();
    return scale;
}

void InstallerClock::Sleep(uint32_t ms)
{
    if (ms == 0)
    {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms / GetTimeScale()));
}
