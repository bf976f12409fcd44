#include "core/XMessage.h"

#include "FileTestPaths.h"
#include "FileViewSkin.h"
#include "core/XResult.h"
#include "files/FileOperations.h"
#include "files/FileViewTypes.h"
#include "files/XFileBrowser.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileEntry.h"
#include "files/XFileRow.h"
#include "files/XFolderListing.h"
#include "files/XVolumeManager.h"
#include "gui/ManualTickClock.h"
#include "gui/ViewFactory.h"
#include "gui/XStyle.h"
#include "gui/XText.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformVolumeEjector.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XTextEditView.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <string>
#include <thread>
#include <vector>

namespace
{
using FileTestPaths::Backslashed;
constexpr int kWaitMs = 5000;

/** A browser in a window on the screen, over a temporary folder tree. */
class FileBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!UseFileViewSkin(style))
            GTEST_SKIP() << "build the target krx_skin";
        window.SetFrameXYWH(0, 0, 620, 460);
        window.setTopLeftPosition(100, 100);
        folder = Backslashed(temp.Path());
        folder.AddTrailingBackslash();
    }

    void TearDown() override
    {
        window.removeFromDesktop();
        XStyle::SetCurrentStyle(nullptr);
    }

    void MakeFile(const std::string& name) { juce::File(temp.Child(name)).replaceWithText("x"); }
    void MakeFolder(const std::string& name) { juce::File(temp.Child(name)).createDirectory(); }

    XFileBrowser& AddBrowser()
    {
        browser = new XFileBrowser("TestBrowser");
        browser->SetFrame(XRect(0, 0, 620, 460));
        window.AddChild(browser);
        return *browser;
    }

    bool Show()
    {
        window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
        window.Show();
        window.Attach();
        return ViewTest::PumpUntil([&] { return window.isShowing(); }, kWaitMs);
    }

    std::vector<std::string> ShownNames() const
    {
        std::vector<std::string> names;
        for (XFileRow* row : browser->GetFileRows())
            names.emplace_back(row->GetName().CStr());
        return names;
    }

    XFileRow* RowNamed(const std::string& name) const
    {
        for (XFileRow* row : browser->GetFileRows())
            if (name == row->GetName().CStr())
                return row;
        return nullptr;
    }

    XStyle style;
    XView window;
    TestSupport::TempFolder temp;
    XString folder;                  // the temporary folder, '\' path ending in '\'
    XFileBrowser* browser = nullptr; // a child of the window
};

using Names = std::vector<std::string>;

TEST_F(FileBrowserTest, SetFolderNormalisesThePathAndIgnoresTheCurrentFolder)
{
    XFileBrowser& files = AddBrowser();
    EXPECT_TRUE(files.SetFolder(XString(temp.Path().c_str()), true)) << "'/' read as '\\'";
    EXPECT_STREQ(files.GetFolder().CStr(), folder.CStr()) << "a held folder ends in '\\'";
    XText& pathRow = *files.GetPathText();
    EXPECT_EQ(std::string(pathRow.GetDisplayText().CStr()), temp.Path() + "/") << "the path row";
    EXPECT_FALSE(files.SetFolder(folder, true));
    XString bare = folder;
    bare = bare.Left(bare.Length() - 1);
    EXPECT_FALSE(files.SetFolder(bare, true)) << "only a trailing backslash added";
    EXPECT_TRUE(files.SetFolder(XString(""), true));
    EXPECT_STREQ(files.GetFolder().CStr(), "Root");
    EXPECT_STREQ(pathRow.GetDisplayText().CStr(), "Root");

    MakeFolder("sub");
    MakeFolder("Sub");
    XString lower = folder;
    lower += "sub\\";
    XString upper = folder;
    upper += "Sub\\";
    EXPECT_TRUE(files.SetFolder(lower, true));
    EXPECT_TRUE(files.SetFolder(upper, true)) << "two folders that differ only in case";
    EXPECT_STREQ(files.GetFolder().CStr(), upper.CStr());

    XString gone = folder;
    gone += "gone\\";
    files.SetFolder(gone, true);
    EXPECT_STREQ(pathRow.GetDisplayText().CStr(), "[Missing]");
    EXPECT_TRUE(files.GetFileRows().empty());
}

