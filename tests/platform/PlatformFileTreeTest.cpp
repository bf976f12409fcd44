#include "platform/PlatformFileTree.h"

#include "platform/PlatformFileSystem.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using FS = PlatformFileSystem;
using Tree = PlatformFileTree;
using Snapshot = std::map<std::string, std::string>;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

/** source/ with a file, a read-only file, a sub-folder, a link to a file and a link to a folder. */
void MakeSourceTree(const std::string& source)
{
    ::mkdir(source.c_str(), 0755);
    ::mkdir((source + "/sub").c_str(), 0755);
    WriteText(source + "/a.txt", "new a");
    WriteText(source + "/sub/b.txt", "b");
    WriteText(source + "/sub/readonly.txt", "r");
    ::chmod((source + "/sub/readonly.txt").c_str(), 0444);
    ::symlink("a.txt", (source + "/filelink").c_str());
    ::symlink("sub", (source + "/folderlink").c_str());
}
} // namespace

TEST(PlatformFileTreeTest, CopyMergesIntoAnExistingFolderAndCopiesLinksAsLinks)
{
    TestSupport::TempFolder folder;
    const std::string source = folder.Child("source");
    const std::string target = folder.Child("target");
    MakeSourceTree(source);
    ::mkdir(target.c_str(), 0755);
    ::mkdir((target + "/sub").c_str(), 0755);
    WriteText(target + "/a.txt", "old a");
    WriteText(target + "/keep.txt", "kept");
    WriteText(target + "/sub/other.txt", "other");
    const Snapshot before = TestSupport::TreeSnapshot(source);

    ASSERT_EQ(Tree::CopyTree(source.c_str(), (folder.Path() + "\\target").c_str()), FS::kOk);
    const Snapshot expected = {
        {"a.txt", "file:new a"},    {"keep.txt", "file:kept"},       {"sub", "folder"},
        {"sub/b.txt", "file:b"},    {"sub/other.txt", "file:other"}, {"sub/readonly.txt", "file:r"},
        {"filelink", "link:a.txt"}, {"folderlink", "link:sub"},
    };
    EXPECT_EQ(TestSupport::TreeSnapshot(target), expected);
    EXPECT_EQ(TestSupport::TreeSnapshot(source), before);

    // A fresh target is made whole, and copying again over it changes nothing.
    ASSERT_EQ(Tree::CopyTree(source.c_str(), folder.Child("fresh").c_str()), FS::kOk);
    ASSERT_EQ(Tree::CopyTree(source.c_str(), folder.Child("fresh").c_str()), FS::kOk);
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("fresh")), before);
}

TEST(PlatformFileTreeTest, RefusedCopiesAndMovesLeaveTheSourceAsItWas)
{
    TestSupport::TempFolder folder;
    const std::string source = folder.Child("source");
    MakeSourceTree(source);
    // A target whose "sub" is a file: the merge must stop there.
    const std::string blocked = folder.Child("blocked");
    ::mkdir(blocked.c_str(), 0755);
    WriteText(blocked + "/sub", "a file where a folder must go");
    WriteText(folder.Child("plain.txt"), "plain");
    ::mkfifo(folder.Child("pipe").c_str(), 0600);
    const std::string withPipe = folder.Child("withpipe");
    ::mkdir(withPipe.c_str(), 0755);
    ::mkfifo((withPipe + "/pipe").c_str(), 0600);
    const Snapshot before = TestSupport::TreeSnapshot(source);

    struct Case
    {
        std::string from;
        std::string to;
    };
    const Case cases[] = {
        {source, source},                      // onto itself
        {source, source + "/inside"},          // into itself
        {source, source + "/sub/deeper/copy"}, // below itself
        {source, folder.Path() + "/./source/x"},
        {source, blocked},                    // a file where a folder must go
        {source, folder.Child("plain.txt")},  // a folder onto a file
        {withPipe, folder.Child("pipecopy")}, // a pipe is never opened
        {folder.Child("missing"), folder.Child("anything")},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.from + " -> " + c.to);
        EXPECT_EQ(Tree::CopyTree(c.from.c_str(), c.to.c_str()), FS::kFailed);
        EXPECT_EQ(Tree::MoveTree(c.from.c_str(), c.to.c_str(), false), FS::kFailed);
        EXPECT_EQ(TestSupport::TreeSnapshot(source), before);
    }
    EXPECT_FALSE(Tree::PathExists((source + "/inside").c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(blocked).count("sub"), 1u);
    EXPECT_EQ(Tree::CopyTree(nullptr, blocked.c_str()), FS::kNullArgument);
    EXPECT_EQ(Tree::MoveTree(source.c_str(), nullptr, false), FS::kNullArgument);
}

