#include "core/FloatParam.h"

#include "FileTestPaths.h"
#include "FileViewSkin.h"
#include "core/XMessage.h"
#include "files/FileViewTypes.h"
#include "files/XBackupMediaSelectDialog.h"
#include "files/XDiskImage.h"
#include "files/XFileBrowser.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileEntry.h"
#include "files/XFileManager.h"
#include "files/XFileRow.h"
#include "files/XListContainer.h"
#include "files/XProgressDialog.h"
#include "files/XVolumeManager.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/ViewFactory.h"
#include "gui/XButton.h"
#include "gui/XControl.h"
#include "gui/XStyle.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformVolumeEjector.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XMeterStick.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using FileTestPaths::Backslashed;
using FileTestPaths::At;
using FS = PlatformFileSystem;
using M = juce::ModifierKeys;

constexpr int kWaitMs = 10000;

std::string Bytes(const std::string& path)
{
    juce::MemoryBlock block;
    At(path).loadFileAsData(block);
    return std::string(static_cast<const char*>(block.getData()), block.getSize());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    At(path).getParentDirectory().createDirectory();
    ASSERT_TRUE(At(path).replaceWithData(bytes.data(), bytes.size()));
}

/** A sparse file of that many bytes: as large as a disc, but taking no room. */
void WriteSparse(const std::string& path, int64_t bytes)
{
    At(path).getParentDirectory().createDirectory();
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(bytes)), 0);
    ::close(fd);
}

