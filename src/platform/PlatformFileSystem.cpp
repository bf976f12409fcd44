#include "platform/PlatformFileSystem.h"

#include "platform/PlatformFile.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr char kMountTablePath[] = "/proc/self/mounts";
constexpr char kBlockClassFolder[] = "/sys/class/block/";
/** udev's links from volume labels to their devices; names escape bytes as \xNN. */
constexpr char kLabelFolder[] = "/dev/disk/by-label/";
/** Name pattern of a copy in progress, beside its target (hidden, short enough for any name). */
constexpr char kTemporaryName[] = ".krxcopy-XXXXXX";
constexpr size_t kCopyChunkBytes = 64 * 1024;

constexpr std::array<const char*, 13> kNetworkTypes = {
    "nfs", "nfs4", "cifs",      "smb3",       "smbfs",       "ncpfs", "afs",
    "9p",  "ceph", "glusterfs", "fuse.sshfs", "fuse.rclone", "davfs"};
constexpr std::array<const char*, 2> kOpticalTypes = {"iso9660", "udf"};
constexpr std::array<const char*, 26> kPseudoTypes = {
    "proc",    "sysfs",      "tmpfs",    "ramfs",       "devtmpfs",       "devpts",    "cgroup",
    "cgroup2", "securityfs", "debugfs",  "tracefs",     "mqueue",         "hugetlbfs", "pstore",
    "bpf",     "configfs",   "fusectl",  "autofs",      "binfmt_misc",    "efivarfs",  "rpc_pipefs",
    "nsfs",    "selinuxfs",  "squashfs", "fuse.portal", "fuse.gvfsd-fuse"};

template <size_t N> bool IsOneOf(const std::string& type, const std::array<const char*, N>& names)
{
    for (const char* name : names)
        if (type == name)
            return true;
    return false;
}

std::string SystemPath(const char* path)
{
    return PlatformFile::ToSystemPath(path);
}

/** The path without trailing '/' (the root stays "/"). */
std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

/** An absolute form of the path: resolved through the file system when it exists, else the
    current folder joined with it as written. */
std::string AbsolutePath(const std::string& systemPath)
{
    if (char* resolved = ::realpath(systemPath.c_str(), nullptr))
    {
        std::string result(resolved);
        std::free(resolved);
        return result;
    }
    if (!systemPath.empty() && systemPath[0] == '/')
        return systemPath;
    return PlatformFileSystem::CurrentFolder() + "/" + systemPath;
}

/** True when mountPoint is path itself or a folder above it. */
bool MountCovers(const std::string& mountPoint, const std::string& path)
{
    if (mountPoint == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

/** A mount table and volume look-up that tests put in place of the system's. */
struct VolumeSeam
{
    std::vector<PlatformFileSystem::MountEntry> mounts;
    PlatformFileSystem::VolumeProbe probe;
};

std::mutex seamLock;
std::shared_ptr<const VolumeSeam> seam; // guarded by seamLock; null: the system's volumes

std::shared_ptr<const VolumeSeam> CurrentSeam()
{
    std::lock_guard<std::mutex> hold(seamLock);
    return seam;
}

std::vector<PlatformFileSystem::MountEntry> ReadMountTable(const VolumeSeam* replacement)
{
    if (replacement != nullptr)
        return replacement->mounts;
    std::ifstream stream(kMountTablePath);
    std::stringstream text;
    text << stream.rdbuf();
    return PlatformFileSystem::ParseMountTable(text.str());
}

std::string Resolved(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string ReadFirstLine(const std::string& path)
{
    std::ifstream stream(path);
    std::string line;
    std::getline(stream, line);
    return line;
}

/** The facts of a mounted volume, from its device's entry in the block class of sysfs. */
PlatformFileSystem::VolumeFacts FactsOf(const PlatformFileSystem::MountEntry& mount)
{
    PlatformFileSystem::VolumeFacts facts;
    facts.fileSystemType = mount.fileSystemType;
    if (mount.device.compare(0, 5, "/dev/") != 0)
        return facts;
    facts.blockDevice = true;
    const std::string device = Resolved(mount.device);
    const std::string deviceName = device.substr(device.find_last_of('/') + 1);
    char* sysfsPath = ::realpath((kBlockClassFolder + deviceName).c_str(), nullptr);
    if (sysfsPath == nullptr)
        return facts;
    std::string deviceFolder(sysfsPath);
    std::free(sysfsPath);
    facts.externalBus = deviceFolder.find("/usb") != std::string::npos ||
                        deviceFolder.find("/firewire") != std::string::npos ||
                        deviceFolder.find("/ieee1394") != std::string::npos;
    // A partition's removable flag is its disk's, one folder up.
    struct stat info
    {
    };
    if (::stat((deviceFolder + "/partition").c_str(), &info) == 0)
        deviceFolder = deviceFolder.substr(0, deviceFolder.find_last_of('/'));
    facts.removable = ReadFirstLine(deviceFolder + "/removable") == "1";
    return facts;
}

/** The mount that holds the absolute path: the longest covering mount point, the latest of equals
    (it is mounted over the earlier ones). Null when none covers it. */
const PlatformFileSystem::MountEntry* FindMountOf(const std::vector<PlatformFileSystem::MountEntry>& mounts,
                                                  const std::string& absolutePath)
{
    const PlatformFileSystem::MountEntry* best = nullptr;
    for (const auto& mount : mounts)
        if (MountCovers(mount.mountPoint, absolutePath) &&
            (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size()))
            best = &mount;
    return best;
}

/** udev's escaped label text with every \xNN turned back into its byte. */
std::string DecodeLabel(const std::string& name)
{
    constexpr int kHexBase = 16;
    std::string decoded;
    for (size_t i = 0; i < name.size(); ++i)
    {
        if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3])))
        {
            decoded += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, kHexBase));
            i += 3;
            continue;
        }
        decoded += name[i];
    }
    return decoded;
}

