#include "platform/PlatformSystemInfo.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr const char* kDocumentsKey = "XDG_DOCUMENTS_DIR";
constexpr size_t kHostNameSize = 256;
constexpr mode_t kNewFolderMode = 0700; // settings and logs are the user's own

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

/** The folder that a user-dirs.dirs line such as XDG_DOCUMENTS_DIR="$HOME/Documents" names; empty
    when the line is for another key or names no absolute path. */
std::string FolderOfUserDirsLine(const std::string& line, const std::string& key, const std::string& home)
{
    std::string text = Trim(line);
    if (text.compare(0, key.size(), key) != 0)
        return {};
    text = Trim(text.substr(key.size()));
    if (text.empty() || text[0] != '=')
        return {};
    text = Trim(text.substr(1));
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    const std::string homeVariable = "$HOME";
    if (text.compare(0, homeVariable.size(), homeVariable) == 0)
        text = home + text.substr(homeVariable.size());
    return !text.empty() && text[0] == '/' ? text : std::string();
}
} // namespace

std::string PlatformSystemInfo::HostName()
{
    char name[kHostNameSize + 1] = {};
    if (::gethostname(name, kHostNameSize) != 0)
        return {};
    return name;
}

std::string PlatformSystemInfo::ExecutablePath()
{
    std::vector<char> path(PATH_MAX + 1);
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), PATH_MAX);
    if (length <= 0)
        return {};
    return std::string(path.data(), static_cast<size_t>(length));
}

std::string PlatformSystemInfo::HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    std::vector<char> scratch(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

std::string PlatformSystemInfo::ConfigFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
        return config;
    const std::string home = HomeFolder();
    return home.empty() ? std::string("/tmp") : home + "/.config";
}

std::string PlatformSystemInfo::DocumentsFolder()
{
    const std::string home = HomeFolder();
    std::ifstream userDirs(ConfigFolder() + "/user-dirs.dirs");
    std::string line;
    while (std::getline(userDirs, line))
    {
        const std::string folder = FolderOfUserDirsLine(line, kDocumentsKey, home);
        if (IsFolder(folder))
            return folder;
    }
    return home + "/Documents";
}

std::string PlatformSystemInfo::TempFolder()
{
    std::string folder = "/tmp";
    if (const char* temp = std::getenv("TMPDIR"); temp != nullptr && *temp != '\0')
        folder = temp;
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

PlatformSystemInfo::LocalTime PlatformSystemInfo::GetLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    LocalTime local;
    if (::localtime_r(&now, &parts) == nullptr)
        return local;
    local.monthIndex = parts.tm_mon;
    local.day = parts.tm_mday;
    local.year = parts.tm_year + 1900;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    return local;
}

bool PlatformSystemInfo::MakeFolders(const std::string& path)
{
    if (path.empty())
        return false;
    for (size_t cut = path.find('/', 1);; cut = path.find('/', cut + 1))
    {
        const std::string part = path.substr(0, cut);
        if (::mkdir(part.c_str(), kNewFolderMode) != 0 && !IsFolder(part))
            return false;
        if (cut == std::string::npos)
            return true;
    }
}