/** The names of the files in a folder, sorted. */
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const juce::File& file : At(folder).findChildFiles(juce::File::findFiles, false))
        names.push_back(file.getFileName().toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

/** The made-up machine of the volume seam: the system's drive "/", two USB sticks and an optical
    disc labelled "Concert 2010", the last three being folders of the test's temporary folder. */
class DriveSeam final
{
public:
    explicit DriveSeam(const TestSupport::TempFolder& folder)
        : usb(folder.Child("usb")), usb2(folder.Child("usb2")), disc(folder.Child("disc"))
    {
        for (const std::string& root : {usb, usb2, disc})
            At(root).createDirectory();
        FS::ReplaceVolumes("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + usb + " vfat rw 0 0\n/dev/sdc1 " + usb2 +
                               " vfat rw 0 0\n/dev/sr0 " + disc + " iso9660 ro 0 0\n",
                           [](const FS::MountEntry& mount) -> FS::VolumeInfo
                           {
                               if (mount.device == "/dev/sdb1" || mount.device == "/dev/sdc1")
                                   return {FS::kDriveExternalBus, ""};
                               if (mount.device == "/dev/sr0")
                                   return {FS::kDriveCdRom, "Concert 2010"};
                               return {FS::kDriveFixed, ""};
                           });
    }
    ~DriveSeam() { FS::RestoreVolumes(); }

    /** Puts another disc into the drive: the drive's files become a copy of the folder's. */
    void InsertDisc(const std::string& contents) const
    {
        for (const juce::File& old : At(disc).findChildFiles(juce::File::findFilesAndDirectories, false))
            old.deleteRecursively();
        ASSERT_TRUE(At(contents).copyDirectoryTo(At(disc)));
    }

    const std::string usb;
    const std::string usb2;
    const std::string disc;
};

/** The clock runs faster for the length of a test. */
class ScopedTimeScale final
{
public:
    explicit ScopedTimeScale(double scale) : saved(PlatformClock::GetTimeScale())
    {
        PlatformClock::SetTimeScale(scale);
    }
    ~ScopedTimeScale() { PlatformClock::SetTimeScale(saved); }

private:
    const double saved;
};

/** Calls step on the message thread every few milliseconds until it returns true. */
class Poller final : private juce::Timer
{
public:
    explicit Poller(std::function<bool()> stepFunction) : step(std::move(stepFunction)) { startTimer(5); }
    ~Poller() override { stopTimer(); }

private:
    void timerCallback() override
    {
        if (step())
            stopTimer();
    }

    std::function<bool()> step;
};

/** A file manager whose open document the test chooses. */
class TestFileManager final : public XFileManager
{
public:
    XString GetOpenDocumentPath() const override { return documentPath; }
    XString documentPath;
};

/** An ejector that ejects at once, or refuses the volumes it is told, and records when each
    ejection began (on the scaled clock). */
class FakeEjector final : public PlatformVolumeEjector
{
public:
    int32_t FindDevice(const std::string& mountPoint, std::string& device) override
    {
        device = mountPoint;
        return kOk;
    }
    int32_t Unmount(const std::string& device) override
    {
        std::lock_guard<std::mutex> hold(lock);
        ejected.push_back(device);
        ticks.push_back(PlatformClock::GetTickCount());
        return kOk;
    }
    /** The refused device cannot be powered off, which fails its ejection at once. While
        holdPowerOff is set the ejection waits here (at 90 %), up to 20 s. */
    int32_t PowerOff(const std::string& device) override
    {
        waiting = true;
        for (int turn = 0; holdPowerOff && turn < 10000; ++turn)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return !refuse.empty() && device.find(refuse) != std::string::npos ? kFailed : kOk;
    }

    std::atomic<bool> holdPowerOff{false};
    std::atomic<bool> waiting{false};
    std::mutex lock;
    std::vector<std::string> ejected; // guarded by lock
    std::vector<uint32_t> ticks;      // guarded by lock
    std::string refuse;
};

/** Lets progress dialogs run (recording their titles and results) and answers every other dialog
    from a queue (OK when empty), recording title and text. */
class FileManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!UseFileViewSkin(style))
            GTEST_SKIP() << "build the target krx_skin";
        window.SetFrameXYWH(0, 0, 900, 520);
        window.setTopLeftPosition(60, 60);
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                if (auto* progress = dynamic_cast<XProgressDialog*>(&dialog))
                {
                    progressTitles.emplace_back(progress->GetDialogTitle().CStr());
                    runningProgress = progress;
                    progress->resultSignal.Connect([this](XDialogResult result)
                                                   { progressResults.push_back(result); });
                    return XDialog::kNotEnded;
                }
                if (mediaChoice != 0 && dynamic_cast<XBackupMediaSelectDialog*>(&dialog) != nullptr)
                {
                    // The user picks the medium in the dialog's menu.
                    auto* menu = dynamic_cast<XControl*>(dialog.FindView("typeSelectPopup"));
                    EXPECT_NE(menu, nullptr);
                    if (menu != nullptr && menu->GetPot() != nullptr)
                        menu->GetPot()->ChangeValue(mediaChoice, true);
                }
                auto* box = dynamic_cast<XOKDialog*>(&dialog);
                shown.push_back(box != nullptr
                                    ? std::string(box->GetDialogTitle().CStr()) + "|" + box->GetText().CStr()
                                    : std::string(dialog.GetClassNameText()));
                if (onShown)
                    onShown(shown.back());
                if (answers.empty())
                    return XDialog::kOK;
                const XDialogResult answer = answers.front();
                answers.erase(answers.begin());
                return answer;
            });
    }

    void TearDown() override
    {
        XDialog::SetAnswerHook({});
        XVolumeManager::GetInstance().SetEjector(nullptr);
        if (XParam* media = XBackupMediaSelectDialog::GetMediaTypeParam())
            media->SetValue(XBackupMediaSelectDialog::kDefaultMediaType, false);
        window.removeFromDesktop();
        XStyle::SetCurrentStyle(nullptr);
    }

    TestFileManager& AddManager(std::initializer_list<const char*> flags)
    {
        manager = new TestFileManager();
        XMessage block;
        block.AddRect("frame", XRect(0, 0, 900, 520));
        for (const char* flag : flags)
            block.AddBool(flag, true);
        manager->ReadAttributes(block);
        manager->SetFrame(XRect(0, 0, 900, 520));
        window.AddChild(manager);
        return *manager;
    }

    bool Show()
    {
        window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
        window.Show();
        window.Attach();
        mouse = std::make_unique<GuiTestSupport::PeerMouse>(window);
        return ViewTest::PumpUntil([&] { return window.isShowing(); }, kWaitMs);
    }

    static XFileRow* RowNamed(XFileBrowser& pane, const char* name)
    {
        for (XFileRow* row : pane.GetFileRows())
            if (row->GetName() == name)
                return row;
        return nullptr;
    }

    /** A real click on a row's name cell; held names a key held meanwhile ("control"), as the
        key-state parameters tell it. */
    void ClickRow(XFileBrowser& pane, const char* name, const char* held = nullptr)
    {
        std::unique_ptr<FloatParam> key;
        if (held != nullptr)
        {
            key = ViewTest::MakeParam(0, 1, held);
            key->SetPath("dca\\%s", held);
            key->SetValue(1, false);
        }
        const M keys;
        XFileRow* row = RowNamed(pane, name);
        ASSERT_NE(row, nullptr) << name;
        const XRect rect = pane.GetList()->GetRowRect(row);
        juce::Component& area = *pane.GetList()->GetContainer();
        const juce::Point<int> point{pane.GetList()->GetWidth() * 30 / 100, (rect.top + rect.bottom) / 2};
        mouse->Wait(1000);
        mouse->Send(area, point, keys.withFlags(M::leftButtonModifier));
        mouse->Send(area, point, keys);
        ViewTest::Pump();
    }

    void ClickButton(XButton* button)
    {
        ASSERT_NE(button, nullptr);
        // One mouse for the whole test: its events keep apart in time, so no two clicks make a
        // double click.
        mouse->Wait(1000);
        const juce::Point<int> centre = button->getLocalBounds().getCentre();
        mouse->Send(*button, centre, M(M::leftButtonModifier));
        mouse->Send(*button, centre, M());
        ViewTest::Pump();
    }

    static bool Lit(XButton* button) { return button != nullptr && button->IsHilited(); }

    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const std::string& text : shown)
            titles.push_back(text.substr(0, text.find('|')));
        return titles;
    }

    XStyle style;
    XView window;
    TestFileManager* manager = nullptr;
    std::unique_ptr<GuiTestSupport::PeerMouse> mouse;
    TestSupport::TempFolder temp;
    std::vector<XDialogResult> answers;
    std::vector<std::string> shown;
    std::vector<std::string> progressTitles;
    std::vector<XDialogResult> progressResults;
    /** The last progress dialog run, null once it is gone. */
    juce::Component::SafePointer<XProgressDialog> runningProgress;
    /** Called with each answered dialog's "title|text" before it is answered. */
    std::function<void(const std::string&)> onShown;
    /** The medium picked in "Burn Options"; 0 leaves it. */
    int32_t mediaChoice = 0;
};
} // namespace

