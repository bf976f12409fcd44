#include "core/ParamRegistry.h"

#include "core/XRegistry.h"

#include <cstdarg>
#include <mutex>

namespace
{
/** The global tree and its lock. Nothing is called out of the registry while the lock is held, so it
    may be taken under the parameter lock. */
struct GlobalRegistry
{
    std::mutex lock;
    XRegistry<XParam> tree; // guarded by lock
};

GlobalRegistry& Global()
{
    static GlobalRegistry* registry = new GlobalRegistry(); // lives until the process ends
    return *registry;
}
} // namespace

bool ParamRegistry::Register(XParam* param, const XString& path)
{
    if (param == nullptr)
        return false;
    GlobalRegistry& registry = Global();
    std::lock_guard<std::mutex> hold(registry.lock);
    return registry.tree.AddPath(param, "%s", path.CStr()) == 0;
}

bool ParamRegistry::Unregister(XParam* param, const XString& path)
{
    if (param == nullptr || path.IsEmpty())
        return false;
    GlobalRegistry& registry = Global();
    std::lock_guard<std::mutex> hold(registry.lock);
    return registry.tree.Remove(path.ToLower(), param) != nullptr;
}

XParam* ParamRegistry::Find(const char* path)
{
    if (path == nullptr || path[0] == 0)
        return nullptr;
    GlobalRegistry& registry = Global();
    std::lock_guard<std::mutex> hold(registry.lock);
    return registry.tree.Find(path);
}

XParam* FindParam(const char* format, ...)
{
    if (format == nullptr || format[0] == 0)
        return nullptr;
    va_list args;
    va_start(args, format);
    XString path;
    const bool formatted = RegistryPath::FormatV(path, format, args);
    va_end(args);
    return formatted ? ParamRegistry::Find(path.CStr()) : nullptr;
}
