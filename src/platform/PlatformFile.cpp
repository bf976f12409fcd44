#include "platform/PlatformFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr mode_t kNewFileMode = 0666; // narrowed by the process's umask

/** The folder part of a system path: "." for a bare name, "/" for a name at the root. */
std::string FolderOf(const std::string& systemPath)
{
    const auto slash = systemPath.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : systemPath.substr(0, slash);
}

bool IsFolder(const std::string& systemPath)
{
    struct stat info
    {
    };
    return ::stat(systemPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int AccessFlags(PlatformFile::Access access, PlatformFile::Disposition disposition)
{
    // Emptying a file needs a writable descriptor even when the caller only asked to read it.
    const bool empties = disposition == PlatformFile::Disposition::CreateAlways;
    switch (access)
    {
    case PlatformFile::Access::Write:
        return O_WRONLY;
    case PlatformFile::Access::ReadWrite:
        return O_RDWR;
    case PlatformFile::Access::Read:
    case PlatformFile::Access::None:
        break;
    }
    return empties ? O_RDWR : O_RDONLY;
}

int DispositionFlags(PlatformFile::Disposition disposition)
{
    switch (disposition)
    {
    case PlatformFile::Disposition::OpenAlways:
        return O_CREAT;
    case PlatformFile::Disposition::CreateAlways:
        return O_CREAT | O_TRUNC;
    case PlatformFile::Disposition::OpenExisting:
        break;
    }
    return 0;
}
} // namespace

PlatformFile::~PlatformFile()
{
    Close();
}

std::string PlatformFile::ToSystemPath(const std::string& path)
{
    std::string systemPath = path;
    std::replace(systemPath.begin(), systemPath.end(), '\\', '/');
    return systemPath;
}

PlatformFile::OpenResult PlatformFile::Open(const std::string& path, Access access, Disposition disposition,
                                            bool unbuffered)
{
    if (IsOpen() || path.empty())
        return OpenResult::Failed;
    const std::string systemPath = ToSystemPath(path);
    const int flags = AccessFlags(access, disposition) | DispositionFlags(disposition) | O_CLOEXEC;

    int opened = -1;
    do
        opened = ::open(systemPath.c_str(), flags, kNewFileMode);
    while (opened < 0 && errno == EINTR);
    if (opened < 0)
    {
        const bool missingFile = errno == ENOENT && IsFolder(FolderOf(systemPath));
        return missingFile ? OpenResult::NotFound : OpenResult::Failed;
    }

    struct stat info
    {
    };
    if (::fstat(opened, &info) != 0 || S_ISDIR(info.st_mode))
    {
        ::close(opened);
        return OpenResult::Failed;
    }
    ::posix_fadvise(opened, 0, 0, unbuffered ? POSIX_FADV_NOREUSE : POSIX_FADV_SEQUENTIAL);
    descriptor = opened;
    return OpenResult::Ok;
}

bool PlatformFile::Close()
{
    if (!IsOpen())
        return false;
    const int closing = descriptor;
    descriptor = -1;
    // The descriptor is gone even when close reports an error (also EINTR on Linux): never retry.
    return ::close(closing) == 0;
}

int PlatformFile::Read(void* buffer, int count)
{
    if (!IsOpen() || buffer == nullptr || count < 0)
        return -1;
    auto* bytes = static_cast<char*>(buffer);
    int total = 0;
    while (total < count)
    {
        const ssize_t got = ::read(descriptor, bytes + total, static_cast<size_t>(count - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return total > 0 ? total : -1;
        if (got == 0)
            break;
        total += static_cast<int>(got);
    }
    return total;
}

int PlatformFile::Write(const void* buffer, int count)
{
    if (!IsOpen() || buffer == nullptr || count < 0)
        return -1;
    const auto* bytes = static_cast<const char*>(buffer);
    int total = 0;
    while (total < count)
    {
        const ssize_t put = ::write(descriptor, bytes + total, static_cast<size_t>(count - total));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return -1;
        total += static_cast<int>(put);
    }
    return total;
}

bool PlatformFile::Seek(int64_t offset, Origin origin)
{
    if (!IsOpen())
        return false;
    const int whence = origin == Origin::Current ? SEEK_CUR : origin == Origin::End ? SEEK_END : SEEK_SET;
    return ::lseek(descriptor, static_cast<off_t>(offset), whence) >= 0;
}

int64_t PlatformFile::Position() const
{
    if (!IsOpen())
        return -1;
    return static_cast<int64_t>(::lseek(descriptor, 0, SEEK_CUR));
}

int64_t PlatformFile::Size() const
{
    struct stat info
    {
    };
    if (!IsOpen() || ::fstat(descriptor, &info) != 0)
        return -1;
    return static_cast<int64_t>(info.st_size);
}

int64_t PlatformFile::SizeOfPath(const std::string& path)
{
    struct stat info
    {
    };
    if (path.empty() || ::stat(ToSystemPath(path).c_str(), &info) != 0)
        return -1;
    return S_ISDIR(info.st_mode) ? 0 : static_cast<int64_t>(info.st_size);
}

bool PlatformFile::CanWrite(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string systemPath = ToSystemPath(path);
    if (::access(systemPath.c_str(), W_OK) == 0)
        return !IsFolder(systemPath);
    if (errno != ENOENT)
        return false;
    const std::string folder = FolderOf(systemPath);
    return IsFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}