TEST_F(FileManagerTest, CopiesAndMovesBetweenThePanesWithTheConflictQuestions)
{
    const std::string binary("\x00\x01\xfe\xff payload", 12);
    WriteBytes(temp.Child("src/a.bin"), binary);
    WriteBytes(temp.Child("src/sub/x.bin"), binary + "x");
    WriteBytes(temp.Child("dst/a.bin"), "old");
    WriteBytes(temp.Child("dst/sub/kept.txt"), "kept");
    WriteBytes(temp.Child("dst/c.txt"), "moving over");

    TestFileManager& files = AddManager({});
    ASSERT_TRUE(Show());
    files.GetSourcePane()->SetFolder(Backslashed(temp.Child("src")), true);
    files.GetDestPane()->SetFolder(Backslashed(temp.Child("dst")), true);
    ViewTest::Pump();
    EXPECT_FALSE(Lit(files.GetCopyRightButton())) << "nothing selected yet";

    ClickRow(*files.GetSourcePane(), "a.bin");
    ClickRow(*files.GetSourcePane(), "sub", "control");
    ASSERT_EQ(files.GetSourcePane()->GetSelectedEntries().size(), 2u);
    EXPECT_EQ(files.GetActivePane(), files.GetSourcePane());
    EXPECT_TRUE(Lit(files.GetCopyRightButton()));
    EXPECT_FALSE(Lit(files.GetCopyLeftButton()));
    GuiTestSupport::TakeScreenshot(window, "file_manager");

    ClickButton(files.GetCopyRightButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return !progressResults.empty(); }, kWaitMs));
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Folder Exists...", "Overwrite All?"}));
    EXPECT_EQ(progressTitles, std::vector<std::string>{"Copying Files..."});
    EXPECT_EQ(progressResults, std::vector<XDialogResult>{XDialog::kOK});
    EXPECT_EQ(Bytes(temp.Child("dst/a.bin")), binary);
    EXPECT_EQ(Bytes(temp.Child("dst/sub/x.bin")), binary + "x");
    EXPECT_EQ(Bytes(temp.Child("dst/sub/kept.txt")), "kept") << "merged, not replaced";
    EXPECT_EQ(Bytes(temp.Child("src/a.bin")), binary);

    // Moving leftwards from the destination pane, declining the overwrite first.
    shown.clear();
    progressTitles.clear();
    progressResults.clear();
    WriteBytes(temp.Child("src/c.txt"), "in the way");
    files.GetDestPane()->Refresh();
    ClickRow(*files.GetDestPane(), "c.txt");
    EXPECT_EQ(files.GetActivePane(), files.GetDestPane());
    EXPECT_TRUE(Lit(files.GetMoveLeftButton()));
    EXPECT_FALSE(Lit(files.GetMoveRightButton()));
    answers = {XDialog::kCancel};
    ClickButton(files.GetMoveLeftButton());
    EXPECT_EQ(Titles(), std::vector<std::string>{"Overwrite All?"}) << ::testing::PrintToString(shown);
    EXPECT_TRUE(progressTitles.empty()) << "declined: nothing moves";
    EXPECT_EQ(Bytes(temp.Child("src/c.txt")), "in the way");

    shown.clear();
    ClickButton(files.GetMoveLeftButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return !progressResults.empty(); }, kWaitMs));
    EXPECT_EQ(progressTitles, std::vector<std::string>{"Moving File..."}) << ::testing::PrintToString(shown);
    EXPECT_EQ(Bytes(temp.Child("src/c.txt")), "moving over");
    EXPECT_FALSE(At(temp.Child("dst/c.txt")).exists());
}

