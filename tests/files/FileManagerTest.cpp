#include "core/FloatParam.h"
#include "core/XMessage.h"
#include "files/FileViewTypes.h"
#include "files/XFileBrowser.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileEntry.h"
#include "files/XFileManager.h"
#include "files/XFileRow.h"
#include "files/XListContainer.h"
#include "files/XProgressDialog.h"
#include "files/XVolumeManager.h"
#include "gui/ViewFactory.h"
#include "gui/XButton.h"
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

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <mutex>
#include <string>
#include <vector>

namespace
{
using FS = PlatformFileSystem;
using M = juce::ModifierKeys;

constexpr int kWaitMs = 10000;

XString Backslashed(const std::string& path)
{
    XString text(path.c_str());
    text.ReplaceChar('/', '\\');
    return text;
}

juce::File At(const std::string& path)
{
    return juce::File(juce::String::fromUTF8(path.c_str()));
}

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
        return device.find(refuse) != std::string::npos && !refuse.empty() ? kFailed : kOk;
    }
    int32_t PowerOff(const std::string&) override { return kOk; }

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
        if (!SkinTestSupport::UseBuiltSkin())
            GTEST_SKIP() << "build the target krx_skin";
        XStyle::SetCurrentStyle(&style);
        WidgetViewTypes::Install();
        FileViewTypes::Install();
        InitViewFactory();
        window.SetFrameXYWH(0, 0, 900, 520);
        window.setTopLeftPosition(60, 60);
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                if (auto* progress = dynamic_cast<XProgressDialog*>(&dialog))
                {
                    progressTitles.emplace_back(progress->GetDialogTitle().CStr());
                    progress->resultSignal.Connect([this](XDialogResult result)
                                                   { progressResults.push_back(result); });
                    return XDialog::kNotEnded;
                }
                auto* box = dynamic_cast<XOKDialog*>(&dialog);
                shown.push_back(box != nullptr
                                    ? std::string(box->GetDialogTitle().CStr()) + "|" + box->GetText().CStr()
                                    : std::string(dialog.GetClassNameText()));
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