/** The label of a mounted block device: the by-label link that leads to its device. */
std::string SystemLabelOf(const PlatformFileSystem::MountEntry& mount)
{
    if (mount.device.compare(0, 5, "/dev/") != 0)
        return std::string();
    const std::string device = Resolved(mount.device);
    std::string label;
    if (DIR* folder = ::opendir(kLabelFolder))
    {
        while (dirent* item = ::readdir(folder))
        {
            const std::string name(item->d_name);
            if (name != "." && name != ".." && Resolved(kLabelFolder + name) == device)
            {
                label = DecodeLabel(name);
                break;
            }
        }
        ::closedir(folder);
    }
    return label;
}

int32_t KindOf(const PlatformFileSystem::MountEntry& mount, const VolumeSeam* replacement)
{
    if (replacement != nullptr)
        return replacement->probe ? replacement->probe(mount).kind : PlatformFileSystem::kDriveNone;
    return PlatformFileSystem::DriveKindOf(FactsOf(mount));
}

std::string LabelOf(const PlatformFileSystem::MountEntry& mount, const VolumeSeam* replacement)
{
    if (replacement != nullptr)
        return replacement->probe ? replacement->probe(mount).label : std::string();
    return SystemLabelOf(mount);
}

/** The mount whose root is the system path, when that is a drive root ("/" may have none). */
const PlatformFileSystem::MountEntry* DriveMountAt(const std::vector<PlatformFileSystem::MountEntry>& mounts,
                                                   const std::string& systemPath,
                                                   const VolumeSeam* replacement)
{
    const PlatformFileSystem::MountEntry* mount = FindMountOf(mounts, systemPath);
    if (mount == nullptr || mount->mountPoint != systemPath ||
        KindOf(*mount, replacement) == PlatformFileSystem::kDriveNone)
        return nullptr;
    return mount;
}

/** Closes a descriptor when it goes. */
class Descriptor final
{
public:
    explicit Descriptor(int value) : value(value) {}
    ~Descriptor()
    {
        if (value >= 0)
            ::close(value);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return value; }
    /** Closes now; false when the system reported a failure (a write that did not reach the disk). */
    bool Close()
    {
        const int closing = value;
        value = -1;
        return closing < 0 || ::close(closing) == 0;
    }

private:
    int value;
};

bool CopyBytes(int from, int to)
{
    std::vector<char> buffer(kCopyChunkBytes);
    for (;;)
    {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got == 0)
            return true;
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t written = 0; written < got;)
        {
            const ssize_t put = ::write(to, buffer.data() + written, static_cast<size_t>(got - written));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            written += put;
        }
    }
}

/** Puts the finished temporary file in the target's place: replacing it, or only when there is
    no target yet (a hard link fails on an existing name, so no other writer is overwritten). */
bool PlaceCopy(const std::string& temporary, const std::string& target, bool failIfExists)
{
    if (!failIfExists)
        return ::rename(temporary.c_str(), target.c_str()) == 0;
    if (::link(temporary.c_str(), target.c_str()) == 0)
    {
        ::unlink(temporary.c_str());
        return true;
    }
    if (errno == EEXIST)
        return false;
    // File systems without hard links (FAT media): check, then rename.
    struct stat info
    {
    };
    if (::lstat(target.c_str(), &info) == 0)
        return false;
    return ::rename(temporary.c_str(), target.c_str()) == 0;
}

} // namespace

