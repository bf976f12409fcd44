#include "core/RegistryAccess.h"

#include "core/IAppIdentity.h"
#include "core/Log.h"
#include "platform/PlatformRegistry.h"

#include <string>
#include <vector>

namespace
{
struct RootName
{
    const char* name;
    uint32_t key;
};

const RootName kRoots[] = {{"HKEY_CLASSES_ROOT", RegistryAccess::kClassesRoot},
                           {"HKEY_CURRENT_USER", RegistryAccess::kCurrentUser},
                           {"HKEY_LOCAL_MACHINE", RegistryAccess::kLocalMachine},
                           {"HKEY_USERS", RegistryAccess::kUsers},
                           {"HKEY_PERFORMANCE_DATA", RegistryAccess::kPerformanceData},
                           {"HKEY_CURRENT_CONFIG", RegistryAccess::kCurrentConfig},
                           {"HKEY_DYN_DATA", RegistryAccess::kDynData}};

/** Opens the store for the running application when nobody has chosen a file yet; without an
    application the store stays in memory. */
void EnsureStoreOpen()
{
    if (!PlatformRegistry::FilePath().empty())
        return;
    if (IAppIdentity* identity = GetAppIdentity())
        RegistryAccess::OpenStore(identity->GetVendorName().CStr(), identity->GetAppName().CStr());
}

std::string TextOf(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}
} // namespace

bool RegistryAccess::OpenStore(const char* vendorName, const char* appName)
{
    std::vector<std::string> unreadable;
    const bool opened = PlatformRegistry::Open(TextOf(vendorName), TextOf(appName), &unreadable);
    for (const std::string& line : unreadable)
        LogFormatted(nullptr, "Settings file %s: cannot read %s (kept as it stands)",
                     PlatformRegistry::FilePath().c_str(), line.c_str());
    return opened;
}

uint32_t RegistryAccess::SplitPath(const char* path, XString& subKey)
{
    const XString whole(path);
    const int separator = whole.FindChar('\\');
    if (separator < 0)
    {
        subKey = XString();
        return GetRootKeyByName(whole.CStr());
    }
    subKey = whole.From(separator + 1);
    return GetRootKeyByName(whole.Left(separator).CStr());
}

uint32_t GetRootKeyByName(const char* name)
{
    const XString text(name);
    for (const RootName& root : kRoots)
        if (text == root.name)
            return root.key;
    return RegistryAccess::kUnknownRoot;
}

bool CreateRegistryKey(uint32_t rootKey, const char* subKey)
{
    EnsureStoreOpen();
    return PlatformRegistry::CreateKey(rootKey, TextOf(subKey));
}

bool RegistryKeyExists(const char* path)
{
    XString subKey;
    const uint32_t root = RegistryAccess::SplitPath(path, subKey);
    if (root == RegistryAccess::kUnknownRoot)
        return false;
    EnsureStoreOpen();
    return PlatformRegistry::KeyExists(root, subKey.CStr());
}

uint32_t ReadRegistryDword(const char* path, const char* valueName, uint32_t defaultValue)
{
    XString subKey;
    const uint32_t root = RegistryAccess::SplitPath(path, subKey);
    if (root == RegistryAccess::kUnknownRoot)
        return defaultValue;
    EnsureStoreOpen();
    uint32_t value = 0;
    return PlatformRegistry::ReadDword(root, subKey.CStr(), TextOf(valueName), value) ? value : defaultValue;
}

void WriteRegistryDword(const char* path, const char* valueName, uint32_t value)
{
    XString subKey;
    uint32_t root = RegistryAccess::SplitPath(path, subKey);
    if (root == RegistryAccess::kUnknownRoot)
    {
        root = RegistryAccess::kLocalMachine;
        subKey = XString(path);
    }
    EnsureStoreOpen();
    PlatformRegistry::WriteDword(root, subKey.CStr(), TextOf(valueName), value);
}

void WriteRegistryString(const char* path, const char* valueName, const char* text)
{
    XString subKey;
    const uint32_t root = RegistryAccess::SplitPath(path, subKey);
    if (root == RegistryAccess::kUnknownRoot)
        return;
    EnsureStoreOpen();
    PlatformRegistry::WriteString(root, subKey.CStr(), TextOf(valueName), TextOf(text));
}
