#include "platform/PlatformFileTree.h"

#include "platform/PlatformFile.h"
#include "platform/PlatformFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using FS = PlatformFileSystem;

/** The permissions of folders made without a model: everything, less the process's mask. */
constexpr mode_t kNewFolderMode = 0777;

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string SystemPath(const char* path)
{
    return WithoutTrailingSlashes(PlatformFile::ToSystemPath(path));
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool LinkStat(const std::string& path, struct stat& info)
{
    return ::lstat(path.c_str(), &info) == 0;
}

/** The names in a folder, "." and ".." left out; false when it cannot be read. */
bool ReadNames(const std::string& folder, std::vector<std::string>& names)
{
    DIR* stream = ::opendir(folder.c_str());
    if (stream == nullptr)
        return false;
    while (dirent* item = ::readdir(stream))
    {
        const std::string name(item->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(stream);
    return true;
}

/** The absolute, link-free form of a path that may not exist yet: its longest existing beginning
    resolved, the rest appended as written. */
std::string ResolvedLeniently(const std::string& path)
{
    if (char* resolved = ::realpath(path.c_str(), nullptr))
    {
        std::string result(resolved);
        std::free(resolved);
        return result;
    }
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return Join(FS::CurrentFolder(), path);
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    return Join(ResolvedLeniently(parent), path.substr(slash + 1));
}

/** True when target is the folder itself or lies anywhere inside it. */
bool IsWithin(const std::string& folder, const std::string& target)
{
    const std::string outer = ResolvedLeniently(folder);
    const std::string inner = ResolvedLeniently(target);
    if (outer == "/" || inner == outer)
        return true;
    return inner.compare(0, outer.size() + 1, outer + "/") == 0;
}

std::string ReadLink(const std::string& path, const struct stat& info)
{
    // Some file systems report a size of 0 for links: grow until the text fits.
    size_t size = info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 256;
    for (;;)
    {
        std::string text(size, '\0');
        const ssize_t got = ::readlink(path.c_str(), &text[0], size);
        if (got < 0)
            return std::string();
        if (static_cast<size_t>(got) < size)
            return text.substr(0, static_cast<size_t>(got));
        size *= 2;
    }
}

int32_t CopyLink(const std::string& from, const struct stat& info, const std::string& to)
{
    const std::string text = ReadLink(from, info);
    struct stat existing
    {
    };
    if (text.empty())
        return FS::kFailed;
    if (LinkStat(to, existing) && (S_ISDIR(existing.st_mode) || ::unlink(to.c_str()) != 0))
        return FS::kFailed;
    return ::symlink(text.c_str(), to.c_str()) == 0 ? FS::kOk : FS::kFailed;
}

int32_t CopyItem(const std::string& from, const std::string& to)
{
    struct stat source
    {
    };
    struct stat existing
    {
    };
    if (!LinkStat(from, source))
        return FS::kFailed;
    const bool targetExists = LinkStat(to, existing);
    if (S_ISLNK(source.st_mode))
        return CopyLink(from, source, to);
    if (S_ISREG(source.st_mode))
    {
        if (targetExists && S_ISDIR(existing.st_mode))
            return FS::kFailed;
        return FS::CopyFileAtSystemPath(from, to, false);
    }
    if (!S_ISDIR(source.st_mode))
        return FS::kFailed; // pipes, sockets and devices have no content to copy
    if (targetExists && !S_ISDIR(existing.st_mode))
        return FS::kFailed;
    if (!targetExists && ::mkdir(to.c_str(), (source.st_mode & 07777) | S_IRWXU) != 0)
        return FS::kFailed;
    std::vector<std::string> names;
    if (!ReadNames(from, names))
        return FS::kFailed;
    for (const std::string& name : names)
    {
        const int32_t result = CopyItem(Join(from, name), Join(to, name));
        if (result != FS::kOk)
            return result;
    }
    return FS::kOk;
}

/** Deletes the item; top is the folder the caller named, which may be a mount point itself. */
int32_t DeleteItem(const std::string& path, dev_t parentDevice, bool top)
{
    struct stat info
    {
    };
    if (!LinkStat(path, info))
        return FS::kFailed;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(path.c_str()) == 0 ? FS::kOk : FS::kFailed;
    if (!top && info.st_dev != parentDevice)
        return FS::kFailed;
    struct stat parent
    {
    };
    // The root of a volume ("/" included, however written) is never deleted.
    if (top && ::stat((path + "/..").c_str(), &parent) == 0 &&
        (parent.st_dev != info.st_dev || parent.st_ino == info.st_ino))
        return FS::kFailed;
    if (::access(path.c_str(), R_OK | W_OK | X_OK) != 0)
        ::chmod(path.c_str(), (info.st_mode & 07777) | S_IRWXU);
    std::vector<std::string> names;
    if (!ReadNames(path, names))
        return FS::kFailed;
    for (const std::string& name : names)
    {
        const int32_t result = DeleteItem(Join(path, name), info.st_dev, false);
        if (result != FS::kOk)
            return result;
    }
    return ::rmdir(path.c_str()) == 0 ? FS::kOk : FS::kFailed;
}

/** Writes everything of the volume that holds the path's folder to disk. */
void SyncVolumeOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
    if (descriptor < 0)
        return;
    ::syncfs(descriptor);
    ::close(descriptor);
}

/** Copies, then deletes the source once all of it is there. */
int32_t CopyThenDelete(const std::string& from, const std::string& to)
{
    if (CopyItem(from, to) != FS::kOk)
        return FS::kFailed;
    return DeleteItem(from, 0, true);
}
} // namespace

bool PlatformFileTree::ListFolder(const char* folder, std::vector<FolderItem>& items)
{
    if (folder == nullptr)
        return false;
    const std::string systemFolder = SystemPath(folder);
    std::vector<std::string> names;
    if (systemFolder.empty() || !ReadNames(systemFolder, names))
        return false;
    for (const std::string& name : names)
    {
        struct stat info
        {
        };
        const bool isFolder = ::stat(Join(systemFolder, name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        items.push_back({name, isFolder});
    }
    return true;
}

bool PlatformFileTree::PathExists(const char* path)
{
    struct stat info
    {
    };
    return path != nullptr && *path != 0 && LinkStat(SystemPath(path), info);
}

bool PlatformFileTree::IsSymbolicLink(const char* path)
{
    struct stat info
    {
    };
    return path != nullptr && *path != 0 && LinkStat(SystemPath(path), info) && S_ISLNK(info.st_mode);
}

int32_t PlatformFileTree::CopyTree(const char* source, const char* target)
{
    if (source == nullptr || target == nullptr)
        return FS::kNullArgument;
    const std::string from = SystemPath(source);
    const std::string to = SystemPath(target);
    struct stat info
    {
    };
    if (from.empty() || to.empty() || !LinkStat(from, info))
        return FS::kFailed;
    if (S_ISDIR(info.st_mode) && IsWithin(from, to))
        return FS::kFailed;
    return CopyItem(from, to);
}

int32_t PlatformFileTree::MoveTree(const char* source, const char* target, bool syncVolume)
{
    if (source == nullptr || target == nullptr)
        return FS::kNullArgument;
    const std::string from = SystemPath(source);
    const std::string to = SystemPath(target);
    struct stat info
    {
    };
    struct stat existing
    {
    };
    if (from.empty() || to.empty() || !LinkStat(from, info))
        return FS::kFailed;
    const bool folder = S_ISDIR(info.st_mode);
    if (folder && IsWithin(from, to))
        return FS::kFailed;
    int32_t result = FS::kFailed;
    if (LinkStat(to, existing))
    {
        if (folder != S_ISDIR(existing.st_mode))
            return FS::kFailed; // never a folder over a file or link, nor the other way round
        if (folder)
            result = CopyThenDelete(from, to);
        else if (::rename(from.c_str(), to.c_str()) == 0)
            result = FS::kOk;
        else if (errno == EXDEV)
            result = CopyThenDelete(from, to);
    }
    else if (::rename(from.c_str(), to.c_str()) == 0)
        result = FS::kOk;
    else if (errno == EXDEV)
        result = CopyThenDelete(from, to);
    if (result == FS::kOk && syncVolume)
        SyncVolumeOf(to);
    return result;
}

int32_t PlatformFileTree::DeleteTree(const char* path)
{
    if (path == nullptr)
        return FS::kNullArgument;
    const std::string systemPath = SystemPath(path);
    return systemPath.empty() ? FS::kFailed : DeleteItem(systemPath, 0, true);
}

int32_t PlatformFileTree::MakeFolder(const char* path)
{
    if (path == nullptr)
        return FS::kNullArgument;
    const std::string systemPath = SystemPath(path);
    struct stat info
    {
    };
    if (systemPath.empty())
        return FS::kFailed;
    if (::mkdir(systemPath.c_str(), kNewFolderMode) == 0)
        return FS::kOk;
    return errno == EEXIST && ::stat(systemPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? FS::kOk
                                                                                              : FS::kFailed;
}

int32_t PlatformFileTree::MakeWritable(const char* path)
{
    if (path == nullptr)
        return FS::kNullArgument;
    const std::string systemPath = SystemPath(path);
    struct stat info
    {
    };
    if (systemPath.empty() || ::stat(systemPath.c_str(), &info) != 0)
        return FS::kFailed;
    return ::chmod(systemPath.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0 ? FS::kOk : FS::kFailed;
}
