#include "files/FileCopyThread.h"

#include "../FileTestPaths.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <string>
#include <utility>
#include <vector>

namespace
{
using FileTestPaths::Backslashed;
using FileTestPaths::At;
constexpr int kWaitMs = 20000;

struct CopyRun
{
    std::vector<std::string> files;
    std::vector<std::pair<uint32_t, uint32_t>> progress;
    bool done = false;
    bool failed = false;
};

CopyRun CopyItems(std::vector<FileCopyThread::Item> items, const std::string& target, bool move)
{
    CopyRun run;
    FileCopyThread thread(std::move(items), Backslashed(target), move);
    thread.currentFileSignal.Connect([&run](const char* path) { run.files.emplace_back(path); });
    thread.progressSignal.Connect([&run](uint32_t done, uint32_t total)
                                  { run.progress.emplace_back(done, total); });
    thread.doneSignal.Connect([&run] { run.done = true; });
    thread.failedSignal.Connect([&run] { run.failed = true; });
    TestSupport::RunWithin(
        [&]
        {
            thread.Start(3, nullptr, nullptr);
            thread.Join();
        },
        kWaitMs);
    return run;
}

FileCopyThread::Item ItemOf(const std::string& path, const char* name)
{
    return {Backslashed(path), XString(name), true};
}
} // namespace

TEST(FileCopyThreadTest, ProgressCountsEachItemOfNPlusOneAndEndsFull)
{
    TestSupport::TempFolder folder;
    At(folder.Child("src/sub/deep.txt")).create();
    At(folder.Child("src/sub/deep.txt")).replaceWithText("deep");
    At(folder.Child("src/a.txt")).replaceWithText("a");
    At(folder.Child("dst/sub/kept.txt")).create();
    At(folder.Child("dst/a.txt")).replaceWithText("old");

    const CopyRun run =
        CopyItems({ItemOf(folder.Child("src/a.txt"), "a.txt"), ItemOf(folder.Child("src/sub"), "sub"),
                   ItemOf(folder.Child("dst/a.txt"), "a.txt")},
                  folder.Child("dst"), false);
    EXPECT_TRUE(run.done);
    EXPECT_FALSE(run.failed);
    EXPECT_EQ(run.progress, (std::vector<std::pair<uint32_t, uint32_t>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_EQ(run.files, (std::vector<std::string>{Backslashed(folder.Child("src/a.txt")).CStr(),
                                                   Backslashed(folder.Child("src/sub")).CStr(),
                                                   Backslashed(folder.Child("dst/a.txt")).CStr()}));
    EXPECT_EQ(At(folder.Child("dst/a.txt")).loadFileAsString(), "a")
        << "replaced; the copy onto itself skipped";
    EXPECT_EQ(At(folder.Child("dst/sub/deep.txt")).loadFileAsString(), "deep") << "merged";
    EXPECT_TRUE(At(folder.Child("dst/sub/kept.txt")).existsAsFile());
    EXPECT_TRUE(At(folder.Child("src/sub/deep.txt")).existsAsFile()) << "a copy keeps its source";
}

TEST(FileCopyThreadTest, AFailingItemStopsTheRestAndKeepsWhatWasDone)
{
    TestSupport::TempFolder folder;
    At(folder.Child("src")).createDirectory();
    At(folder.Child("src/a.txt")).replaceWithText("a");
    At(folder.Child("src/c.txt")).replaceWithText("c");
    At(folder.Child("dst")).createDirectory();
    const struct
    {
        const char* name;
        FileCopyThread::Item second;
    } cases[] = {{"missing source", ItemOf(folder.Child("src/none"), "none")},
                 {"not a file row", {XString(), XString(), false}}};
    for (const auto& c : cases)
    {
        const CopyRun run = CopyItems({ItemOf(folder.Child("src/a.txt"), "a.txt"), c.second,
                                   ItemOf(folder.Child("src/c.txt"), "c.txt")},
                                  folder.Child("dst"), true);
        EXPECT_TRUE(run.failed) << c.name;
        EXPECT_FALSE(run.done) << c.name;
        EXPECT_FALSE(At(folder.Child("dst/c.txt")).exists()) << c.name;
        EXPECT_TRUE(At(folder.Child("dst/a.txt")).existsAsFile()) << c.name << ": the first item stays moved";
        At(folder.Child("dst/a.txt")).moveFileTo(At(folder.Child("src/a.txt")));
    }
    EXPECT_TRUE(At(folder.Child("src/c.txt")).existsAsFile());
}