TEST_F(FileManagerTest, AFailureAtTheSecondItemKeepsTheFirstAndEverySource)
{
    WriteBytes(temp.Child("src/a.txt"), "first");
    WriteBytes(temp.Child("src/sub/x/inner.txt"), "inner");
    WriteBytes(temp.Child("dst/sub/x"), "a file where the folder must go");

    TestFileManager& files = AddManager({});
    ASSERT_TRUE(Show());
    files.GetSourcePane()->SetFolder(Backslashed(temp.Child("src")), true);
    files.GetDestPane()->SetFolder(Backslashed(temp.Child("dst")), true);
    ViewTest::Pump();
    ClickRow(*files.GetSourcePane(), "a.txt");
    ClickRow(*files.GetSourcePane(), "sub", "control");
    ClickButton(files.GetCopyRightButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return shown.size() >= 2; }, kWaitMs));

    EXPECT_EQ(progressResults, std::vector<XDialogResult>{XDialog::kNo});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(Titles()[0], "Folder Exists...");
    EXPECT_EQ(shown[1].substr(shown[1].find('|') + 1), "An unknown error occurred during the file transfer.");
    EXPECT_EQ(Bytes(temp.Child("dst/a.txt")), "first") << "the first item stays copied";
    EXPECT_EQ(Bytes(temp.Child("dst/sub/x")), "a file where the folder must go");
    EXPECT_EQ(Bytes(temp.Child("src/a.txt")), "first");
    EXPECT_EQ(Bytes(temp.Child("src/sub/x/inner.txt")), "inner");
}

TEST_F(FileManagerTest, TheColumnKeepsItsRowsAndMargins)
{
    struct Case
    {
        std::vector<const char*> flags;
        int32_t parts;    // divisor of the margin
        int32_t shareRow; // -1: no button
        int32_t unmountRow;
        int32_t backupRow;
    };
    const Case cases[] = {
        {{}, 4, -1, -1, -1},
        {{"hasBurnButton"}, 5, -1, -1, 11},
        {{"hasBurnButton", "hasShareButton"}, 6, 10, -1, 12},
        {{"hasBurnButton", "hasUnmountButton"}, 6, -1, 10, 12},
        {{"hasBurnButton", "hasShareButton", "hasUnmountButton"}, 7, 10, 11, 13},
    };
    for (const Case& c : cases)
    {
        TestFileManager files;
        XMessage block;
        for (const char* flag : c.flags)
            block.AddBool(flag, true);
        files.ReadAttributes(block);
        files.SetFrame(XRect(0, 0, 900, 520));
        window.AddChild(&files);
        const int32_t margin = (520 - 7 * 28) / c.parts;
        EXPECT_EQ(files.ColumnMargin(520), margin) << c.parts;
        EXPECT_EQ(files.ColumnMargin(7 * 28 - 1), 0);
        const auto top = [&](XButton* button) { return button != nullptr ? button->getY() : -1; };
        const auto rowTop = [&](int32_t row) { return row < 0 ? -1 : margin + row * 28; };
        EXPECT_EQ(top(files.GetCopyRightButton()), rowTop(1));
        EXPECT_EQ(top(files.GetMoveLeftButton()), rowTop(6));
        EXPECT_EQ(top(files.GetDeleteButton()), rowTop(8));
        EXPECT_EQ(top(files.GetShareButton()), rowTop(c.shareRow));
        EXPECT_EQ(top(files.GetUnmountButton()), rowTop(c.unmountRow));
        EXPECT_EQ(top(files.GetBackupButton()), rowTop(c.backupRow));
        EXPECT_EQ(top(files.GetRestoreButton()), c.backupRow < 0 ? -1 : rowTop(c.backupRow + 1));
        EXPECT_EQ(files.GetDeleteButton()->getX(), 450 - 50 + 10);
        EXPECT_EQ(files.GetDeleteButton()->GetWidth(), 100 - 20);
        EXPECT_EQ(files.GetSourcePane()->GetWidth(), 400);
        window.RemoveChild(&files);
    }
}

