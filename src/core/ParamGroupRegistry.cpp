#include "core/ParamGroupRegistry.h"

#include "core/XApplication.h"
#include "core/XParamGroup.h"
#include "core/XPrefDoc.h"
#include "core/XResult.h"

#include <cstdarg>
#include <memory>

namespace
{

/** Formats the path once and registers group there; the formatted text is not formatted again. */
int32_t RegisterFormattedV(XRegistry<XParamGroup>& registry, XParamGroup* group, const char* format,
                           va_list args)
{
    if (group == nullptr)
        return XResult::kFailed;
    XString path;
    if (!RegistryPath::FormatV(path, format, args))
        return XResult::kFailed;
    return registry.AddPath(group, "%s", path.CStr());
}

/** The application's preferences document, made for it when it has none. Null when the
    application holds another kind of preferences document. */
XPrefDoc* PrefDocOf(XApplication* application)
{
    if (application->GetPrefDocument() == nullptr)
        application->SetPrefDocument(std::make_unique<XPrefDoc>());
    return dynamic_cast<XPrefDoc*>(application->GetPrefDocument());
}
} // namespace

XRegistry<XParamGroup>& GetParamGroupRegistry()
{
    // Never destroyed: groups may be registered by objects that outlive static destruction.
    static auto* registry = new XRegistry<XParamGroup>();
    return *registry;
}

int32_t RegisterParamGroupPath(XRegistry<XParamGroup>& registry, XParamGroup* group, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t result = RegisterFormattedV(registry, group, format, args);
    va_end(args);
    return result;
}

int32_t RegisterParamGroup(XApplication* application, XParamGroup* group, const char* format, ...)
{
    if (group == nullptr)
        return XResult::kFailed;
    va_list args;
    va_start(args, format);
    RegisterFormattedV(GetParamGroupRegistry(), group, format, args);
    va_end(args);
    if (application != nullptr)
        if (XPrefDoc* preferences = PrefDocOf(application))
            preferences->AddGroup(group);
    return 0;
}
