#include "core/CoreModules.h"

#include <mutex>
#include <vector>

namespace
{
struct ModuleList
{
    std::mutex lock; // guards every field
    std::vector<XCoreModule> modules;
    bool initialised = false;
};

/** Never destroyed: the exit sequence may run while static objects are torn down. */
ModuleList& List()
{
    static auto* list = new ModuleList();
    return *list;
}
} // namespace

void AddCoreModule(const XCoreModule& module)
{
    ModuleList& list = List();
    std::lock_guard<std::mutex> hold(list.lock);
    list.modules.push_back(module);
}

void RunModuleInits()
{
    ModuleList& list = List();
    std::lock_guard<std::mutex> hold(list.lock);
    if (list.initialised)
        return;
    list.initialised = true;
    for (const auto& module : list.modules)
        if (module.init != nullptr)
            module.init();
}

void RunModuleExits()
{
    ModuleList& list = List();
    std::lock_guard<std::mutex> hold(list.lock);
    if (!list.initialised)
        return;
    for (const auto& module : list.modules)
        if (module.exit != nullptr)
            module.exit();
    list.initialised = false;
}

void FreeModuleList()
{
    ModuleList& list = List();
    std::lock_guard<std::mutex> hold(list.lock);
    list.modules.clear();
    list.modules.shrink_to_fit();
}

int CountCoreModules()
{
    ModuleList& list = List();
    std::lock_guard<std::mutex> hold(list.lock);
    return static_cast<int>(list.modules.size());
}
