#include "files/DriveRoots.h"

#include "platform/PlatformFileSystem.h"

#include <string>

namespace
{
std::string Slashed(const XString& path)
{
    std::string text(path.CStr());
    for (char& c : text)
    {
        if (c == '\\')
            c = '/';
    }
    return text;
}

std::string WithTrailingSlash(std::string text)
{
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}
} // namespace

bool PathLiesUnder(const XString& path, const XString& folder)
{
    if (path.IsEmpty() || folder.IsEmpty())
        return false;
    const std::string inside = WithTrailingSlash(Slashed(path));
    const std::string above = WithTrailingSlash(Slashed(folder));
    return inside.compare(0, above.size(), above) == 0;
}

XString DriveRootOf(const XString& path)
{
    if (path.IsEmpty())
        return XString();
    std::string best = "/";
    for (const PlatformFileSystem::DriveRoot& drive : PlatformFileSystem::GetDriveRoots())
    {
        const std::string root = WithTrailingSlash(drive.mountPoint);
        if (root.size() > best.size() && PathLiesUnder(path, XString(root.c_str())))
            best = root;
    }
    XString root(best.c_str());
    root.ReplaceChar('/', '\\');
    return root;
}
