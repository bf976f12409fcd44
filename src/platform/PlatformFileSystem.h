#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/** The file-system tests and single-file operations under the framework's file helpers: whether a
    path is a file, a folder or hidden, which kind of drive holds it, copying, moving and deleting
    one file, and the current folder. The list and file code builds its entries and change
    notifications on top of these; nothing here notifies, logs or shows anything.

    Paths are 8-bit texts that may use '\' or '/' as separator; every '\' becomes '/' when the
    system is called. A null path is never an error the caller must avoid: tests answer false and
    operations return kNullArgument.

    This system has no drive letters. A drive is a mounted volume and its root is the mount point:
    "/" always, and the mount point of every mounted storage or network volume. A name that begins
    with '.' is hidden. Every function is thread-safe (no state of its own). */
class PlatformFileSystem final
{
public:
    static constexpr int32_t kOk = 0;
    /** The operation failed (missing entry, the system refused). */
    static constexpr int32_t kFailed = static_cast<int32_t>(0x80000001);
    /** A required path argument is null. */
    static constexpr int32_t kNullArgument = static_cast<int32_t>(0x80000002);
    /** The source's attributes cannot be read. */
    static constexpr int32_t kAttributesUnreadable = static_cast<int32_t>(0x80000003);
    /** The source file does not exist. */
    static constexpr int32_t kSourceMissing = static_cast<int32_t>(0x80000005);
    /** The copy met a sharing violation; this system has no mandatory locks, so it never does. */
    static constexpr int32_t kSharingViolation = static_cast<int32_t>(0x80000006);

    /** Drive kind codes; 4 is never produced. */
    enum DriveKind : int32_t
    {
        kDriveNone = 0, // no such drive, or memory and pseudo file systems
        kDriveFixed = 1,
        kDriveNetwork = 2,
        kDriveCdRom = 3,
        kDriveRemovable = 5,
        kDriveExternalBus = 6 // fixed or removable, on a USB or IEEE 1394 bus
    };

    /** True when the path exists and is not a folder; also when the system refuses to tell because
        access is denied or too many files are open; false for anything else. */
    static bool FileExists(const char* path);
    static bool PathIsFolder(const char* path);
    /** True when the path exists and its last name (trailing separators dropped) begins with '.';
        "." and ".." are not hidden. */
    static bool PathIsHidden(const char* path);
    /** True when the path is the root of a drive: "/" (also written "\") or a folder that is the
        mount point of a mounted storage or network volume (the latest mount there counts). */
    static bool IsDriveRoot(const char* path);
    /** The kind of the drive that holds the path (existing or not); kDriveNone for null or "". */
    static int32_t GetDriveKind(const char* path);

    /** Copies (copy true) or moves one file. failIfExists refuses an existing target (kFailed),
        else the target is replaced. A copy is written to a temporary file beside the target and
        renamed over it, so a failed copy never damages an existing target; the copy takes the
        source's permissions and times. A move between volumes copies, then deletes the source.
        Results: kOk; kNullArgument for a null path; kSourceMissing when the source is not an
        existing file (a folder included); kAttributesUnreadable; kFailed. */
    static int32_t CopyOrMoveFile(const char* source, const char* target, bool copy, bool failIfExists);
    /** Deletes one file, read-only or not (a symbolic link itself, never its target). kOk, also for
        a folder, which is left alone; kNullArgument; kFailed when the path cannot be read or the
        system refuses. */
    static int32_t DeleteFileAtPath(const char* path);

    /** The process's current folder in the system's form; empty on a failure. */
    static std::string CurrentFolder();

    /** The copy under CopyOrMoveFile, for paths already in the system's form (names may hold '\'):
        only a regular file is copied (never a pipe or a device, which could block), through a
        temporary file beside the target. kOk or kFailed. */
    static int32_t CopyFileAtSystemPath(const std::string& source, const std::string& target,
                                        bool failIfExists);

    /** One drive: the root of a mounted volume, its kind and its volume label ("" without one). */
    struct DriveRoot
    {
        std::string mountPoint;
        int32_t kind = kDriveNone;
        std::string label;
    };
    /** The drive roots IsDriveRoot accepts: "/" first, then every other mount point of a volume of
        a known kind that is a folder, each once, in mount-table order. */
    static std::vector<DriveRoot> GetDriveRoots();
    /** The volume label of the drive whose root is the path; "" when it has none or the path is
        not a drive root. */
    static std::string GetVolumeLabel(const char* path);

    // The parts of the drive rules, for tests ---------------------------------------------------

    /** One line of the system's mount table. */
    struct MountEntry
    {
        std::string device;
        std::string mountPoint;
        std::string fileSystemType;
    };
    /** Parses mount-table text ("device mount-point type options ..." per line, octal escapes such
        as \040 decoded). Lines with fewer than three fields are skipped. */
    static std::vector<MountEntry> ParseMountTable(const std::string& text);

    /** What decides a volume's drive kind. */
    struct VolumeFacts
    {
        std::string fileSystemType;
        /** The volume is a block device (its mount source names one under /dev). */
        bool blockDevice = false;
        bool removable = false;
        /** The device hangs on a USB or IEEE 1394 bus. */
        bool externalBus = false;
    };
    static int32_t DriveKindOf(const VolumeFacts& facts);

    // Test seam ------------------------------------------------------------------------------------

    /** What a seam tells of one mounted volume. */
    struct VolumeInfo
    {
        int32_t kind = kDriveNone;
        std::string label;
    };
    using VolumeProbe = std::function<VolumeInfo(const MountEntry& mount)>;
    /** Replaces the system's mount table by mountTableText and its look-up of each volume's kind
        and label by probe, for every drive rule above, until RestoreVolumes. For tests; any
        thread. */
    static void ReplaceVolumes(const std::string& mountTableText, VolumeProbe probe);
    static void RestoreVolumes();

    PlatformFileSystem() = delete;
};
