#include "core/IAppServices.h"

#include "core/DefaultAppServices.h"

#include <atomic>

namespace
{
std::atomic<IAppServices*> registeredServices{nullptr};

DefaultAppServices& Defaults()
{
    // Never destroyed: parameters may ask for services during static destruction.
    static auto* defaults = new DefaultAppServices();
    return *defaults;
}
} // namespace

void SetAppServices(IAppServices* services)
{
    registeredServices.store(services, std::memory_order_release);
}

IAppServices& GetAppServices()
{
    IAppServices* services = registeredServices.load(std::memory_order_acquire);
    return services != nullptr ? *services : Defaults();
}

bool IsEmptyPresetName(const XString& name)
{
    if (name.CharAt(0) != '?')
        return false;
    for (int index = 1; index < name.Length(); ++index)
        if (name.CharAt(static_cast<unsigned>(index)) != ' ')
            return false;
    return true;
}
