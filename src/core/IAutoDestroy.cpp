#include "core/IAutoDestroy.h"

#include "core/GenericList.h"
#include "core/XMutex.h"
#include "core/XSmartLock.h"

namespace
{
struct AutoDestroyRegistry
{
    XMutex lock;                 // guards objects
    XList<IAutoDestroy> objects; // newest first; not owned
};

/** Never destroyed: objects may unregister while static objects are torn down. */
AutoDestroyRegistry& Registry()
{
    static auto* registry = new AutoDestroyRegistry();
    return *registry;
}
} // namespace

IAutoDestroy::IAutoDestroy()
{
    AutoDestroyRegistry& registry = Registry();
    XSmartLock hold(registry.lock);
    registry.objects.AddHead(this);
}

IAutoDestroy::~IAutoDestroy()
{
    AutoDestroyRegistry& registry = Registry();
    XSmartLock hold(registry.lock);
    registry.objects.Remove(this);
}

int32_t CountAutoDestroyObjects()
{
    AutoDestroyRegistry& registry = Registry();
    XSmartLock hold(registry.lock);
    return registry.objects.GetCount();
}

IAutoDestroy* GetAutoDestroyObject(int32_t index)
{
    AutoDestroyRegistry& registry = Registry();
    XSmartLock hold(registry.lock);
    return index < 0 ? nullptr : registry.objects.GetAt(static_cast<unsigned>(index));
}
