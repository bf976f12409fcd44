#include "files/FileOperations.h"

#include "core/XResult.h"
#include "files/XFileEntry.h"
#include "platform/PlatformFileSystem.h"
#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{
using FS = PlatformFileSystem;
using Snapshot = std::map<std::string, std::string>;
constexpr int kWaitMs = 20000;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

/** Records every change the helpers report, as "path" or "path/" for a folder, while it lives. */
class Notices final
{
public:
    Notices() { XFileEntry::AddNotifyCallback(&Record, this); }
    ~Notices() { XFileEntry::RemoveNotifyCallback(&Record, this); }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(heard);
        return taken;
    }

private:
    static int32_t Record(const XFileEntry& changed, void* self)
    {
        static_cast<Notices*>(self)->heard.push_back(std::string(changed.GetPath().CStr()) +
                                                     (changed.IsFolder() ? "/" : ""));
        return 0;
    }

    std::vector<std::string> heard;
};

/** source/ with files, a sub-folder and a link to a folder outside it. */
void MakeSourceTree(const TestSupport::TempFolder& folder)
{
    ::mkdir(folder.Child("source").c_str(), 0755);
    ::mkdir(folder.Child("source/sub").c_str(), 0755);
    ::mkdir(folder.Child("outside").c_str(), 0755);
    WriteText(folder.Child("source/a.txt"), "new a");
    WriteText(folder.Child("source/sub/b.txt"), "b");
    WriteText(folder.Child("outside/precious.txt"), "keep me");
    ::symlink(folder.Child("outside").c_str(), folder.Child("source/sub/outsidelink").c_str());
}
} // namespace

TEST(FileListenersTest, ListenersAreCalledInOrderAndRemovedOnce)
{
    std::vector<std::string> calls;
    const auto first = [](const XFileEntry& changed, void* calls) -> int32_t
    {
        static_cast<std::vector<std::string>*>(calls)->push_back(std::string("first ") +
                                                                 changed.GetPath().CStr());
        return 0;
    };
    const auto second = [](const XFileEntry& changed, void* calls) -> int32_t
    {
        static_cast<std::vector<std::string>*>(calls)->push_back(std::string("second ") +
                                                                 changed.GetPath().CStr());
        return 0;
    };
    int other = 0;
    ASSERT_EQ(XFileEntry::AddNotifyCallback(first, &calls), XFileEntry::kOk);
    ASSERT_EQ(XFileEntry::AddNotifyCallback(second, &calls), XFileEntry::kOk);
    EXPECT_EQ(XFileEntry::AddNotifyCallback(nullptr, &calls), XResult::kFailed);
    NotifyFileChanged(XFileEntry("/x/y"));
    EXPECT_EQ(calls, (std::vector<std::string>{"first \\x\\y", "second \\x\\y"}));

    EXPECT_EQ(XFileEntry::RemoveNotifyCallback(first, &other), XResult::kFailed) << "never registered";
    EXPECT_EQ(XFileEntry::RemoveNotifyCallback(first, &calls), XFileEntry::kOk);
    EXPECT_EQ(XFileEntry::RemoveNotifyCallback(first, &calls), XResult::kFailed);
    calls.clear();
    NotifyFileChanged(XFileEntry("/z"));
    EXPECT_EQ(calls, (std::vector<std::string>{"second \\z"}));
    EXPECT_EQ(XFileEntry::RemoveNotifyCallback(second, &calls), XFileEntry::kOk);
}

TEST(FileListenersTest, AListenerRemovedWhileAnotherThreadCallsItIsNeverCalledAfterwards)
{
    struct Shared
    {
        std::atomic<bool> inside{false};
        std::atomic<bool> release{false};
        std::atomic<int> calls{0};
    } shared;
    const auto slow = [](const XFileEntry&, void* data) -> int32_t
    {
        auto* state = static_cast<Shared*>(data);
        state->calls++;
        state->inside = true;
        TestSupport::WaitUntil([state] { return state->release.load(); }, kWaitMs);
        state->inside = false;
        return 0;
    };
    ASSERT_EQ(XFileEntry::AddNotifyCallback(slow, &shared), XFileEntry::kOk);
    std::thread copier([] { NotifyFileChanged(XFileEntry("/copied")); });
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return shared.inside.load(); }, kWaitMs));

    std::atomic<bool> insideWhenRemoved{true};
    std::thread remover(
        [&]
        {
            XFileEntry::RemoveNotifyCallback(slow, &shared);
            insideWhenRemoved = shared.inside.load();
        });
    // Give the remover time to reach the list; it must wait for the call to end.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shared.release = true;
    remover.join();
    copier.join();
    EXPECT_FALSE(insideWhenRemoved.load());
    NotifyFileChanged(XFileEntry("/again"));
    EXPECT_EQ(shared.calls.load(), 1);
}