TEST_F(FileBrowserTest, FiltersHideOtherFilesAndTheFileRuleHidesSystemFiles)
{
    for (const char* name : {"a.qm7", "B.QM7", "noext", "a.qm", ".hidden", "x.sys", "autoexec.bat", "c.qm7x"})
        MakeFile(name);
    MakeFolder("sub");
    XFileBrowser& files = AddBrowser();
    files.AddFilter(XString("QM7 Files (*.qm7)"), XString("*.qm7"), true);
    files.SetFolder(folder, true);
    ASSERT_TRUE(Show());

    EXPECT_EQ(ShownNames(), (Names{"a.qm7", "B.QM7", "sub"})) << "whole patterns, any case; folders always";
    EXPECT_STREQ(files.GetFilterPattern().CStr(), "qm7");

    files.GetFilterParam().SetValue(0, true);
    EXPECT_EQ(ShownNames(), (Names{"a.qm", "a.qm7", "B.QM7", "c.qm7x", "noext", "sub"}));
    EXPECT_STREQ(files.GetFilterPattern().CStr(), "*");
}

TEST_F(FileBrowserTest, TheSelectedPathIsTheTypedNameWithTheFiltersExtension)
{
    MakeFile("old.qm7");
    XFileBrowser& files = AddBrowser();
    files.AddFilter(XString("QM7 Files (*.qm7)"), XString("*.qm7"), true);
    files.SetFolder(folder, true);
    ASSERT_TRUE(Show());

    struct Case
    {
        int filter;
        const char* typed;
        const char* expected; // after the folder
    };
    const Case cases[] = {
        {1, "notes", "notes.qm7"},  {1, "notes.txt", "notes.txt"}, {1, "sub/notes", "notes.qm7"},
        {1, "notes.", "notes.qm7"}, {0, "notes", "notes"},         {0, "notes.qm7", "notes.qm7"},
    };
    for (const Case& c : cases)
    {
        files.GetFilterParam().SetValue(c.filter, true);
        files.GetNameField()->SetText(XString(c.typed));
        XString expected = folder;
        expected += c.expected;
        EXPECT_STREQ(files.GetSelectedPath().CStr(), expected.CStr())
            << c.typed << " under filter " << c.filter;
    }

    files.GetNameField()->SetText(XString());
    EXPECT_STREQ(files.GetSelectedPath().CStr(), "");
    files.GetList()->SelectRow(files.GetList()->IndexOfRow(RowNamed("old.qm7")), true);
    XString expected = folder;
    expected += "old.qm7";
    EXPECT_STREQ(files.GetSelectedPath().CStr(), expected.CStr())
        << "the selected row, its name in the field";
    EXPECT_STREQ(files.GetNameField()->GetText().CStr(), "old.qm7");

    // Selecting a folder clears the typed name unless the browser keeps it.
    MakeFolder("sub");
    files.Refresh();
    for (const bool keep : {true, false})
    {
        files.SetKeepNameOnFolder(keep);
        files.GetNameField()->SetText(XString("typed"));
        files.GetList()->SelectRow(files.GetList()->IndexOfRow(RowNamed("sub")), true);
        EXPECT_STREQ(files.GetNameField()->GetText().CStr(), keep ? "typed" : "") << keep;
    }
    files.SetShowName(false);
    files.LayoutChildren();
    EXPECT_EQ(files.GetNameField(), nullptr) << "no Name row";
}

TEST_F(FileBrowserTest, DrivesFolderMenuAndUpMoveThroughFolders)
{
    MakeFolder("sub");
    XFileBrowser& files = AddBrowser();
    files.SetFolder(XString(), true);
    ASSERT_TRUE(Show());

    XFileRow* drive = nullptr;
    for (XFileRow* row : files.GetFileRows())
        if (row->GetPath() == "\\")
            drive = row;
    ASSERT_NE(drive, nullptr) << "the root drive is listed";
    files.RowActivated(drive, 1);
    EXPECT_STREQ(files.GetFolder().CStr(), "\\");
    files.GoUp();
    EXPECT_STREQ(files.GetFolder().CStr(), "Root") << "Up from a drive root";

    XString sub = folder;
    sub += "sub\\";
    files.SetFolder(sub, true);
    XStringArray parts;
    parts.SplitPath(sub, false);
    const int32_t last = parts.GetCount() + 1;
    EXPECT_EQ(files.GetFolderMenuParam().GetValue(), last);
    EXPECT_STREQ(files.FolderMenuItem(0).CStr(), "Root");
    EXPECT_STREQ(files.FolderMenuItem(1).CStr(), "/");
    EXPECT_STREQ(files.FolderMenuItem(last).CStr(), "sub");
    EXPECT_STREQ(files.FolderMenuItem(last + 1).CStr(), "Error");

    files.GetFolderMenuParam().ChangeValue(last - 1, true); // the user picks the folder above
    EXPECT_STREQ(files.GetFolder().CStr(), folder.CStr()) << "paths start at '\\'";
    files.RowActivated(RowNamed("sub"), 1);
    EXPECT_STREQ(files.GetFolder().CStr(), sub.CStr()) << "a folder row opens";
    files.GoUp();
    EXPECT_STREQ(files.GetFolder().CStr(), folder.CStr());
    files.GetFolderMenuParam().ChangeValue(0, true);
    EXPECT_STREQ(files.GetFolder().CStr(), "Root");
}