TEST(PlatformFileTreeTest, MoveRenamesOrMergesAndCopiesAcrossVolumes)
{
    TestSupport::TempFolder folder;
    const std::string source = folder.Child("source");
    MakeSourceTree(source);
    const Snapshot tree = TestSupport::TreeSnapshot(source);

    ASSERT_EQ(Tree::MoveTree(source.c_str(), folder.Child("renamed").c_str(), true), FS::kOk);
    EXPECT_FALSE(Tree::PathExists(source.c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(folder.Child("renamed")), tree);

    // Into an existing folder: merged, then the source goes.
    const std::string merged = folder.Child("merged");
    ::mkdir(merged.c_str(), 0755);
    WriteText(merged + "/keep.txt", "kept");
    ASSERT_EQ(Tree::MoveTree(folder.Child("renamed").c_str(), merged.c_str(), false), FS::kOk);
    EXPECT_FALSE(Tree::PathExists(folder.Child("renamed").c_str()));
    Snapshot expected = tree;
    expected["keep.txt"] = "file:kept";
    EXPECT_EQ(TestSupport::TreeSnapshot(merged), expected);

    const std::string otherVolume = TestSupport::FolderOnAnotherVolume(folder.Path());
    if (otherVolume.empty())
        GTEST_SKIP() << "no second writable volume";
    const std::string away = otherVolume + "/krx640-tree-" + std::to_string(::getpid());
    ASSERT_EQ(Tree::MoveTree(merged.c_str(), away.c_str(), false), FS::kOk);
    EXPECT_FALSE(Tree::PathExists(merged.c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(away), expected);
    EXPECT_EQ(Tree::DeleteTree(away.c_str()), FS::kOk);
}

TEST(PlatformFileTreeTest, DeleteRemovesATreeAndItsLinksButNeverWhatTheyPointAt)
{
    TestSupport::TempFolder folder;
    const std::string outside = folder.Child("outside");
    ::mkdir(outside.c_str(), 0755);
    WriteText(outside + "/precious.txt", "keep me");
    const std::string doomed = folder.Child("doomed");
    MakeSourceTree(doomed);
    ::symlink(outside.c_str(), (doomed + "/sub/outsidefolder").c_str());
    ::symlink((outside + "/precious.txt").c_str(), (doomed + "/outsidefile").c_str());
    ::chmod((doomed + "/sub").c_str(), 0555); // a folder that denies writing

    EXPECT_EQ(Tree::DeleteTree((folder.Path() + "\\doomed\\").c_str()), FS::kOk);
    EXPECT_FALSE(Tree::PathExists(doomed.c_str()));
    EXPECT_EQ(TestSupport::TreeSnapshot(outside), (Snapshot{{"precious.txt", "file:keep me"}}));

    // A link to a folder goes alone; a file goes; nothing there fails.
    ::symlink(outside.c_str(), folder.Child("link").c_str());
    EXPECT_EQ(Tree::DeleteTree(folder.Child("link").c_str()), FS::kOk);
    EXPECT_TRUE(Tree::PathExists((outside + "/precious.txt").c_str()));
    EXPECT_EQ(Tree::DeleteTree((outside + "/precious.txt").c_str()), FS::kOk);
    EXPECT_EQ(Tree::DeleteTree(folder.Child("missing").c_str()), FS::kFailed);
    EXPECT_EQ(Tree::DeleteTree(nullptr), FS::kNullArgument);
}

TEST(PlatformFileTreeTest, FoldersLinksAndPermissions)
{
    TestSupport::TempFolder folder;
    const mode_t mask = ::umask(022);
    const std::string made = folder.Child("made");
    EXPECT_EQ(Tree::MakeFolder(made.c_str()), FS::kOk);
    EXPECT_EQ(Tree::MakeFolder(made.c_str()), FS::kOk) << "an existing folder is no error";
    struct stat info
    {
    };
    ASSERT_EQ(::stat(made.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u) << "the usual mode less the mask";
    ::umask(mask);
    WriteText(folder.Child("file"), "x");
    EXPECT_EQ(Tree::MakeFolder(folder.Child("file").c_str()), FS::kFailed);
    EXPECT_EQ(Tree::MakeFolder(folder.Child("no/parent").c_str()), FS::kFailed);

    ::chmod(folder.Child("file").c_str(), 0444);
    EXPECT_EQ(Tree::MakeWritable(folder.Child("file").c_str()), FS::kOk);
    ASSERT_EQ(::stat(folder.Child("file").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(Tree::MakeWritable(folder.Child("missing").c_str()), FS::kFailed);

    ::symlink("nowhere", folder.Child("dangling").c_str());
    ::symlink("made", folder.Child("folderlink").c_str());
    std::vector<Tree::FolderItem> items;
    ASSERT_TRUE(Tree::ListFolder(folder.Path().c_str(), items));
    std::map<std::string, bool> listed;
    for (const auto& item : items)
        listed[item.name] = item.isFolder;
    EXPECT_EQ(listed, (std::map<std::string, bool>{
                          {"made", true}, {"file", false}, {"dangling", false}, {"folderlink", true}}));
    EXPECT_TRUE(Tree::PathExists(folder.Child("dangling").c_str()));
    EXPECT_TRUE(Tree::IsSymbolicLink((folder.Path() + "\\folderlink\\").c_str()));
    EXPECT_FALSE(Tree::IsSymbolicLink(made.c_str()));
    EXPECT_FALSE(Tree::ListFolder(folder.Child("missing").c_str(), items));
}
