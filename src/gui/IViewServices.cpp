#include "gui/IViewServices.h"

#include <atomic>

namespace
{
IViewServices defaultServices;
std::atomic<IViewServices*> installedServices{nullptr};
} // namespace

bool IViewServices::IsCursorShown()
{
    return true;
}

bool IViewServices::IsWaitCursorOn()
{
    return false;
}

void IViewServices::InspectorSelectView(XView*) {}

void IViewServices::InspectorAddProperty(XPropertyList*, const char*, const char*, const char*) {}

void IViewServices::BuildDescription(const char*, XView*) {}

IViewServices& IViewServices::Get()
{
    IViewServices* services = installedServices.load();
    return services != nullptr ? *services : defaultServices;
}

IViewServices* IViewServices::Set(IViewServices* services)
{
    return installedServices.exchange(services);
}
