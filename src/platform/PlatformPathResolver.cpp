#include "platform/PlatformPathResolver.h"

#include <algorithm>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace
{
bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

/** The entry of folder that equals name regardless of case, first in byte order; "" when none. */
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name)
{
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr)
        return std::string();
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(listing))
        if (::strcasecmp(entry->d_name, name.c_str()) == 0)
            matches.emplace_back(entry->d_name);
    ::closedir(listing);
    if (matches.empty())
        return std::string();
    return *std::min_element(matches.begin(), matches.end());
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}
} // namespace

std::string PlatformPathResolver::ResolveIgnoringCase(const std::string& path)
{
    std::string systemPath = path;
    std::replace(systemPath.begin(), systemPath.end(), '\\', '/');
    if (systemPath.empty() || Exists(systemPath))
        return systemPath;

    std::string resolved = systemPath[0] == '/' ? "/" : "";
    size_t start = 0;
    while (start < systemPath.size())
    {
        size_t end = systemPath.find('/', start);
        if (end == std::string::npos)
            end = systemPath.size();
        const std::string component = systemPath.substr(start, end - start);
        start = end + 1;
        // Empty components (doubled separators), "." and ".." are kept as they are.
        if (component.empty() || component == "." || component == "..")
        {
            if (!component.empty())
                resolved = Join(resolved, component);
            continue;
        }
        const std::string exact = Join(resolved, component);
        if (Exists(exact))
        {
            resolved = exact;
            continue;
        }
        const std::string match = FindEntryIgnoringCase(resolved, component);
        if (match.empty())
        {
            // Nothing matches: keep the rest as written.
            resolved = exact;
            if (start < systemPath.size())
                resolved += "/" + systemPath.substr(start);
            return resolved;
        }
        resolved = Join(resolved, match);
    }
    if (systemPath.back() == '/' && !resolved.empty() && resolved.back() != '/')
        resolved += '/';
    return resolved;
}

bool PlatformPathResolver::IsExistingFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