TEST_F(FileManagerTest, TheDriveButtonsFollowTheSelectedDrives)
{
    DriveSeam seam(temp);
    WriteBytes(seam.usb + "/song.wav", "sound");
    WriteBytes(seam.disc + "/Concert_2010.dat", "<backup/>");
    TestFileManager& files = AddManager({"hasBurnButton", "hasShareButton", "hasUnmountButton"});
    ASSERT_TRUE(Show());
    const int32_t margin = (520 - 7 * 28) / 7;
    EXPECT_EQ(files.GetShareButton()->getY(), margin + 10 * 28);
    EXPECT_EQ(files.GetUnmountButton()->getY(), margin + 11 * 28);
    EXPECT_EQ(files.GetBackupButton()->getY(), margin + 13 * 28);
    EXPECT_EQ(files.GetRestoreButton()->getY(), margin + 14 * 28);
    for (XButton* button : {files.GetShareButton(), files.GetUnmountButton(), files.GetBackupButton(),
                            files.GetRestoreButton()})
    {
        EXPECT_EQ(button->getX(), 450 - 50 + 10);
        EXPECT_EQ(button->GetWidth(), 100 - 20);
        EXPECT_EQ(button->GetHeight(), 28);
    }

    XFileBrowser& pane = *files.GetSourcePane();
    struct Case
    {
        const char* folder; // "" for the drives
        std::vector<const char*> rows;
        bool del;
        bool unmount;
        bool backup;
        bool restore;
    };
    const std::string usb = Backslashed(seam.usb).CStr();
    const Case cases[] = {
        {"", {"usb"}, false, true, false, false},
        {"", {"usb", "usb2"}, false, true, false, false},
        {"", {"usb", "/"}, false, false, false, false},
        {"", {"/", "usb"}, false, false, false, false},
        {"", {"/"}, false, false, false, false},
        {"", {"disc"}, false, false, false, true},
        {usb.c_str(), {"song.wav"}, true, false, true, false},
    };
    for (const Case& c : cases)
    {
        const std::string name =
            std::string(c.folder) + ":" + c.rows.front() + "+" + std::to_string(c.rows.size());
        pane.SetFolder(XString(*c.folder != '\0' ? c.folder : "Root"), true);
        ViewTest::Pump();
        for (size_t index = 0; index < c.rows.size(); ++index)
            ClickRow(pane, c.rows[index], index > 0 ? "control" : nullptr);
        ASSERT_EQ(pane.GetSelectedEntries().size(), c.rows.size()) << name;
        EXPECT_TRUE(Lit(files.GetCopyRightButton())) << name;
        EXPECT_TRUE(Lit(files.GetShareButton())) << name;
        EXPECT_EQ(Lit(files.GetDeleteButton()), c.del) << name;
        EXPECT_EQ(Lit(files.GetUnmountButton()), c.unmount) << name;
        EXPECT_EQ(Lit(files.GetBackupButton()), c.backup) << name;
        EXPECT_EQ(Lit(files.GetRestoreButton()), c.restore) << name;
        if (c.rows.size() == 1 && std::string(c.rows.front()) == "usb")
            GuiTestSupport::TakeScreenshot(window, "file_manager_drives");
    }
    EXPECT_TRUE(shown.empty()) << ::testing::PrintToString(shown);

    ClickButton(files.GetShareButton());
    EXPECT_EQ(shown, std::vector<std::string>{"Sharing...|Sharing files is not available here."});
}

TEST_F(FileManagerTest, UnmountKeepsTheOpenDocumentsVolumeAndEjectsTheOther)
{
    DriveSeam seam(temp);
    FakeEjector ejector;
    XVolumeManager::GetInstance().SetEjector(&ejector);
    ScopedTimeScale fast(20);
    TestFileManager& files = AddManager({"hasUnmountButton"});
    files.documentPath = Backslashed(seam.usb + "/shows/live.qm7");
    ASSERT_TRUE(Show());
    files.GetSourcePane()->SetFolder(XString("Root"), true);
    ViewTest::Pump();
    ClickRow(*files.GetSourcePane(), "usb");
    ClickRow(*files.GetSourcePane(), "usb2", "control");
    ASSERT_TRUE(Lit(files.GetUnmountButton()));
    // A picture of the dialog while the stick's ejection waits at its last stage.
    ejector.holdPowerOff = true;
    bool pictured = false;
    Poller picture(
        [&]
        {
            if (!ejector.waiting || runningProgress == nullptr)
                return false;
            ControlRefreshQueue::Get().RefreshQueuedControls();
            EXPECT_EQ(runningProgress->GetProgress(), 90);
            EXPECT_STREQ(runningProgress->GetProgressText().CStr(), "Unmounting volume 'usb2'\t(1 of 1)");
            GuiTestSupport::TakeScreenshot(*runningProgress, "unmount_progress");
            pictured = true;
            ejector.holdPowerOff = false;
            return true;
        });
    ClickButton(files.GetUnmountButton());
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return !progressResults.empty(); }, kWaitMs));

    const std::string usbRoot = std::string(Backslashed(seam.usb).CStr()) + "\\";
    EXPECT_EQ(shown, std::vector<std::string>{"Error...|The volume " + usbRoot +
                                              " is in use and cannot be unmounted."});
    EXPECT_TRUE(pictured);
    EXPECT_EQ(progressTitles, std::vector<std::string>{"Unmounting Volume"}) << "one volume left";
    EXPECT_EQ(progressResults, std::vector<XDialogResult>{XDialog::kOK});
    std::lock_guard<std::mutex> hold(ejector.lock);
    ASSERT_EQ(ejector.ejected.size(), 1u);
    EXPECT_NE(ejector.ejected.front().find("usb2"), std::string::npos) << ejector.ejected.front();
}