TEST_F(FileBrowserTest, AChangeFromAnotherThreadShowsWithinASecondWithTheSelectionKept)
{
    ViewTest::ManualTickClock clock; // the 'refr' timer's time moves only when the test says
    MakeFile("keep.txt");
    MakeFile("drop.txt");
    XFileBrowser& files = AddBrowser();
    files.SetFolder(folder, true);
    ASSERT_TRUE(Show());
    files.GetList()->SelectRow(files.GetList()->IndexOfRow(RowNamed("keep.txt")), true);

    const std::string made = temp.Child("made");
    const std::string dropped = temp.Child("drop.txt");
    std::thread worker(
        [&]
        {
            CreateFolderPath(made.c_str());
            DeleteFileAtPath(dropped.c_str());
        });
    worker.join();
    ViewTest::Pump();
    EXPECT_TRUE(files.IsRefreshPending()) << "the listener only marks the refresh";
    EXPECT_EQ(ShownNames(), (Names{"drop.txt", "keep.txt"})) << "the timer refreshes, on the GUI thread";
    clock.Advance(XFileBrowser::kRefreshPeriodMs);
    EXPECT_EQ(ShownNames(), (Names{"keep.txt", "made"})) << "at the timer's next tick, a second at most";
    XFileRow* kept = RowNamed("keep.txt");
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(files.GetList()->IsRowSelected(files.GetList()->IndexOfRow(kept)));
    EXPECT_FALSE(files.IsRefreshPending());
}

TEST_F(FileBrowserTest, TheVolumeManagerRebuildsABrowserShowingTheDrives)
{
    XFileBrowser& files = AddBrowser();
    files.SetFolder(XString(), true);
    ASSERT_TRUE(Show());
    int refreshed = 0;
    files.GetRefreshedSignal().Connect([&] { ++refreshed; });

    XVolumeManager& volumes = XVolumeManager::GetInstance();
    ASSERT_FALSE(volumes.GetDrives().empty());
    EXPECT_STREQ(volumes.GetDrives().front()->GetPath().CStr(), "\\");
    volumes.Update();
    EXPECT_EQ(refreshed, 0) << "posted, not sent";
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return refreshed == 1; }, kWaitMs));

    // A stick arrives: the list of drives is read again and the browser shows it.
    const std::string stick = temp.Child("stick");
    juce::File(stick).createDirectory();
    PlatformFileSystem::ReplaceVolumes(
        "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + stick + " vfat rw 0 0\n",
        [](const PlatformFileSystem::MountEntry& mount) -> PlatformFileSystem::VolumeInfo
        {
            return {mount.device == "/dev/sdb1" ? PlatformFileSystem::kDriveExternalBus
                                                : PlatformFileSystem::kDriveFixed,
                    ""};
        });
    struct SeamEnd
    {
        ~SeamEnd()
        {
            PlatformFileSystem::RestoreVolumes();
            XVolumeManager::GetInstance().Refresh();
        }
    } seamEnd;
    XString stickRoot = Backslashed(stick);
    stickRoot.AddTrailingBackslash();
    const auto isStick = [&](const XString& path)
    {
        XString root = path;
        root.AddTrailingBackslash();
        return root == stickRoot;
    };
    const auto browserShowsStick = [&]
    {
        for (XFileRow* row : files.GetFileRows())
            if (isStick(row->GetPath()))
                return true;
        return false;
    };
    EXPECT_FALSE(browserShowsStick());
    refreshed = 0;
    volumes.UpdateVolumes();
    ASSERT_EQ(volumes.GetDrives().size(), 2u);
    EXPECT_TRUE(isStick(volumes.GetDrives().back()->GetPath()));
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return refreshed == 1; }, kWaitMs));
    EXPECT_TRUE(browserShowsStick());

    files.SetFolder(folder, true);
    refreshed = 0;
    volumes.UpdateVolumes();
    ViewTest::Pump();
    EXPECT_EQ(refreshed, 0) << "a folder other than the drives stays";
}

/** An ejector that fails where it is told to and counts the unmount attempts. */
class FakeEjector final : public PlatformVolumeEjector
{
public:
    int32_t FindDevice(const std::string& mountPoint, std::string& device) override
    {
        device = "/dev/fake1";
        return findFails ? kFailed : kOk;
    }
    int32_t Unmount(const std::string&) override
    {
        ++unmountAttempts;
        if (noTool)
            return kNoTool;
        return unmountAttempts > busyAttempts ? kOk : kFailed;
    }
    int32_t PowerOff(const std::string&) override { return powerOffFails ? kFailed : kOk; }

