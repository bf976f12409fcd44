#include "platform/PlatformFileSystem.h"

#include "support/TestSupport.h"

#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using FS = PlatformFileSystem;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::stringstream text;
    text << stream.rdbuf();
    return text.str();
}

/** Entries of a folder, "." and ".." left out. */
int CountEntries(const std::string& folder)
{
    int count = 0;
    if (DIR* dir = ::opendir(folder.c_str()))
    {
        while (dirent* entry = ::readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                ++count;
        ::closedir(dir);
    }
    return count;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info
    {
    };
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}
} // namespace

TEST(PlatformFileSystemTest, FileFolderAndHiddenTests)
{
    TestSupport::TempFolder folder;
    WriteText(folder.Child("file.txt"), "x");
    WriteText(folder.Child(".secret"), "x");
    ::mkdir(folder.Child("sub").c_str(), 0700);
    ::mkdir(folder.Child(".config").c_str(), 0700);
    struct Case
    {
        std::string path;
        bool exists;
        bool isFolder;
        bool hidden;
    };
    const Case cases[] = {
        {folder.Child("file.txt"), true, false, false},
        {folder.Path() + "\\file.txt", true, false, false},
        {folder.Child(".secret"), true, false, true},
        {folder.Child("sub"), false, true, false},
        {folder.Child(".config"), false, true, true},
        {folder.Child(".config") + "\\", false, true, true},
        {folder.Child(".missing"), false, false, false},
        {folder.Child("missing/file"), false, false, false},
        {folder.Child("sub/.."), false, true, false},
        {".", false, true, false},
        {"", false, false, false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(FS::FileExists(c.path.c_str()), c.exists) << c.path;
        EXPECT_EQ(FS::PathIsFolder(c.path.c_str()), c.isFolder) << c.path;
        EXPECT_EQ(FS::PathIsHidden(c.path.c_str()), c.hidden) << c.path;
    }
    EXPECT_FALSE(FS::FileExists(nullptr));
    EXPECT_FALSE(FS::PathIsFolder(nullptr));
    EXPECT_FALSE(FS::PathIsHidden(nullptr));
}

TEST(PlatformFileSystemTest, CopyAndMoveResultCodes)
{
    TestSupport::TempFolder folder;
    const std::string source = folder.Child("source.bin");
    const std::string existing = folder.Child("existing.bin");
    WriteText(source, "new content");
    WriteText(existing, "old");
    ::mkdir(folder.Child("sub").c_str(), 0700);
    struct Case
    {
        const char* source;
        const char* target;
        bool copy;
        bool failIfExists;
        int32_t expected;
    };
    const std::string missing = folder.Child("missing.bin");
    const std::string sub = folder.Child("sub");
    const std::string intoMissingFolder = folder.Child("no/such/target.bin");
    const Case cases[] = {
        {nullptr, existing.c_str(), true, false, FS::kNullArgument},
        {source.c_str(), nullptr, false, false, FS::kNullArgument},
        {missing.c_str(), existing.c_str(), true, false, FS::kSourceMissing},
        {sub.c_str(), existing.c_str(), false, false, FS::kSourceMissing},
        {source.c_str(), existing.c_str(), true, true, FS::kFailed},
        {source.c_str(), existing.c_str(), false, true, FS::kFailed},
        {source.c_str(), intoMissingFolder.c_str(), true, false, FS::kFailed},
        {source.c_str(), sub.c_str(), false, false, FS::kFailed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FS::CopyOrMoveFile(c.source, c.target, c.copy, c.failIfExists), c.expected)
            << (c.source ? c.source : "null") << " -> " << (c.target ? c.target : "null");
    EXPECT_EQ(ReadText(existing), "old") << "a refused copy leaves the target alone";
    EXPECT_EQ(ReadText(source), "new content");
    EXPECT_EQ(CountEntries(folder.Path()), 3) << "no temporary file is left behind";
}

TEST(PlatformFileSystemTest, CopyReplacesAReadOnlyTargetAndKeepsPermissions)
{
    TestSupport::TempFolder folder;
    const std::string source = folder.Child("source.bin");
    const std::string target = folder.Child("target.bin");
    WriteText(source, std::string(200000, 'a') + "end");
    ::chmod(source.c_str(), 0640);
    WriteText(target, "old");
    ::chmod(target.c_str(), 0444);

    ASSERT_EQ(FS::CopyOrMoveFile(source.c_str(), target.c_str(), true, false), FS::kOk);
    EXPECT_EQ(ReadText(target), ReadText(source));
    EXPECT_EQ(ModeOf(target), 0640u);

    const std::string fresh = folder.Path() + "\\fresh.bin";
    EXPECT_EQ(FS::CopyOrMoveFile(source.c_str(), fresh.c_str(), true, true), FS::kOk);
    EXPECT_EQ(ReadText(folder.Child("fresh.bin")), ReadText(source));
    EXPECT_EQ(CountEntries(folder.Path()), 3);
}

TEST(PlatformFileSystemTest, MoveReplacesOrRefusesAnExistingTarget)
{
    TestSupport::TempFolder folder;
    const std::string source = folder.Child("a.txt");
    const std::string target = folder.Child("b.txt");
    WriteText(source, "moved");
    WriteText(target, "replaced");
    ASSERT_EQ(FS::CopyOrMoveFile(source.c_str(), target.c_str(), false, false), FS::kOk);
    EXPECT_FALSE(FS::FileExists(source.c_str()));
    EXPECT_EQ(ReadText(target), "moved");

    const std::string renamed = folder.Child("c.txt");
    ASSERT_EQ(FS::CopyOrMoveFile(target.c_str(), renamed.c_str(), false, true), FS::kOk);
    EXPECT_EQ(ReadText(renamed), "moved");
}

TEST(PlatformFileSystemTest, DeleteFileAtPath)
{
    TestSupport::TempFolder folder;
    const std::string readOnly = folder.Child("ro.txt");
    WriteText(readOnly, "x");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(FS::DeleteFileAtPath(readOnly.c_str()), FS::kOk);
    EXPECT_FALSE(FS::FileExists(readOnly.c_str()));

    ::mkdir(folder.Child("sub").c_str(), 0700);
    EXPECT_EQ(FS::DeleteFileAtPath(folder.Child("sub").c_str()), FS::kOk);
    EXPECT_TRUE(FS::PathIsFolder(folder.Child("sub").c_str())) << "folders are left alone";

    const std::string kept = folder.Child("kept.txt");
    WriteText(kept, "x");
    ASSERT_EQ(::symlink(kept.c_str(), folder.Child("link").c_str()), 0);
    EXPECT_EQ(FS::DeleteFileAtPath(folder.Child("link").c_str()), FS::kOk);
    EXPECT_TRUE(FS::FileExists(kept.c_str())) << "only the link goes";

    EXPECT_EQ(FS::DeleteFileAtPath(folder.Child("missing").c_str()), FS::kFailed);
    EXPECT_EQ(FS::DeleteFileAtPath(nullptr), FS::kNullArgument);
}

TEST(PlatformFileSystemTest, DriveKindOfVolumeFacts)
{
    struct Case
    {
        FS::VolumeFacts facts;
        int32_t kind;
    };
    const Case cases[] = {
        {{"ext4", true, false, false}, FS::kDriveFixed},
        {{"ext4", true, false, true}, FS::kDriveExternalBus},
        {{"vfat", true, true, true}, FS::kDriveExternalBus},
        {{"vfat", true, true, false}, FS::kDriveRemovable},
        {{"iso9660", true, true, true}, FS::kDriveCdRom},
        {{"udf", true, true, false}, FS::kDriveCdRom},
        {{"nfs4", false, false, false}, FS::kDriveNetwork},
        {{"cifs", false, false, false}, FS::kDriveNetwork},
        {{"fuse.sshfs", false, false, false}, FS::kDriveNetwork},
        {{"tmpfs", false, false, false}, FS::kDriveNone},
        {{"proc", false, false, false}, FS::kDriveNone},
        {{"squashfs", true, false, false}, FS::kDriveNone},
        {{"overlay", false, false, false}, FS::kDriveFixed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FS::DriveKindOf(c.facts), c.kind) << c.facts.fileSystemType;
}

TEST(PlatformFileSystemTest, ParsesTheMountTable)
{
    const auto mounts = FS::ParseMountTable("/dev/sda1 / ext4 rw,relatime 0 0\n"
                                            "short line\n"
                                            "/dev/sdb1 /media/u/MY\\040STICK vfat rw 0 0\n"
                                            "server:/share /mnt/net nfs4 rw 0 0\n"
                                            "odd /a\\9\\0401\\\\x type\n");
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[1].device, "/dev/sdb1");
    EXPECT_EQ(mounts[1].mountPoint, "/media/u/MY STICK");
    EXPECT_EQ(mounts[1].fileSystemType, "vfat");
    EXPECT_EQ(mounts[2].fileSystemType, "nfs4");
    EXPECT_EQ(mounts[3].mountPoint, "/a\\9 1\\\\x") << "only complete octal escapes are decoded";
}

TEST(PlatformFileSystemTest, MountTableParserSurvivesRandomInput)
{
    std::mt19937 random(640);
    const std::string alphabet = "/\\0123456789 \t\nabc";
    for (int round = 0; round < 2000; ++round)
    {
        std::string text(random() % 120, ' ');
        for (auto& c : text)
            c = random() % 8 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        for (const auto& mount : FS::ParseMountTable(text))
            EXPECT_FALSE(mount.fileSystemType.empty());
    }
}

TEST(PlatformFileSystemTest, DriveRootsAndKindsOfThisSystem)
{
    TestSupport::TempFolder folder;
    EXPECT_TRUE(FS::IsDriveRoot("/"));
    EXPECT_TRUE(FS::IsDriveRoot("\\"));
    EXPECT_FALSE(FS::IsDriveRoot(folder.Path().c_str()));
    EXPECT_FALSE(FS::IsDriveRoot("C:\\"));
    EXPECT_FALSE(FS::IsDriveRoot(""));
    EXPECT_FALSE(FS::IsDriveRoot(nullptr));

    const int32_t kind = FS::GetDriveKind(folder.Path().c_str());
    EXPECT_TRUE(kind == 0 || kind == 1 || kind == 2 || kind == 3 || kind == 5 || kind == 6) << kind;
    EXPECT_EQ(FS::GetDriveKind(folder.Child("not/yet/there").c_str()), kind)
        << "a missing path is on the drive of its folder";
    EXPECT_EQ(FS::GetDriveKind(nullptr), FS::kDriveNone);
    EXPECT_EQ(FS::GetDriveKind(""), FS::kDriveNone);
    EXPECT_EQ(FS::GetDriveKind("/proc/self"), FS::kDriveNone);
}

TEST(PlatformFileSystemTest, CurrentFolderIsAbsolute)
{
    const std::string folder = FS::CurrentFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder[0], '/');
    EXPECT_TRUE(FS::PathIsFolder(folder.c_str()));
}

TEST(PlatformFileSystemTest, MoveAcrossVolumesCopiesThenDeletes)
{
    TestSupport::TempFolder folder;
    const std::string otherVolume = "/dev/shm";
    struct stat here
    {
    };
    struct stat there
    {
    };
    if (::stat(folder.Path().c_str(), &here) != 0 || ::stat(otherVolume.c_str(), &there) != 0 ||
        here.st_dev == there.st_dev || ::access(otherVolume.c_str(), W_OK) != 0)
        GTEST_SKIP() << "no second writable volume";
    const std::string source = folder.Child("cross.bin");
    const std::string target = otherVolume + "/krx-move-test-" + std::to_string(::getpid());
    WriteText(source, "across");
    EXPECT_EQ(FS::CopyOrMoveFile(source.c_str(), target.c_str(), false, false), FS::kOk);
    EXPECT_FALSE(FS::FileExists(source.c_str()));
    EXPECT_EQ(ReadText(target), "across");
    ::unlink(target.c_str());
}

TEST(PlatformFileSystemTest, CopyingAPipeFailsAtOnceInsteadOfWaitingForAWriter)
{
    TestSupport::TempFolder folder;
    const std::string pipe = folder.Child("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(FS::CopyOrMoveFile(pipe.c_str(), folder.Child("copy").c_str(), true, false), FS::kFailed);
    EXPECT_EQ(CountEntries(folder.Path()), 1);
}

/** The volumes of a made-up machine: the root disk, a USB stick, a labelled disc, a pseudo file
    system, a volume whose mount point is gone, a file mounted over a file, and a folder mounted
    twice, of which the later mount is on top. */
class VolumeSeamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::mkdir(folder.Child("usb").c_str(), 0755);
        ::mkdir(folder.Child("disc").c_str(), 0755);
        ::mkdir(folder.Child("twice").c_str(), 0755);
        WriteText(folder.Child("hosts"), "x");
        const std::string table = "/dev/sda1 / ext4 rw 0 0\n"
                                  "proc /proc proc rw 0 0\n"
                                  "/dev/sdb1 " +
                                  folder.Child("usb") +
                                  " vfat rw 0 0\n"
                                  "/dev/sr0 " +
                                  folder.Child("disc") +
                                  " iso9660 ro 0 0\n"
                                  "/dev/sdc1 " +
                                  folder.Child("gone") +
                                  " ext4 rw 0 0\n"
                                  "/dev/sda1 " +
                                  folder.Child("hosts") +
                                  " ext4 rw 0 0\n"
                                  "tmpfs " +
                                  folder.Child("twice") +
                                  " tmpfs rw 0 0\n"
                                  "/dev/sdd1 " +
                                  folder.Child("twice") + " vfat rw 0 0\n";
        FS::ReplaceVolumes(table,
                           [](const FS::MountEntry& mount) -> FS::VolumeInfo
                           {
                               if (mount.device == "/dev/sdb1")
                                   return {FS::kDriveExternalBus, ""};
                               if (mount.device == "/dev/sr0")
                                   return {FS::kDriveCdRom, "Concert 2010"};
                               if (mount.device == "/dev/sdd1")
                                   return {FS::kDriveRemovable, "FLOPPY"};
                               if (mount.device == "/dev/sda1" || mount.device == "/dev/sdc1")
                                   return {FS::kDriveFixed, "system"};
                               return {FS::kDriveNone, ""};
                           });
    }
    void TearDown() override { FS::RestoreVolumes(); }

    TestSupport::TempFolder folder;
};