TEST_F(FileManagerTest, UnmountEjectsTwoSticksThreeSecondsApartAndReportsAFailingSecond)
{
    DriveSeam seam(temp);
    ScopedTimeScale fast(20);
    struct Case
    {
        const char* refuse;
        XDialogResult result;
        std::vector<std::string> errors;
    };
    const std::string failed = std::string("Error|") + XFileManager::kUnmountFailedText;
    const Case cases[] = {
        {"", XDialog::kOK, {}},
        {"usb2", XDialog::kNo, {failed}},
    };
    TestFileManager& files = AddManager({"hasUnmountButton"});
    ASSERT_TRUE(Show());
    for (const Case& c : cases)
    {
        FakeEjector ejector;
        ejector.refuse = c.refuse;
        XVolumeManager::GetInstance().SetEjector(&ejector);
        shown.clear();
        progressTitles.clear();
        progressResults.clear();
        files.GetSourcePane()->SetFolder(XString("Root"), true);
        ViewTest::Pump();
        ClickRow(*files.GetSourcePane(), "usb");
        ClickRow(*files.GetSourcePane(), "usb2", "control");
        ClickButton(files.GetUnmountButton());
        ASSERT_TRUE(ViewTest::PumpUntil([&] { return !progressResults.empty(); }, kWaitMs)) << c.refuse;

        EXPECT_EQ(progressTitles, std::vector<std::string>{"Unmounting Volumes"}) << c.refuse;
        EXPECT_EQ(progressResults, std::vector<XDialogResult>{c.result}) << c.refuse;
        std::vector<std::string> errors;
        for (const std::string& text : shown)
            errors.push_back(text.substr(0, 5) == "Error" ? "Error" + text.substr(text.find('|')) : text);
        EXPECT_EQ(errors, c.errors) << c.refuse;
        std::lock_guard<std::mutex> hold(ejector.lock);
        ASSERT_EQ(ejector.ejected.size(), 2u) << c.refuse;
        EXPECT_NE(ejector.ejected[0].find("usb"), std::string::npos);
        EXPECT_NE(ejector.ejected[1].find("usb2"), std::string::npos);
        // The pause before the second stick, on the scaled clock: never shorter.
        EXPECT_GE(PlatformClock::TicksSince(ejector.ticks[0], ejector.ticks[1]), 3000u) << c.refuse;
        XVolumeManager::GetInstance().SetEjector(nullptr);
    }
}

TEST_F(FileManagerTest, BackupWritesTheDiscImagesOrStopsWhereTheUserOrTheMediumSays)
{
    DriveSeam seam(temp);
    const std::string tempFiles = temp.Child("tmp");
    At(tempFiles).createDirectory();
    ScopedEnvironment tmpdir("TMPDIR", tempFiles);
    constexpr int64_t kMiB = 1048576;
    struct Case
    {
        const char* name;
        std::vector<int64_t> sizes;
        int32_t medium;
        std::vector<XDialogResult> answers;
        std::vector<std::string> progress;
        std::vector<std::string> shownTitles;
        std::vector<std::string> indexFiles; // left in the temporary-files folder
    };
    const std::vector<std::string> both{"Preparing to Burn...", "Building Disk Images..."};
    const Case cases[] = {
        {"one disc", {5, 7}, XDiskImage::kMediaDVD, {}, both, {"Burn Options", "Backup"}, {"f0.bin_00.dat"}},
        {"two discs declined",
         {400 * kMiB, 400 * kMiB},
         XDiskImage::kMediaCD700,
         {XDialog::kOK, XDialog::kCancel},
         both,
         {"Burn Options", "Backup Confirmation..."},
         {}},
        {"two discs",
         {400 * kMiB, 400 * kMiB},
         XDiskImage::kMediaCD700,
         {},
         both,
         {"Burn Options", "Backup Confirmation...", "Backup"},
         {"f0.bin_00.dat", "f0.bin_01.dat"}},
        {"a file as large as the disc",
         {734003200, 1},
         XDiskImage::kMediaCD700,
         {},
         {"Preparing to Burn..."},
         {"Burn Options", "Error..."},
         {}},
        {"cancelled",
         {5},
         XDiskImage::kMediaDVD,
         {XDialog::kCancel},
         {"Preparing to Burn..."},
         {"Burn Options"},
         {}},
    };
    TestFileManager& files = AddManager({"hasBurnButton"});
    ASSERT_TRUE(Show());
    for (const Case& c : cases)
    {
        const std::string source = seam.usb + "/" + std::to_string(&c - cases);
        for (size_t index = 0; index < c.sizes.size(); ++index)
            WriteSparse(source + "/f" + std::to_string(index) + ".bin", c.sizes[index]);
        for (const std::string& old : FilesIn(tempFiles))
            At(tempFiles + "/" + old).deleteFile();
        shown.clear();
        progressTitles.clear();
        progressResults.clear();
        answers = c.answers;
        mediaChoice = c.medium;
        files.GetSourcePane()->SetFolder(Backslashed(source), true);
        ViewTest::Pump();
        for (size_t index = 0; index < c.sizes.size(); ++index)
            ClickRow(*files.GetSourcePane(), ("f" + std::to_string(index) + ".bin").c_str(),
                     index > 0 ? "control" : nullptr);
        ASSERT_TRUE(Lit(files.GetBackupButton())) << c.name;
        ClickButton(files.GetBackupButton());

        EXPECT_EQ(progressTitles, c.progress) << c.name;
        EXPECT_EQ(progressResults, std::vector<XDialogResult>(c.progress.size(), XDialog::kOK)) << c.name;
        EXPECT_EQ(Titles(), c.shownTitles) << c.name << ::testing::PrintToString(shown);
        EXPECT_EQ(FilesIn(tempFiles), c.indexFiles) << c.name;
        const std::string last = shown.empty() ? "" : shown.back();
        if (c.shownTitles.back() == "Backup")
        {
            // Burning is not here: the user learns where each disc's index was written.
            EXPECT_EQ(last.find("Backup|Burning discs is not available here."), 0u) << last;
            for (const std::string& index : c.indexFiles)
                EXPECT_NE(last.find(tempFiles + "/" + index), std::string::npos) << last;
        }
        if (c.shownTitles.back() == "Backup Confirmation...")
        {
            EXPECT_EQ(last, "Backup Confirmation...|This backup operation will require 2 - 700 MB (80 min) "
                            "compact discs.\r\n\r\nDo you want to continue?");
        }
        if (c.shownTitles.back() == "Error...")
        {
            EXPECT_EQ(last.substr(last.find('|') + 1),
                      "One or more files exceed the maximum media capacity. Please use a larger disk type.");
        }
    }
}