TEST(FileListenersTest, CollectFilesGathersFilesDepthFirstWithoutFollowingLinks)
{
    TestSupport::TempFolder folder;
    MakeSourceTree(folder);
    WriteText(folder.Child("source/.hidden"), "h");
    ::mkdir(folder.Child("source/sub/deeper").c_str(), 0755);
    WriteText(folder.Child("source/sub/deeper/c.txt"), "c");
    const std::string source = Backslashed(folder.Child("source"));

    XList<XFileEntry> files;
    std::vector<std::string> folders;
    const auto onFolder = [](const XString& path, void* folders)
    { static_cast<std::vector<std::string>*>(folders)->push_back(path.CStr()); };
    CollectFiles(XFileEntry(source.c_str()), files, onFolder, &folders, true);
    std::set<std::string> collected;
    for (auto* link = files.GetHead(); link != nullptr; link = link->next)
        collected.insert(XList<XFileEntry>::ItemOf(link)->GetPath().CStr());
    EXPECT_EQ(collected, (std::set<std::string>{source + "\\a.txt", source + "\\.hidden",
                                                source + "\\sub\\b.txt", source + "\\sub\\deeper\\c.txt"}));
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], source);
    EXPECT_EQ(std::set<std::string>(folders.begin() + 1, folders.end()),
              (std::set<std::string>{source + "\\sub", source + "\\sub\\deeper"}));
    FreeFileEntryList(files);
    EXPECT_EQ(files.GetCount(), 0);

    CollectFiles(XFileEntry(source.c_str()), files, nullptr, nullptr, false);
    EXPECT_EQ(files.GetCount(), 0) << "a folder adds nothing without recursing";
    CollectFiles(XFileEntry((source + "\\a.txt").c_str()), files, nullptr, nullptr, false);
    ASSERT_EQ(files.GetCount(), 1);
    EXPECT_STREQ(files.GetAt(0)->GetPath().CStr(), (source + "\\a.txt").c_str());
    FreeFileEntryList(files);
}

TEST(FileOperationsTest, SingleFileHelpersReportWhatTheyChanged)
{
    TestSupport::TempFolder folder;
    Notices notices;
    const std::string a = Backslashed(folder.Child("a.txt"));
    const std::string b = Backslashed(folder.Child("b.txt"));
    const std::string sub = Backslashed(folder.Child("sub"));
    WriteText(folder.Child("a.txt"), "a");
    ::mkdir(folder.Child("sub").c_str(), 0755);

    EXPECT_EQ(CopyOrMoveFile(a.c_str(), b.c_str(), true, false), FS::kOk);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(CopyOrMoveFile(a.c_str(), b.c_str(), true, true), FS::kFailed);
    EXPECT_EQ(CopyOrMoveFile(sub.c_str(), b.c_str(), true, false), FS::kSourceMissing);
    EXPECT_EQ(CopyOrMoveFile(nullptr, b.c_str(), true, false), FS::kNullArgument);
    EXPECT_TRUE(notices.Take().empty()) << "failures change nothing and tell nobody";

    EXPECT_EQ(DeleteFileAtPath(b.c_str()), FS::kOk);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{b}));
    EXPECT_EQ(DeleteFileAtPath(sub.c_str()), FS::kOk);
    EXPECT_EQ(DeleteFileAtPath(b.c_str()), FS::kFailed);
    EXPECT_EQ(DeleteFileAtPath(nullptr), FS::kNullArgument);
    EXPECT_TRUE(FS::PathIsFolder(sub.c_str()));
    EXPECT_TRUE(notices.Take().empty());

    // Renaming a file replaces the target only when asked; the listeners hear of both either way.
    WriteText(folder.Child("c.txt"), "c");
    const std::string c = Backslashed(folder.Child("c.txt"));
    EXPECT_EQ(MoveFileOrFolder(a.c_str(), c.c_str(), false), FS::kFailed);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{a, c}));
    EXPECT_EQ(MoveFileOrFolder(a.c_str(), c.c_str(), true), FS::kOk);
    const std::vector<std::string> moved = notices.Take();
    ASSERT_GE(moved.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(moved.end() - 2, moved.end()), (std::vector<std::string>{a, c}));
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Path()), (Snapshot{{"c.txt", "file:a"}, {"sub", "folder"}}));
    EXPECT_EQ(MoveFileOrFolder(a.c_str(), c.c_str(), true), FS::kFailed) << "nothing at the source";
}

