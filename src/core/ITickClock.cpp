#include "core/ITickClock.h"

#include "platform/PlatformClock.h"

namespace
{
class PlatformTickClock final : public ITickClock
{
public:
    uint32_t GetTickCount() override { return PlatformClock::GetTickCount(); }
};
} // namespace

ITickClock& ITickClock::Platform()
{
    static PlatformTickClock clock;
    return clock;
}