TEST_F(FileManagerTest, BackupWithoutADiscDriveSaysSoAndWritesNothing)
{
    const std::string stick = temp.Child("usb");
    WriteBytes(stick + "/song.wav", "sound");
    FS::ReplaceVolumes("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + stick + " vfat rw 0 0\n",
                       [](const FS::MountEntry& mount) -> FS::VolumeInfo {
                           return {mount.device == "/dev/sdb1" ? FS::kDriveExternalBus : FS::kDriveFixed, ""};
                       });
    struct SeamEnd
    {
        ~SeamEnd() { FS::RestoreVolumes(); }
    } seamEnd;
    const std::string tempFiles = temp.Child("tmp");
    At(tempFiles).createDirectory();
    ScopedEnvironment tmpdir("TMPDIR", tempFiles);
    TestFileManager& files = AddManager({"hasBurnButton"});
    ASSERT_TRUE(Show());
    files.GetSourcePane()->SetFolder(Backslashed(stick), true);
    ViewTest::Pump();
    ClickRow(*files.GetSourcePane(), "song.wav");
    ClickButton(files.GetBackupButton());
    EXPECT_EQ(shown, std::vector<std::string>{
                         "Can't burn files...|There are no burnable CD or DVD drives in the system."});
    EXPECT_TRUE(progressTitles.empty());
    EXPECT_TRUE(FilesIn(tempFiles).empty());
}

TEST_F(FileManagerTest, RestoreAsksForEachDiscInTurnAndCopiesTheSetBack)
{
    DriveSeam seam(temp);
    const std::string tempFiles = temp.Child("tmp");
    At(tempFiles).createDirectory();
    ScopedEnvironment tmpdir("TMPDIR", tempFiles);
    WriteBytes(seam.usb + "/music/a.wav", "first disc's sound");
    WriteBytes(seam.usb + "/music/deep/b.wav", "second disc's sound");

    // Two discs as a burner would make them: each with its files and its index under one name.
    const std::pair<const char*, const char*> discs[] = {{"music/a.wav", "disc1"},
                                                         {"music/deep/b.wav", "disc2"}};
    for (int32_t index = 0; index < 2; ++index)
    {
        XDiskImage image(XString("Concert 2010"), index);
        image.AddFile(XFileEntry(Backslashed(seam.usb + "/" + discs[index].first).CStr()));
        ASSERT_EQ(image.WriteIndex(2), 0);
        const std::string disc = temp.Child(discs[index].second);
        WriteBytes(disc + "/" + discs[index].first, Bytes(seam.usb + "/" + discs[index].first));
        XString written = image.GetIndexPath();
        written.ReplaceChar('\\', '/');
        ASSERT_TRUE(At(written.CStr()).copyFileTo(At(disc + "/Concert_2010.dat")));
    }
    At(seam.usb + "/music").deleteRecursively();
    seam.InsertDisc(temp.Child("disc2"));

    int insertFirst = 0;
    onShown = [&](const std::string& text)
    {
        // The first request is answered with the wrong disc still in the drive.
        if (text == "Restore|Please insert disk 1 of the restore set..." && ++insertFirst == 2)
            seam.InsertDisc(temp.Child("disc1"));
        if (text == "Restore|Please insert disk 2 of the restore set...")
            seam.InsertDisc(temp.Child("disc2"));
    };
    answers = {XDialog::kNo}; // keep the drive the data came from
    TestFileManager& files = AddManager({"hasBurnButton"});
    ASSERT_TRUE(Show());
    At(temp.Child("elsewhere")).createDirectory();
    files.GetDestPane()->SetFolder(Backslashed(temp.Path()), true);
    files.GetSourcePane()->SetFolder(XString("Root"), true);
    ViewTest::Pump();
    ClickRow(*files.GetDestPane(), "elsewhere");
    ClickRow(*files.GetSourcePane(), "disc");
    ASSERT_TRUE(Lit(files.GetRestoreButton()));
    ClickButton(files.GetRestoreButton());

    const std::vector<std::string> expected{
        "Select Restore Destination|The data was originally located on the drive:\r\n\t\t\t\tusb.\r\n\r\nYou "
        "have "
        "selected a different drive to restore to:\r\n\t\t\t\t/.\r\n\r\nWould you prefer to restore to /, "
        "rather "
        "than usb?",
        "About to Restore...|You have chosen to restore to usb.\r\n\r\nAre you sure you want to proceed with "
        "the "
        "Restore operation?",
        "Restore|Please insert disk 1 of the restore set...",
        "Restore|Please insert disk 1 of the restore set...",
        "Restore|Please insert disk 2 of the restore set..."};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(progressTitles, (std::vector<std::string>{"Restoring...", "Restoring..."}));
    EXPECT_EQ(progressResults, (std::vector<XDialogResult>{XDialog::kOK, XDialog::kOK}));
    EXPECT_EQ(Bytes(seam.usb + "/music/a.wav"), "first disc's sound");
    EXPECT_EQ(Bytes(seam.usb + "/music/deep/b.wav"), "second disc's sound");

    // With the second disc in the drive, the user gives up when asked for the first.
    At(seam.usb + "/music").deleteRecursively();
    seam.InsertDisc(temp.Child("disc2"));
    onShown = {};
    shown.clear();
    progressTitles.clear();
    answers = {XDialog::kNo, XDialog::kOK, XDialog::kCancel};
    ClickRow(*files.GetSourcePane(), "disc");
    ClickButton(files.GetRestoreButton());
    EXPECT_EQ(shown, std::vector<std::string>(expected.begin(), expected.begin() + 3));
    EXPECT_TRUE(progressTitles.empty());
    EXPECT_FALSE(At(seam.usb + "/music").exists());
}