TEST(FileOperationsTest, MovingFoldersRenamesOrRefusesAnExistingTarget)
{
    TestSupport::TempFolder folder;
    MakeSourceTree(folder);
    ::mkdir(folder.Child("taken").c_str(), 0755);
    Notices notices;
    const std::string source = Backslashed(folder.Child("source"));
    const std::string renamed = Backslashed(folder.Child("renamed"));
    const Snapshot tree = TestSupport::TreeSnapshot(folder.Child("source"));

    EXPECT_EQ(MoveFolder(source.c_str(), folder.Child("taken").c_str(), false, false), FS::kFailed);
    EXPECT_EQ(MoveFolder(folder.Child("source/a.txt").c_str(), renamed.c_str(), true, false), FS::kFailed);
    EXPECT_EQ(MoveFolder(source.c_str(), nullptr, true, false), FS::kFailed);
    EXPECT_TRUE(notices.Take().empty());
    EXPECT_EQ(MoveFileOrFolder(source.c_str(), renamed.c_str(), false), FS::kOk);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{source, renamed + "/"}))
        << "the source is gone, so it reads as a file";
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("renamed")), tree);
}

TEST(FileOperationsTest, ShellCopyMergesIntoTheTargetFolderAndMoveDeletesTheSource)
{
    TestSupport::TempFolder folder;
    MakeSourceTree(folder);
    ::mkdir(folder.Child("target").c_str(), 0755);
    ::mkdir(folder.Child("target/source").c_str(), 0755);
    WriteText(folder.Child("target/source/a.txt"), "old a");
    WriteText(folder.Child("target/source/keep.txt"), "kept");
    Notices notices;
    const std::string source = Backslashed(folder.Child("source"));
    const std::string target = Backslashed(folder.Child("target"));
    const Snapshot tree = TestSupport::TreeSnapshot(folder.Child("source"));

    ASSERT_EQ(ShellCopyOrMove(source.c_str(), target.c_str(), true, false), FS::kOk);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{target + "/"}));
    Snapshot merged = tree;
    merged["keep.txt"] = "file:kept";
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("target/source")), merged);
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("source")), tree);
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("outside")),
              (Snapshot{{"precious.txt", "file:keep me"}}));

    // To a name that does not exist yet: the copy takes that name.
    ASSERT_EQ(ShellCopyOrMove(source.c_str(), (target + "\\copy").c_str(), true, false), FS::kOk);
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("target/copy")), tree);
    notices.Take();

    ASSERT_EQ(ShellCopyOrMove(source.c_str(), target.c_str(), false, false), FS::kOk);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{source, target + "/"}));
    EXPECT_FALSE(FS::PathIsFolder(source.c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("target/source")), merged);
    EXPECT_EQ(ShellCopyOrMove(nullptr, target.c_str(), true, false), FS::kNullArgument);
    EXPECT_EQ(ShellCopyOrMove(source.c_str(), target.c_str(), true, false), FS::kFailed)
        << "the source is gone";
}

TEST(FileOperationsTest, ShellCopyOrMoveNeverGoesIntoItselfAndAFailureKeepsTheSource)
{
    TestSupport::TempFolder folder;
    MakeSourceTree(folder);
    ::mkdir(folder.Child("blocked").c_str(), 0755);
    ::mkdir(folder.Child("blocked/source").c_str(), 0755);
    WriteText(folder.Child("blocked/source/sub"), "a file where a folder must go");
    Notices notices;
    const std::string source = Backslashed(folder.Child("source"));
    const Snapshot tree = TestSupport::TreeSnapshot(folder.Child("source"));

    const std::string targets[] = {source, source + "\\sub", source + "\\sub\\new",
                                   Backslashed(folder.Path()), Backslashed(folder.Child("blocked"))};
    for (const std::string& target : targets)
        for (bool copy : {true, false})
        {
            SCOPED_TRACE(target + (copy ? " copy" : " move"));
            EXPECT_EQ(ShellCopyOrMove(source.c_str(), target.c_str(), copy, false), FS::kFailed);
            EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("source")), tree);
        }
    EXPECT_FALSE(FS::PathIsFolder(folder.Child("source/sub/new").c_str()));
    EXPECT_TRUE(notices.Take().empty());
}

