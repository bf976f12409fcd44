#include "core/XRegistrySettings.h"

#include "core/IAppIdentity.h"
#include "core/RegistryAccess.h"

namespace
{
constexpr const char* kSoftwareKey = "HKEY_LOCAL_MACHINE\\SOFTWARE";

void AppendPart(XString& key, const XString& part)
{
    if (part.IsEmpty())
        return;
    if (part.CharAt(0) != '\\')
        key += '\\';
    key += part;
}
} // namespace

XRegistrySettings::XRegistrySettings(const char* vendor, const char* application)
    : vendorName(vendor), applicationName(application)
{
    IAppIdentity* identity = GetAppIdentity();
    if (vendorName.IsEmpty() && identity != nullptr)
        vendorName = identity->GetVendorName();
    if (applicationName.IsEmpty() && identity != nullptr)
        applicationName = identity->GetAppName();
}

void XRegistrySettings::PushKey(const char* name)
{
    if (!subKey.IsEmpty())
        subKey += '\\';
    subKey += name;
}

void XRegistrySettings::PopKey()
{
    const int separator = subKey.FindLast("\\");
    subKey = separator < 0 ? XString() : subKey.Left(separator);
}

int32_t XRegistrySettings::ReadInt(const char* name, int32_t defaultValue) const
{
    return static_cast<int32_t>(
        ReadRegistryDword(GetFullKey().CStr(), name, static_cast<uint32_t>(defaultValue)));
}

bool XRegistrySettings::ReadBool(const char* name, bool defaultValue) const
{
    return ReadRegistryDword(GetFullKey().CStr(), name, defaultValue ? 1u : 0u) != 0;
}

void XRegistrySettings::WriteInt(const char* name, int32_t value)
{
    WriteRegistryDword(GetFullKey().CStr(), name, static_cast<uint32_t>(value));
}

void XRegistrySettings::WriteBool(const char* name, bool value)
{
    WriteRegistryDword(GetFullKey().CStr(), name, value ? 1u : 0u);
}

XString XRegistrySettings::GetFullKey() const
{
    XString key(kSoftwareKey);
    AppendPart(key, vendorName);
    AppendPart(key, applicationName);
    AppendPart(key, subKey);
    return key;
}
