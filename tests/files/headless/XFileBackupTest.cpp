#include "files/XFileBackup.h"

#include "../FileTestPaths.h"

#include "files/XFileEntry.h"
#include "platform/PlatformFileSystem.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
using FileTestPaths::Backslashed;
constexpr double kMiB = 1048576.0;
constexpr int kWaitMs = 20000;

/** A sparse file of that many bytes. */
void MakeSizedFile(const std::string& path, uint64_t bytes)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(bytes)), 0);
    ::close(fd);
}

/** Runs one job of the backup and tells which signal ended it. */
enum class Ended
{
    None,
    Finished,
    Failed
};
Ended RunJob(XFileBackup& backup, bool assembly)
{
    std::atomic<Ended> ended{Ended::None};
    const int32_t done = backup.finishedSignal.Connect([&] { ended.store(Ended::Finished); });
    const int32_t failed = backup.failedSignal.Connect([&] { ended.store(Ended::Failed); });
    TestSupport::RunWithin(
        [&]
        {
            if (assembly)
                backup.StartAssembly();
            else
                backup.StartSizing();
            backup.Join();
        },
        kWaitMs);
    backup.finishedSignal.Disconnect(done);
    backup.failedSignal.Disconnect(failed);
    return ended.load();
}

std::vector<std::string> FileNames(const XDiskImage& image)
{
    std::vector<std::string> names;
    for (const auto& file : image.GetFiles())
        names.emplace_back(file->GetName().CStr());
    return names;
}

class FileBackupTest : public ::testing::Test
{
protected:
    void SetUp() override { ::mkdir(tempFiles.c_str(), 0755); }

    TestSupport::TempFolder folder;
    const std::string tempFiles = folder.Child("tmp");
    ScopedEnvironment tmpdir{"TMPDIR", tempFiles};
};
} // namespace

TEST_F(FileBackupTest, FilesArePackedLargestFirstOntoAsFewDiscsAsFit)
{
    const std::string data = folder.Child("data");
    ::mkdir(data.c_str(), 0755);
    ::mkdir((data + "/sub").c_str(), 0755);
    MakeSizedFile(data + "/m300", 300 * 1048576ull);
    MakeSizedFile(data + "/m100", 100 * 1048576ull);
    MakeSizedFile(data + "/sub/m500", 500 * 1048576ull);
    MakeSizedFile(data + "/sub/m200", 200 * 1048576ull);

    XFileBackup backup(XString("Backup"));
    const XFileEntry entry(Backslashed(data).CStr());
    ASSERT_EQ(backup.AddEntry(&entry), 0);
    EXPECT_EQ(backup.AddEntry(nullptr), static_cast<int32_t>(0x80000001));
    double total = 0.0;
    EXPECT_EQ(backup.GetTotalSize(total), static_cast<int32_t>(0x80000001)) << "stale before sizing";

    ASSERT_EQ(RunJob(backup, false), Ended::Finished);
    ASSERT_EQ(backup.GetTotalSize(total), 0);
    EXPECT_EQ(total, 1100 * kMiB);
    double largest = 0.0;
    ASSERT_EQ(backup.GetLargestFileSize(largest), 0);
    EXPECT_EQ(largest, 500 * kMiB);

    backup.SetMediaType(XDiskImage::kMediaCD700);
    ASSERT_EQ(RunJob(backup, true), Ended::Finished);
    uint32_t count = 0;
    ASSERT_EQ(backup.GetImageCount(count), 0);
    ASSERT_EQ(count, 2u);
    // After 500 the 200 MiB left take neither 300 nor 200 (not strictly less), but 100.
    EXPECT_EQ(FileNames(*backup.GetImages()[0]), (std::vector<std::string>{"m500", "m100"}));
    EXPECT_EQ(FileNames(*backup.GetImages()[1]), (std::vector<std::string>{"m300", "m200"}));
    for (int index = 0; index < 2; ++index)
    {
        XDiskImage read;
        ASSERT_EQ(read.ReadIndex(backup.GetImages()[index]->GetIndexPath()), 0);
        EXPECT_EQ(read.GetIndexInSet(), index);
        EXPECT_EQ(read.GetNumDisks(), 2);
    }
    EXPECT_TRUE(PlatformFileSystem::FileExists((tempFiles + "/Backup_01.dat").c_str()));

    // Again on a DVD: the old images (and their second index) go first.
    backup.SetMediaType(XDiskImage::kMediaDVD);
    ASSERT_EQ(RunJob(backup, true), Ended::Finished);
    ASSERT_EQ(backup.GetImageCount(count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(FileNames(*backup.GetImages()[0]), (std::vector<std::string>{"m500", "m300", "m200", "m100"}));
    EXPECT_FALSE(PlatformFileSystem::FileExists((tempFiles + "/Backup_01.dat").c_str()));
}

TEST_F(FileBackupTest, SizingFailsWithoutFilesAndAssemblyWithoutRoom)
{
    const std::string empty = folder.Child("empty");
    ::mkdir(empty.c_str(), 0755);
    XFileBackup none(XString("None"));
    EXPECT_EQ(RunJob(none, false), Ended::Failed) << "no entries";
    EXPECT_EQ(RunJob(none, true), Ended::Failed) << "nothing sized";

    XFileBackup hollow(XString("Hollow"));
    const XFileEntry emptyEntry(Backslashed(empty).CStr());
    hollow.AddEntry(&emptyEntry);
    EXPECT_EQ(RunJob(hollow, false), Ended::Failed) << "entries without files";

    // Exactly a CD's size, and a file beyond 4 GiB on a DVD: neither fits on an empty disc.
    const struct
    {
        const char* name;
        uint64_t bytes;
        int32_t medium;
    } cases[] = {{"cd", 734003200ull, XDiskImage::kMediaCD700}, {"huge", 5ull << 30, XDiskImage::kMediaDVD}};
    for (const auto& c : cases)
    {
        const std::string path = folder.Child(c.name);
        MakeSizedFile(path, c.bytes);
        XFileBackup backup(XString(c.name));
        const XFileEntry entry(Backslashed(path).CStr());
        backup.AddEntry(&entry);
        ASSERT_EQ(RunJob(backup, false), Ended::Finished) << c.name;
        double largest = 0.0;
        ASSERT_EQ(backup.GetLargestFileSize(largest), 0);
        EXPECT_EQ(largest, static_cast<double>(c.bytes)) << c.name << ": the largest stands last";
        backup.SetMediaType(c.medium);
        EXPECT_EQ(RunJob(backup, true), Ended::Failed) << c.name;
    }
}
