#include "device/InputChansLinked.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/ChannelLinking.h"

namespace
{
constexpr const char* kSourcePaths[] = {"QM7_KOVA\\globalEditMode", "preset\\CurrentConfig"};
} // namespace

double InputChansLinkedValue(XParam* /*param*/, double /*stored*/, int32_t /*user*/)
{
    if (!AreChannelPairsLinked())
        return 0.0;
    // Paired inputs have nothing to link by hand: the link windows close.
    IAppServices& services = GetAppServices();
    for (int32_t id : InputChansLinked::kLinkWindowParamIds)
        services.GetParam(id)->SetValue(0.0, true);
    return 1.0;
}

bool InputChansLinked::Install()
{
    XParam* linked = ParamRegistry::Find(kPath);
    if (linked == nullptr)
        return false;
    linked->SetValueMapCallback(InputChansLinkedValue, 0);
    // A parameter that watches another passes the other's notifications on to its own watchers.
    for (const char* path : kSourcePaths)
        if (XParam* source = ParamRegistry::Find(path);
            source != nullptr && !source->IsWatchedBy(linked, kSourceKey))
            source->AddWatcher(linked, kSourceKey, false);
    return true;
}