TEST_F(FileManagerTest, TheSizeGraphsShowHowMuchOfADiscEachSelectionFills)
{
    const std::string folder = temp.Child("big");
    WriteSparse(folder + "/half.bin", 2353500000); // half a DVD
    WriteSparse(folder + "/inner/quarter.bin", 1176750000);
    WriteSparse(folder + "/inner/deeper/not counted.bin", 1000000000);
    TestFileManager& files = AddManager({"hasSelectedSizes", "hasBurnButton"});
    ASSERT_TRUE(Show());
    XMeterStick* source = files.GetSourceSizeGraph();
    XMeterStick* dest = files.GetDestSizeGraph();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->getBounds(), juce::Rectangle<int>(4, 520 - 30 + 10, 400 - 8, 30 - 12));
    EXPECT_EQ(dest->getBounds(), juce::Rectangle<int>(500 + 4, 520 - 30 + 10, 400 - 8, 30 - 12));
    files.GetSourcePane()->SetFolder(Backslashed(folder), true);
    files.GetDestPane()->SetFolder(Backslashed(folder), true);
    ViewTest::Pump();
    EXPECT_EQ(source->GetPot()->GetValue(), 0.0);
    // The graphs add the sizes up once the selection has settled: wait for the value.
    const auto shows = [](XMeterStick* graph, double perMille)
    { return ViewTest::PumpUntil([&] { return graph->GetPot()->GetValue() == perMille; }, kWaitMs); };

    ClickRow(*files.GetSourcePane(), "half.bin");
    EXPECT_TRUE(shows(source, 500.0)) << source->GetPot()->GetValue();
    EXPECT_EQ(dest->GetPot()->GetValue(), 0.0);
    ClickRow(*files.GetSourcePane(), "inner", "control");
    EXPECT_TRUE(shows(source, 750.0)) << "the files directly in a folder count";
    ClickRow(*files.GetDestPane(), "inner");
    EXPECT_TRUE(shows(dest, 250.0)) << dest->GetPot()->GetValue();
    EXPECT_EQ(source->GetPot()->GetValue(), 750.0) << "each graph follows its own pane";
    // The graphs take their values at the next refresh pass of the controls, which the GUI
    // application's pulse runs.
    ControlRefreshQueue::Get().RefreshQueuedControls();
    EXPECT_EQ(source->GetPosition(), source->GetPixelRange() * 3 / 4);
    ViewTest::Pump();
    const juce::Image shot = GuiTestSupport::TakeScreenshot(window, "file_manager_size_graphs");
    // The bar is drawn in its dark grey from the left up to three quarters, light beyond.
    const int y = source->getY() + source->getHeight() / 2;
    EXPECT_EQ(shot.getPixelAt(source->getX() + source->getWidth() / 2, y).getRed(), 80);
    EXPECT_LT(shot.getPixelAt(source->getX() + source->getWidth() * 9 / 10, y).getRed(), 50);

    // A compact disc chosen in "Burn Options" rescales both graphs at once (the burn itself then
    // stops: the files are larger than the disc).
    const DriveSeam seam(temp);
    mediaChoice = XDiskImage::kMediaCD700;
    ClickButton(files.GetBackupButton());
    EXPECT_EQ(Titles(), std::vector<std::string>({"Burn Options", "Error..."})) << ::testing::PrintToString(shown);
    EXPECT_EQ(source->GetPot()->GetValue(), 1000.0);
    EXPECT_EQ(dest->GetPot()->GetValue(), 1000.0);
}