TEST(FileOperationsTest, AMoveToAnotherVolumeCopiesThenDeletes)
{
    TestSupport::TempFolder folder;
    const std::string otherVolume = TestSupport::FolderOnAnotherVolume(folder.Path());
    if (otherVolume.empty())
        GTEST_SKIP() << "no second writable volume";
    MakeSourceTree(folder);
    const std::string away = otherVolume + "/krx640-files-" + std::to_string(::getpid());
    ASSERT_EQ(::mkdir(away.c_str(), 0755), 0);
    const Snapshot tree = TestSupport::TreeSnapshot(folder.Child("source"));
    Notices notices;

    ASSERT_EQ(ShellCopyOrMove(folder.Child("source").c_str(), away.c_str(), false, false), FS::kOk);
    EXPECT_FALSE(FS::PathIsFolder(folder.Child("source").c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(away + "/source"), tree);
    EXPECT_EQ(notices.Take(),
              (std::vector<std::string>{Backslashed(folder.Child("source")), Backslashed(away) + "/"}));
    EXPECT_EQ(ShellDelete(away.c_str()), FS::kOk);
}

TEST(FileOperationsTest, ShellDeleteRemovesATreeButNeverALinkedFolderOrADrive)
{
    TestSupport::TempFolder folder;
    MakeSourceTree(folder);
    Notices notices;
    const std::string source = Backslashed(folder.Child("source"));
    ASSERT_EQ(ShellDelete(source.c_str()), FS::kOk);
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{source}));
    EXPECT_FALSE(FS::PathIsFolder(source.c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("outside")),
              (Snapshot{{"precious.txt", "file:keep me"}}));
    EXPECT_EQ(ShellDelete(source.c_str()), FS::kFailed);
    EXPECT_EQ(ShellDelete(nullptr), FS::kNullArgument);

    // A mounted volume's root is never deleted, whatever a caller asks.
    ::mkdir(folder.Child("stick").c_str(), 0755);
    WriteText(folder.Child("stick/song.wav"), "la");
    FS::ReplaceVolumes("/dev/sdb1 " + folder.Child("stick") + " vfat rw 0 0\n",
                       [](const FS::MountEntry&) -> FS::VolumeInfo {
                           return {FS::kDriveExternalBus, ""};
                       });
    EXPECT_EQ(ShellDelete((folder.Child("stick") + "/").c_str()), FS::kFailed);
    FS::RestoreVolumes();
    EXPECT_TRUE(FS::FileExists(folder.Child("stick/song.wav").c_str()));
    EXPECT_TRUE(notices.Take().empty());
}

TEST(FileOperationsTest, CreateFolderPathMakesEveryLevelWithoutMovingTheCurrentFolder)
{
    TestSupport::TempFolder folder;
    Notices notices;
    const std::string current = FS::CurrentFolder();
    const mode_t mask = ::umask(027);
    const std::string deep = Backslashed(folder.Child("a/b/c"));
    EXPECT_EQ(CreateFolderPath(deep.c_str()), FS::kOk);
    ::umask(mask);
    EXPECT_TRUE(FS::PathIsFolder(deep.c_str()));
    EXPECT_EQ(notices.Take(), (std::vector<std::string>{Backslashed(folder.Child("a/b")) + "/"}));
    struct stat info
    {
    };
    ASSERT_EQ(::stat(folder.Child("a/b").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0750u);
    EXPECT_EQ(FS::CurrentFolder(), current);

    EXPECT_EQ(CreateFolderPath((deep + "\\").c_str()), FS::kOk) << "existing folders are no error";
    EXPECT_EQ(EnsureFolder(deep.c_str()), FS::kOk);
    EXPECT_EQ(notices.Take().size(), 1u) << "EnsureFolder of an existing folder makes and tells nothing";
    EXPECT_EQ(EnsureFolder(folder.Child("x/y").c_str()), FS::kOk);
    EXPECT_TRUE(FS::PathIsFolder(folder.Child("x/y").c_str()));

    WriteText(folder.Child("file"), "in the way");
    notices.Take();
    const std::string refused[] = {Backslashed(folder.Child("file/below")), "relative\\path", "C:\\folder"};
    for (const std::string& path : refused)
        EXPECT_EQ(CreateFolderPath(path.c_str()), FS::kFailed) << path;
    EXPECT_EQ(CreateFolderPath(nullptr), FS::kFailed);
    EXPECT_TRUE(notices.Take().empty());
    EXPECT_EQ(FS::CurrentFolder(), current);
}
