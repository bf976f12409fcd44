#include "core/SystemInfo.h"

#include <mutex>

namespace
{
constexpr int kMaxHostNameLength = 255;

struct SystemTexts
{
    std::mutex lock; // guards both texts
    XString hostName{kDefaultHostName};
    XString systemFolder;
};

SystemTexts& Texts()
{
    static SystemTexts texts;
    return texts;
}
} // namespace

void InitHostName()
{
    const std::string name = PlatformSystemInfo::HostName();
    if (name.empty())
        return;
    auto& texts = Texts();
    std::lock_guard<std::mutex> hold(texts.lock);
    texts.hostName = XString(name.c_str(), kMaxHostNameLength);
}

XString GetHostName()
{
    auto& texts = Texts();
    std::lock_guard<std::mutex> hold(texts.lock);
    return texts.hostName;
}

LocalTimeParts GetLocalTimeParts()
{
    return PlatformSystemInfo::GetLocalTime();
}

bool IsEmbeddedSystem()
{
    return false;
}

bool GetSpecialFolderPath(XString& out, int folderId)
{
    out = folderId == kDocumentsFolderId ? PlatformSystemInfo::DocumentsFolder().c_str() : "";
    return !out.IsEmpty();
}

XString GetDocumentsFolderPath()
{
    XString folder;
    GetSpecialFolderPath(folder, kDocumentsFolderId);
    return folder;
}

XString GetTempFolderPath()
{
    return XString(PlatformSystemInfo::TempFolder().c_str());
}

XString GetExecutableFilePath()
{
    return XString(PlatformSystemInfo::ExecutablePath().c_str());
}

XString GetExecutableFolderPath()
{
    const std::string path = PlatformSystemInfo::ExecutablePath();
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return XString();
    return XString(path.substr(0, slash == 0 ? 1 : slash).c_str());
}

void SetSystemFolder(const XString& path)
{
    auto& texts = Texts();
    std::lock_guard<std::mutex> hold(texts.lock);
    texts.systemFolder = path;
}

XString GetSystemFolder()
{
    auto& texts = Texts();
    std::lock_guard<std::mutex> hold(texts.lock);
    return texts.systemFolder;
}