TEST_F(VolumeSeamTest, DriveRootsKindsAndLabelsComeFromTheSeam)
{
    const auto roots = FS::GetDriveRoots();
    ASSERT_EQ(roots.size(), 4u);
    const FS::DriveRoot expected[] = {{"/", FS::kDriveFixed, "system"},
                                      {folder.Child("usb"), FS::kDriveExternalBus, ""},
                                      {folder.Child("disc"), FS::kDriveCdRom, "Concert 2010"},
                                      {folder.Child("twice"), FS::kDriveRemovable, "FLOPPY"}};
    for (size_t i = 0; i < roots.size(); ++i)
    {
        EXPECT_EQ(roots[i].mountPoint, expected[i].mountPoint) << i;
        EXPECT_EQ(roots[i].kind, expected[i].kind) << i;
        EXPECT_EQ(roots[i].label, expected[i].label) << i;
    }

    struct Case
    {
        std::string path;
        bool driveRoot;
        int32_t kind;
        std::string label;
    };
    const Case cases[] = {
        {folder.Child("usb"), true, FS::kDriveExternalBus, ""},
        {folder.Path() + "\\usb\\", true, FS::kDriveExternalBus, ""},
        {folder.Child("usb/inner/file.txt"), false, FS::kDriveExternalBus, ""},
        {folder.Child("disc"), true, FS::kDriveCdRom, "Concert 2010"},
        {folder.Child("gone"), false, FS::kDriveFixed, ""},
        {folder.Child("hosts"), false, FS::kDriveFixed, ""},
        {"/proc", false, FS::kDriveNone, ""},
        {"/", true, FS::kDriveFixed, "system"},
        {folder.Path(), false, FS::kDriveFixed, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FS::IsDriveRoot(c.path.c_str()), c.driveRoot);
        EXPECT_EQ(FS::GetDriveKind(c.path.c_str()), c.kind);
        EXPECT_EQ(FS::GetVolumeLabel(c.path.c_str()), c.label);
    }

    FS::RestoreVolumes();
    EXPECT_FALSE(FS::IsDriveRoot(folder.Child("usb").c_str()));
    EXPECT_EQ(FS::GetDriveRoots().front().mountPoint, "/");
}