bool PlatformFileSystem::FileExists(const char* path)
{
    if (path == nullptr)
        return false;
    struct stat info
    {
    };
    if (::stat(SystemPath(path).c_str(), &info) == 0)
        return !S_ISDIR(info.st_mode);
    return errno == EACCES || errno == EMFILE || errno == ENFILE;
}

bool PlatformFileSystem::PathIsFolder(const char* path)
{
    if (path == nullptr)
        return false;
    struct stat info
    {
    };
    return ::stat(SystemPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformFileSystem::PathIsHidden(const char* path)
{
    if (path == nullptr)
        return false;
    const std::string systemPath = WithoutTrailingSlashes(SystemPath(path));
    struct stat info
    {
    };
    if (systemPath.empty() || ::lstat(systemPath.c_str(), &info) != 0)
        return false;
    const std::string name = systemPath.substr(systemPath.find_last_of('/') + 1);
    return name.size() > 1 && name[0] == '.' && name != "..";
}

bool PlatformFileSystem::IsDriveRoot(const char* path)
{
    if (path == nullptr || *path == 0)
        return false;
    const std::string systemPath = WithoutTrailingSlashes(SystemPath(path));
    if (systemPath == "/")
        return true;
    if (systemPath[0] != '/')
        return false;
    const auto replacement = CurrentSeam();
    const std::vector<MountEntry> mounts = ReadMountTable(replacement.get());
    // A file mounted over a file (as containers do) is no drive.
    return DriveMountAt(mounts, systemPath, replacement.get()) != nullptr && PathIsFolder(systemPath.c_str());
}

int32_t PlatformFileSystem::GetDriveKind(const char* path)
{
    if (path == nullptr || *path == 0)
        return kDriveNone;
    const auto replacement = CurrentSeam();
    const std::vector<MountEntry> mounts = ReadMountTable(replacement.get());
    const MountEntry* mount = FindMountOf(mounts, AbsolutePath(SystemPath(path)));
    return mount != nullptr ? KindOf(*mount, replacement.get()) : kDriveNone;
}

std::vector<PlatformFileSystem::DriveRoot> PlatformFileSystem::GetDriveRoots()
{
    const auto replacement = CurrentSeam();
    const std::vector<MountEntry> mounts = ReadMountTable(replacement.get());
    std::vector<DriveRoot> roots;
    DriveRoot root;
    root.mountPoint = "/";
    if (const MountEntry* mount = FindMountOf(mounts, root.mountPoint))
    {
        root.kind = KindOf(*mount, replacement.get());
        root.label = LabelOf(*mount, replacement.get());
    }
    roots.push_back(root);
    for (const MountEntry& entry : mounts)
    {
        bool listed = false;
        for (const DriveRoot& known : roots)
            listed = listed || known.mountPoint == entry.mountPoint;
        // The latest mount at a point is the one on top.
        const MountEntry* mount =
            listed ? nullptr : DriveMountAt(mounts, entry.mountPoint, replacement.get());
        if (mount == nullptr || !PathIsFolder(mount->mountPoint.c_str()))
            continue;
        roots.push_back(
            {mount->mountPoint, KindOf(*mount, replacement.get()), LabelOf(*mount, replacement.get())});
    }
    return roots;
}

std::string PlatformFileSystem::GetVolumeLabel(const char* path)
{
    if (!IsDriveRoot(path))
        return std::string();
    const std::string systemPath = WithoutTrailingSlashes(SystemPath(path));
    const auto replacement = CurrentSeam();
    const std::vector<MountEntry> mounts = ReadMountTable(replacement.get());
    const MountEntry* mount = FindMountOf(mounts, systemPath);
    return mount != nullptr && mount->mountPoint == systemPath ? LabelOf(*mount, replacement.get())
                                                               : std::string();
}

void PlatformFileSystem::ReplaceVolumes(const std::string& mountTableText, VolumeProbe probe)
{
    auto replacement = std::make_shared<VolumeSeam>();
    replacement->mounts = ParseMountTable(mountTableText);
    replacement->probe = std::move(probe);
    std::lock_guard<std::mutex> hold(seamLock);
    seam = std::move(replacement);
}

void PlatformFileSystem::RestoreVolumes()
{
    std::lock_guard<std::mutex> hold(seamLock);
    seam.reset();
}

int32_t PlatformFileSystem::DriveKindOf(const VolumeFacts& facts)
{
    if (IsOneOf(facts.fileSystemType, kNetworkTypes))
        return kDriveNetwork;
    if (IsOneOf(facts.fileSystemType, kOpticalTypes))
        return kDriveCdRom;
    if (IsOneOf(facts.fileSystemType, kPseudoTypes))
        return kDriveNone;
    if (facts.externalBus)
        return kDriveExternalBus;
    if (facts.blockDevice && facts.removable)
        return kDriveRemovable;
    // Disks, and storage without a device of its own (overlay, zfs, btrfs subvolumes).
    return kDriveFixed;
}

std::vector<PlatformFileSystem::MountEntry> PlatformFileSystem::ParseMountTable(const std::string& text)
{
    constexpr int kOctalDigits = 3;
    const auto decode = [](const std::string& field)
    {
        std::string decoded;
        for (size_t i = 0; i < field.size(); ++i)
        {
            const bool octal = field[i] == '\\' && i + kOctalDigits < field.size() && field[i + 1] >= '0' &&
                               field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
                               field[i + 3] >= '0' && field[i + 3] <= '7';
            if (!octal)
            {
                decoded += field[i];
                continue;
            }
            decoded += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                         (field[i + 3] - '0'));
            i += kOctalDigits;
        }
        return decoded;
    };
    std::vector<MountEntry> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        MountEntry entry;
        if (!(fields >> entry.device >> entry.mountPoint >> entry.fileSystemType))
            continue;
        entry.device = decode(entry.device);
        entry.mountPoint = decode(entry.mountPoint);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

int32_t PlatformFileSystem::CopyOrMoveFile(const char* source, const char* target, bool copy,
                                           bool failIfExists)
{
    if (source == nullptr || target == nullptr)
        return kNullArgument;
    if (!FileExists(source))
        return kSourceMissing;
    const std::string from = SystemPath(source);
    const std::string to = SystemPath(target);
    struct stat info
    {
    };
    if (::stat(from.c_str(), &info) != 0)
        return kAttributesUnreadable;
    if (copy)
        return CopyFileAtSystemPath(from, to, failIfExists);

    if (failIfExists && ::lstat(to.c_str(), &info) == 0)
        return kFailed;
    if (::rename(from.c_str(), to.c_str()) == 0)
        return kOk;
    if (errno != EXDEV)
        return kFailed;
    // Another volume: copy, then delete the source; when that fails both files stay.
    if (CopyFileAtSystemPath(from, to, failIfExists) != kOk)
        return kFailed;
    return ::unlink(from.c_str()) == 0 ? kOk : kFailed;
}

int32_t PlatformFileSystem::DeleteFileAtPath(const char* path)
{
    if (path == nullptr)
        return kNullArgument;
    const std::string systemPath = SystemPath(path);
    struct stat info
    {
    };
    if (::lstat(systemPath.c_str(), &info) != 0)
        return kFailed;
    if (S_ISDIR(info.st_mode))
        return kOk;
    return ::unlink(systemPath.c_str()) == 0 ? kOk : kFailed;
}

int32_t PlatformFileSystem::CopyFileAtSystemPath(const std::string& source, const std::string& target,
                                                 bool failIfExists)
{
    struct stat targetInfo
    {
    };
    if (failIfExists && ::lstat(target.c_str(), &targetInfo) == 0)
        return kFailed;
    // Opened without waiting, so that a pipe with no writer cannot block; only a regular file goes on.
    Descriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat sourceInfo
    {
    };
    if (input.Get() < 0 || ::fstat(input.Get(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        return kFailed;

    const auto slash = target.find_last_of('/');
    std::string temporary =
        (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + kTemporaryName;
    Descriptor output(::mkostemp(&temporary[0], O_CLOEXEC));
    if (output.Get() < 0)
        return kFailed;
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    const bool written = CopyBytes(input.Get(), output.Get()) &&
                         ::fchmod(output.Get(), sourceInfo.st_mode & 07777) == 0 &&
                         ::futimens(output.Get(), times) == 0 && output.Close();
    if (!written || !PlaceCopy(temporary, target, failIfExists))
    {
        ::unlink(temporary.c_str());
        return kFailed;
    }
    return kOk;
}

std::string PlatformFileSystem::CurrentFolder()
{
    if (char* folder = ::getcwd(nullptr, 0))
    {
        std::string result(folder);
        std::free(folder);
        return result;
    }
    return std::string();
}