    bool findFails = false;
    int busyAttempts = 0;
    bool powerOffFails = false;
    bool noTool = false;
    int unmountAttempts = 0;
};

TEST(VolumeManager, EjectionReportsItsStagesAndFailsCleanly)
{
    const double scale = PlatformClock::GetTimeScale();
    PlatformClock::SetTimeScale(1000);
    struct Case
    {
        const char* name;
        bool findFails;
        int busyAttempts;
        bool powerOffFails;
        bool noTool;
        int32_t result;
        size_t reports;
        int unmountAttempts;
    };
    const Case cases[] = {
        {"ejected", false, 0, false, false, XResult::kOk, 10, 1},
        {"busy for a while", false, 3, false, false, XResult::kOk, 10, 4},
        {"nothing mounted", true, 0, false, false, XResult::kFailed, 1, 0},
        {"stays in use", false, 1000, false, false, XResult::kFailed, 2, 100},
        {"power-off refused", false, 0, true, false, XResult::kFailed, 10, 1},
        {"no tool: not retried", false, 0, false, true, XResult::kFailed, 2, 1},
    };
    XVolumeManager& volumes = XVolumeManager::GetInstance();
    for (const Case& c : cases)
    {
        FakeEjector ejector;
        ejector.findFails = c.findFails;
        ejector.busyAttempts = c.busyAttempts;
        ejector.powerOffFails = c.powerOffFails;
        ejector.noTool = c.noTool;
        volumes.SetEjector(&ejector);
        std::vector<float> reports;
        const int32_t result = volumes.EjectVolume(
            XFileEntry("\\media\\stick\\", true, 0),
            [](float fraction, void* user) { static_cast<std::vector<float>*>(user)->push_back(fraction); },
            &reports);
        EXPECT_EQ(result, c.result) << c.name;
        ASSERT_EQ(reports.size(), c.reports) << c.name;
        for (size_t index = 0; index < reports.size(); ++index)
            EXPECT_FLOAT_EQ(reports[index], 0.1f * static_cast<float>(index + 1)) << c.name;
        EXPECT_EQ(ejector.unmountAttempts, c.unmountAttempts) << c.name;
    }
    volumes.SetEjector(nullptr);
    PlatformClock::SetTimeScale(scale);

    EXPECT_EQ(PlatformVolumeEjector::RunTool("krx-no-such-tool", "unmount", "-b", "/dev/none"), -1);
    std::string device;
    EXPECT_EQ(PlatformVolumeEjector::System().FindDevice("\\no\\such\\mount\\", device),
              PlatformVolumeEjector::kFailed);
}

TEST(VolumeManager, TheSystemEjectorRunsUdisksctlAndTakesARefusalOrNoToolAsAFailure)
{
    // A stand-in for the tool, first on the search path: it logs its arguments and refuses /dev/busy.
    TestSupport::TempFolder bin;
    const std::string log = bin.Child("calls");
    const juce::File tool(bin.Child("udisksctl"));
    tool.replaceWithText("#!/bin/sh\necho \"$@\" >> '" + log + "'\n[ \"$3\" != /dev/busy ]\n", false, false,
                         "\n");
    ASSERT_TRUE(tool.setExecutePermission(true));
    const char* const systemPath = std::getenv("PATH");
    PlatformVolumeEjector& ejector = PlatformVolumeEjector::System();
    {
        ScopedEnvironment path("PATH", bin.Path() + ":" + (systemPath != nullptr ? systemPath : ""));
        struct Case
        {
            bool powerOff;
            const char* device;
            int32_t result;
        };
        const Case cases[] = {
            {false, "/dev/sdz1", PlatformVolumeEjector::kOk},
            {false, "/dev/busy", PlatformVolumeEjector::kFailed},
            {true, "/dev/sdz1", PlatformVolumeEjector::kOk},
            {true, "/dev/busy", PlatformVolumeEjector::kFailed},
        };
        for (const Case& c : cases)
            EXPECT_EQ(c.powerOff ? ejector.PowerOff(c.device) : ejector.Unmount(c.device), c.result)
                << c.powerOff << " " << c.device;
    }
    EXPECT_EQ(juce::File(log).loadFileAsString().toStdString(),
              "unmount -b /dev/sdz1\nunmount -b /dev/busy\npower-off -b /dev/sdz1\npower-off -b /dev/busy\n");

    TestSupport::TempFolder empty;
    ScopedEnvironment noTool("PATH", empty.Path());
    EXPECT_EQ(ejector.Unmount("/dev/sdz1"), PlatformVolumeEjector::kNoTool) << "no tool";
    EXPECT_EQ(ejector.PowerOff("/dev/sdz1"), PlatformVolumeEjector::kNoTool) << "no tool";
}
} // namespace
