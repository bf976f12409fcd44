#include "core/XMessage.h"

#include "FileTestPaths.h"
#include "FileViewSkin.h"
#include "files/FileDialogChooser.h"
#include "files/FileViewTypes.h"
#include "files/XFileBrowser.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileDialog.h"
#include "files/XFileErrorDialog.h"
#include "files/XFileNameValidator.h"
#include "files/XFileRow.h"
#include "files/XFolderNameValidator.h"
#include "files/XListContainer.h"
#include "files/XOpenFileDialog.h"
#include "files/XOverwriteFileDialog.h"
#include "files/XSaveFileDialog.h"
#include "gui/TextFieldAccess.h"
#include "gui/ViewFactory.h"
#include "gui/XButton.h"
#include "gui/XGetTextDialog.h"
#include "gui/XStyle.h"
#include "support/TestSupport.h"
#include "support/gui/DialogTestSupport.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XTextEditView.h"

#include <functional>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <string>
#include <utility>
#include <vector>

namespace
{
using FileTestPaths::Backslashed;
using GuiTestSupport::ModalDialogDriver;
using M = juce::ModifierKeys;

constexpr int kWaitMs = 5000;

/** Presses a running prompt's OK from the modal loop. */
void PressOK(XDialog& dialog)
{
    juce::MessageManager::callAsync(
        [&dialog]
        {
            XMessage ok(XDialog::kOKMessage);
            dialog.MessageReceived(ok);
        });
}

/** Dialogs, validators and browser operations over a temporary folder tree, with the skin. */
class FileDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!UseFileViewSkin(style))
            GTEST_SKIP() << "build the target krx_skin";
        folder = Backslashed(temp.Path());
        folder.AddTrailingBackslash();
        window.SetFrameXYWH(0, 0, 620, 460);
        window.setTopLeftPosition(100, 100);
    }

    void TearDown() override
    {
        XDialog::SetAnswerHook({});
        window.removeFromDesktop();
        XStyle::SetCurrentStyle(nullptr);
    }

    void MakeFile(const std::string& name) { juce::File(temp.Child(name)).replaceWithText("x"); }
    void MakeFolder(const std::string& name) { juce::File(temp.Child(name)).createDirectory(); }
    bool Exists(const std::string& name) const { return juce::File(temp.Child(name)).exists(); }
    XString InFolder(const char* name) const
    {
        XString path = folder;
        path += name;
        return path;
    }

    XFileBrowser& AddBrowser()
    {
        browser = new XFileBrowser("OpsBrowser");
        browser->SetFrame(XRect(0, 0, 620, 460));
        window.AddChild(browser);
        browser->SetFolder(folder, true);
        return *browser;
    }

    bool Show()
    {
        window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
        window.Show();
        window.Attach();
        return ViewTest::PumpUntil([&] { return window.isShowing(); }, kWaitMs);
    }

    XFileRow* RowNamed(const char* name) const
    {
        for (XFileRow* row : browser->GetFileRows())
            if (row->GetName() == name)
                return row;
        return nullptr;
    }

    void Select(std::initializer_list<const char*> names)
    {
        bool first = true;
        for (const char* name : names)
        {
            const int32_t index = browser->GetList()->IndexOfRow(RowNamed(name));
            browser->GetList()->SelectRow(index, first);
            first = false;
        }
    }

    /** The texts of the dialogs shown so far (the title for a dialog without text). */
    std::vector<std::string> ShownTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : answerer.dialogs)
            texts.push_back(shown.text.empty() ? shown.title : shown.text);
        return texts;
    }

    XStyle style;
    XView window;
    TestSupport::TempFolder temp;
    XString folder;
    XFileBrowser* browser = nullptr;
    DialogTest::DialogAnswerer answerer;
};

using TextList = std::vector<std::string>;

TEST_F(FileDialogsTest, TheFileNameValidatorTellsWhatIsWrongWithAName)
{
    MakeFile("old.qm7");
    XFileNameValidator validator(XString("qm7"), folder);
    struct Case
    {
        std::string text;
        bool accepted;
        const char* shown; // nullptr: no dialog
    };
    const std::string longName(256, 'n');
    const char* const kBadCharacters =
        "A filename cannot contain any of the following characters: \\ / : * ? \" < > |";
    std::vector<Case> cases = {
        {"", false, "You must specify a filename."},
        {longName, false, "A filename cannot be longer than 255 characters."},
        {std::string(255, 'n'), true, nullptr},
        {"notes", true, nullptr},
        {"folder\\notes", true, nullptr}, // the file name part is checked
    };
    for (const char* bad : {":", "*", "?", "\"", "<", ">", "|"})
        cases.push_back({std::string("a") + bad + "b", false, kBadCharacters});
    for (const Case& c : cases)
    {
        answerer.dialogs.clear();
        EXPECT_EQ(validator.Check(XString(c.text.c_str()), &window), c.accepted) << c.text;
        EXPECT_EQ(ShownTexts(), c.shown != nullptr ? TextList{c.shown} : TextList{}) << c.text;
    }

    answerer.dialogs.clear();
    answerer.answers = {XDialog::kCancel, XDialog::kOK};
    EXPECT_FALSE(validator.Check(XString("old"), &window)) << "replacing declined";
    EXPECT_TRUE(validator.Check(XString("old.qm7"), &window)) << "replacing agreed";
    EXPECT_TRUE(validator.Check(XString("old.QM7"), &window)) << "another file: names differ in case";
    ASSERT_EQ(answerer.dialogs.size(), 2u);
    EXPECT_EQ(answerer.dialogs[0].title, "Confirm File Replace");
    EXPECT_EQ(answerer.dialogs[0].text,
              "A file named \"old.qm7\" already exists.\r\nDo you wish to overwrite the existing file?");
    EXPECT_STREQ(validator.CandidatePath(XString("notes  ")).CStr(), InFolder("notes.qm7").CStr());
    EXPECT_STREQ(validator.CandidatePath(XString("notes.")).CStr(), InFolder("notes.qm7").CStr());
    EXPECT_STREQ(XFileNameValidator(XString(".qm7"), folder).CandidatePath(XString("notes")).CStr(),
                 InFolder("notes.qm7").CStr());
}

TEST_F(FileDialogsTest, TheFolderNameValidatorRefusesBadAndExistingNames)
{
    MakeFolder("sub");
    XFolderNameValidator validator(folder);
    XGetTextDialog prompt(XString("Create New Folder"), XString("New Folder Name:"), XString(), &validator,
                          nullptr, XGetTextDialog::kDefaultDescription, XString("OK"), XString("Cancel"),
                          true);
    prompt.InitControls();
    XView* field = prompt.GetTextField();
    ASSERT_NE(field, nullptr);
    const char* const kBad =
        "A folder name cannot contain any of the following characters: \\ / : * ? \" < > "
        "|\r\nPlease enter a valid filename.";
    struct Case
    {
        std::string text;
        bool accepted;
        const char* shown;
    };
    std::vector<Case> cases = {
        {"", false, nullptr},
        {std::string(256, 'f'), false,
         "A folder name cannot be longer than 255 characters. Please enter a shorter filename."},
        {"sub", false, "A folder named \"sub\" already exists. Please enter a different name."},
        {"Sub", true, nullptr}, // names differ in case
        {"fresh", true, nullptr},
    };
    for (const char* bad : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        cases.push_back({std::string("a") + bad + "b", false, kBad});
    auto* entry = dynamic_cast<XTextEditView*>(field);
    ASSERT_NE(entry, nullptr);
    for (const Case& c : cases)
    {
        answerer.dialogs.clear();
        entry->FocusChanged(false);
        TextFieldAccess::SetText(field, XString(c.text.c_str()), false);
        EXPECT_EQ(validator.Check(XString(c.text.c_str()), &prompt), c.accepted) << c.text;
        EXPECT_EQ(ShownTexts(), c.shown != nullptr ? TextList{c.shown} : TextList{}) << c.text;
        // A refused name is selected whole in the focused "TextField", the blank one too.
        const bool focused = XTextEditView::GetFocusedEditor() == entry->GetEditor();
        EXPECT_EQ(focused, !c.accepted) << c.text;
        if (focused)
        {
            EXPECT_EQ(entry->GetEditor()->GetSelectionEnd().x - entry->GetEditor()->GetSelectionStart().x,
                      static_cast<int32_t>(c.text.size()))
                << c.text;
        }
    }
    EXPECT_FALSE(validator.Check(XString("fresh"), nullptr)) << "no view";
}

TEST_F(FileDialogsTest, TheErrorAndReplaceDialogsSayWhatHappened)
{
    struct Case
    {
        int32_t kind;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {0, "a.qm7", "An error occurred reading the file a.qm7."},
        {0, "", "An error occurred reading the file."},
        {1, "a.qm7", "An error occurred writing the file a.qm7."},
        {1, "", "An error occurred writing the file."},
        {2, "a", "A filename cannot be longer than 255 characters."},
        {3, "a", "A filename cannot contain any of the following characters: \\ / : * ? \" < > |"},
        {4, "", "You must specify a filename."},
        {5, "", "Incorrect file extension."},
        {6, "", "The file cannot be opened because the file format is obsolete."},
        {7, "a", ""},
        {-1, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(XFileErrorDialog(c.kind, XString(c.name)).GetText().CStr(), c.text) << c.kind << c.name;

    const XOverwriteFileDialog file(XString("a.qm7"), false);
    EXPECT_STREQ(file.GetDialogTitle().CStr(), "Confirm File Replace");
    EXPECT_STREQ(file.GetText().CStr(),
                 "A file named \"a.qm7\" already exists.\r\nDo you wish to overwrite the existing file?");
    const XOverwriteFileDialog folderBox(XString("sets"), true);
    EXPECT_STREQ(folderBox.GetDialogTitle().CStr(), "Confirm Folder Replace");
    EXPECT_STREQ(folderBox.GetText().CStr(),
                 "A folder named \"sets\" already exists.\r\nDo you wish to overwrite the existing folder?");
}

TEST_F(FileDialogsTest, AddExtensionFollowsTheCurrentFilter)
{
    XSaveFileDialog dialog(XString(), folder, true, nullptr);
    dialog.AddFilter(XString("Text (*.txt)"), XString("*.txt"), true);
    struct Case
    {
        const char* name;
        const char* expected;
    };
    for (const Case& c : {Case{"notes", "notes.txt"}, Case{"notes.TXT", "notes.TXT"},
                          Case{"notes.", "notes.txt"}, Case{"a.qm7", "a.qm7.txt"}})
        EXPECT_STREQ(dialog.AddExtension(XString(c.name)).CStr(), c.expected) << c.name;
    dialog.GetBrowser()->GetFilterParam().SetValue(0, true);
    EXPECT_STREQ(dialog.AddExtension(XString("notes")).CStr(), "notes") << "\"*\" adds nothing";
}

TEST_F(FileDialogsTest, AStartFolderThatIsGoneFallsBackToItsNearestParent)
{
    MakeFolder("sub");
    XString deep = InFolder("sub\\gone\\deeper\\");
    XOpenFileDialog dialog(XString(), deep, true, nullptr);
    EXPECT_STREQ(dialog.GetFolder().CStr(), InFolder("sub\\").CStr());
    EXPECT_STREQ(XFileDialog::ExistingStartFolder(XString("root")).CStr(), "Root");
    EXPECT_STREQ(XFileDialog::ExistingStartFolder(XString("nowhere\\at\\all")).CStr(), "\\");
    XOpenFileDialog lost(XString(), XString("nowhere\\at\\all"), true, nullptr);
    EXPECT_STREQ(lost.GetFolder().CStr(), "\\") << "a path of which nothing exists opens the root folder";
    EXPECT_GT(lost.GetBrowser()->GetList()->GetRowCount(), 0);
}

TEST_F(FileDialogsTest, SavingOverAFileAsksFirst)
{
    MakeFile("old.qm7");
    XSaveFileDialog dialog(XString(), folder, true, nullptr);
    dialog.AddFilter(XString("QM7 (*.qm7)"), XString("*.qm7"), true);
    answerer.answers = {0, XDialog::kCancel, XDialog::kOK};
    XDialogResult afterDecline = -1;
    ModalDialogDriver driver(
        [&](juce::Component&)
        {
            XMessage action(XFileDialog::kActionMessage);
            dialog.GetBrowser()->SetFolder(XString(), true);
            dialog.GetBrowser()->SetFileName(XString("notes"));
            dialog.MessageReceived(action);
            EXPECT_EQ(dialog.GetResult(), XDialog::kNotEnded) << "no saving among the drives";
            dialog.GetBrowser()->SetFolder(folder, true);
            dialog.GetBrowser()->SetFileName(XString("old"));
            dialog.MessageReceived(action);
            afterDecline = dialog.GetResult();
            dialog.MessageReceived(action);
            return true;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kOK);
    EXPECT_EQ(afterDecline, XDialog::kNotEnded) << "declining keeps the dialog open";
    ASSERT_EQ(answerer.dialogs.size(), 3u);
    EXPECT_EQ(answerer.dialogs[1].title, "Confirm Overwrite");
    EXPECT_EQ(answerer.dialogs[1].text,
              "A file named \"old.qm7\" already exists.\r\nDo you wish to overwrite the existing file?");
    EXPECT_STREQ(dialog.GetFilePath().CStr(), InFolder("old.qm7").CStr());
}

TEST_F(FileDialogsTest, DeleteAsksTheRightQuestionAndDeletesOnlyAfterOK)
{
    MakeFolder("sub");
    MakeFile("sub/inner.txt");
    MakeFile("a.txt");
    MakeFile("b.txt");
    XFileBrowser& files = AddBrowser();
    ASSERT_TRUE(Show());
    struct Case
    {
        std::vector<const char*> rows;
        const char* question;
    };
    const Case cases[] = {
        {{"sub"}, "Are you sure you want to delete the selected folder?"},
        {{"a.txt"}, "Are you sure you want to delete the selected file?"},
        {{"a.txt", "sub"}, "Are you sure you want to delete all selected files and folders?"},
    };
    for (const Case& c : cases)
    {
        answerer.dialogs.clear();
        answerer.answers = {XDialog::kCancel};
        bool first = true;
        for (const char* name : c.rows)
        {
            files.GetList()->SelectRow(files.GetList()->IndexOfRow(RowNamed(name)), first);
            first = false;
        }
        EXPECT_EQ(files.DeleteSelected(), 0);
        ASSERT_EQ(answerer.dialogs.size(), 1u);
        EXPECT_EQ(answerer.dialogs[0].title, "Confirm Delete");
        EXPECT_EQ(answerer.dialogs[0].text, c.question);
    }
    EXPECT_TRUE(Exists("sub") && Exists("a.txt")) << "Cancel deletes nothing";

    answerer.answers = {XDialog::kOK};
    EXPECT_EQ(files.DeleteSelected(), 0);
    EXPECT_FALSE(Exists("sub")) << "with its content";
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_EQ(files.GetFileRows().size(), 1u) << "the list is refreshed";

    files.SetFolder(XString(), true);
    answerer.dialogs.clear();
    files.GetList()->SelectRow(0, true);
    EXPECT_EQ(files.DeleteSelected(), 0);
    files.NewFolder();
    EXPECT_TRUE(answerer.dialogs.empty()) << "New and Del do nothing in Root";
}

/** A current document at a path, lent to the test application while it lives. */
class LentDocument final : public IAppDocument
{
public:
    explicit LentDocument(std::string pathIn) : path(std::move(pathIn))
    {
        ViewTest::Application().document = this;
    }
    ~LentDocument() override { ViewTest::Application().document = nullptr; }

    int32_t Open(const char*) override { return 0; }
    int32_t SaveAs(const char*) override { return 0; }
    int32_t New(const char*) override { return 0; }
    void Reset() override {}
    XString GetPath() const override { return XString(path.c_str()); }
    void SetModified(bool) override {}

private:
    std::string path;
};

TEST_F(FileDialogsTest, TheFolderHoldingTheDocumentIsKeptAndTheRestDeleted)
{
    MakeFolder("sets");
    MakeFile("sets/show.qm7");
    MakeFile("a.txt");
    const LentDocument document(temp.Child("sets/show.qm7"));
    XFileBrowser& files = AddBrowser();
    ASSERT_TRUE(Show());
    Select({"a.txt", "sets"});
    answerer.answers = {XDialog::kOK, XDialog::kOK};
    EXPECT_EQ(files.DeleteSelected(), 0);
    ASSERT_EQ(answerer.dialogs.size(), 2u);
    EXPECT_EQ(answerer.dialogs[1].title, "Error");
    EXPECT_EQ(answerer.dialogs[1].text,
              "A file you have chosen to delete is currently in use by the system.");
    EXPECT_TRUE(Exists("sets/show.qm7")) << "in use";
    EXPECT_FALSE(Exists("a.txt")) << "the other item goes on";
    EXPECT_EQ(files.GetFileRows().size(), 1u) << "the list is refreshed";
}

TEST(FileBrowserDelete, OnlyTheDocumentAndTheFoldersHoldingItAreInUse)
{
    const XString document("\\home\\sets\\show.qm7");
    struct Case
    {
        const char* path;
        bool isFolder;
        bool inUse;
    };
    const Case cases[] = {
        {"\\home\\sets\\show.qm7", false, true},
        {"\\home\\sets\\other.qm7", false, false},
        {"\\home\\sets", true, true},
        {"\\home\\sets\\", true, true},
        {"\\home", true, true},
        {"\\home\\set", true, false},
        {"\\home\\Sets", true, false},
        {"\\home\\sets\\show.qm7.bak", false, false},
        {"\\home\\sets\\deeper", true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XFileBrowser::IsInUse(XString(c.path), c.isFolder, document), c.inUse) << c.path;
    EXPECT_FALSE(XFileBrowser::IsInUse(XString("\\home"), true, XString())) << "no document, nothing in use";
}

TEST_F(FileDialogsTest, ANewFolderWithAnExistingNameIsAskedForAgain)
{
    MakeFolder("sub");
    XFileBrowser& files = AddBrowser();
    ASSERT_TRUE(Show());
    std::vector<std::string> shown;
    XGetTextDialog* prompt = nullptr;
    const auto type = [&](const char* text)
    {
        TextFieldAccess::SetText(prompt->GetTextField(), XString(text), false);
        PressOK(*prompt);
    };
    XDialog::SetAnswerHook(
        [&](XDialog& dialog) -> XDialogResult
        {
            if (auto* asked = dynamic_cast<XGetTextDialog*>(&dialog))
            {
                shown.push_back(asked->GetDialogTitle().CStr());
                prompt = asked;
                type("sub");
                return 0;
            }
            auto* box = dynamic_cast<XOKDialog*>(&dialog);
            shown.push_back(box != nullptr ? box->GetText().CStr() : "?");
            type("fresh");
            return XDialog::kOK;
        });
    files.NewFolder();
    XDialog::SetAnswerHook({});
    EXPECT_EQ(shown, (TextList{"Create New Folder",
                               "A folder named \"sub\" already exists. Please enter a different name."}));
    EXPECT_TRUE(Exists("fresh"));
    EXPECT_STREQ(files.GetFolder().CStr(), InFolder("fresh\\").CStr()) << "the new folder opens";
}

TEST_F(FileDialogsTest, ANewFolderThatCannotBeMadeIsReported)
{
    MakeFolder("sub");
    XFileBrowser& files = AddBrowser();
    files.SetFolder(InFolder("sub"), true);
    ASSERT_TRUE(Show());
    juce::File(temp.Child("sub")).deleteRecursively();
    MakeFile("sub"); // a file where the shown folder was
    XDialog::SetAnswerHook(
        [&](XDialog& dialog) -> XDialogResult
        {
            auto* prompt = dynamic_cast<XGetTextDialog*>(&dialog);
            if (prompt == nullptr)
            {
                answerer.dialogs.push_back({"", "", dynamic_cast<XOKDialog&>(dialog).GetText().CStr()});
                return XDialog::kOK;
            }
            TextFieldAccess::SetText(prompt->GetTextField(), XString("fresh"), false);
            PressOK(*prompt);
            return 0;
        });
    files.NewFolder();
    XDialog::SetAnswerHook({});
    EXPECT_EQ(ShownTexts(), TextList{"Cannot create directory. Please try again."});
    EXPECT_STREQ(files.GetFolder().CStr(), InFolder("sub\\").CStr()) << "the folder stays";
}

TEST_F(FileDialogsTest, RenameRefusesBlankBadAndExistingNames)
{
    MakeFolder("sub");
    MakeFile("a.txt");
    MakeFile("other.txt");
    XFileBrowser& files = AddBrowser();
    files.SetAllowRename(true);
    ASSERT_TRUE(Show());
    XFileBrowserListView& list = *files.GetList();
    struct Case
    {
        std::string name;
        const char* shown; // nullptr: renamed without a word
    };
    std::vector<Case> cases = {
        {"", "The filename cannot be blank. Please enter a valid filename."},
        {std::string(256, 'n'), "A filename cannot be longer than 255 characters."},
    };
    // The whole typed name is checked: a separator is a bad character here.
    for (const char* bad : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        cases.push_back({std::string("a") + bad + "b",
                         "A filename cannot contain any of the following characters: \\ / : * ? \" < > |"});
    cases.insert(cases.end(),
                 {{"other.txt", "A file named \"other.txt\" already exists. Please enter a different name."},
                  {"sub", "A folder named \"sub\" already exists. Please enter a different name."},
                  {"a.txt", nullptr}, // unchanged: nothing happens
                  {"b.txt", nullptr}});
    for (const Case& c : cases)
    {
        answerer.dialogs.clear();
        files.RowActivated(RowNamed("a.txt"), XFileRow::kNameColumn);
        ASSERT_TRUE(files.IsEditingName()) << c.name;
        list.GetCellEditor()->SetText(XString(c.name.c_str()));
        list.EndCellEdit();
        EXPECT_FALSE(files.IsEditingName());
        EXPECT_EQ(ShownTexts(), c.shown != nullptr ? TextList{c.shown} : TextList{}) << c.name;
        if (c.shown != nullptr || c.name == "a.txt")
        {
            EXPECT_TRUE(Exists("a.txt")) << c.name;
        }
    }
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_TRUE(Exists("b.txt"));
    EXPECT_NE(RowNamed("b.txt"), nullptr) << "the list follows the rename";

    answerer.dialogs.clear();
    files.RowActivated(RowNamed("b.txt"), XFileRow::kNameColumn);
    juce::File(temp.Child("b.txt")).deleteFile(); // gone while its name is edited
    list.GetCellEditor()->SetText(XString("c.txt"));
    list.EndCellEdit();
    EXPECT_EQ(ShownTexts(), TextList{"Could not rename this item."});
    EXPECT_FALSE(Exists("c.txt"));
}
} // namespace

namespace
{
/** Real mouse and key events through a window's peer. */
class RealInput
{
public:
    explicit RealInput(juce::Component& window) : window(window), mouse(window) {}

    void Click(juce::Component& inside, juce::Point<int> point)
    {
        mouse.Send(inside, point, M(M::leftButtonModifier));
        mouse.Send(inside, point, {});
        mouse.Wait(1000);
        ViewTest::Pump();
    }
    void DoubleClick(juce::Component& inside, juce::Point<int> point)
    {
        for (int press = 0; press < 2; ++press)
        {
            mouse.Send(inside, point, M(M::leftButtonModifier));
            mouse.Send(inside, point, {});
        }
        mouse.Wait(1000);
        ViewTest::Pump();
    }
    void Key(int keyCode, juce::juce_wchar character = 0)
    {
        window.getPeer()->handleKeyPress(juce::KeyPress(keyCode, {}, character));
        ViewTest::Pump();
    }
    void Type(const char* text)
    {
        for (const char* c = text; *c != 0; ++c)
            Key(*c, static_cast<juce::juce_wchar>(*c));
    }

private:
    juce::Component& window;
    GuiTestSupport::PeerMouse mouse;
};

juce::Point<int> Centre(const juce::Component& component)
{
    return component.getLocalBounds().getCentre();
}

/** The middle of a row's name cell, in the row area's coordinates. */
juce::Point<int> NameCell(XFileBrowser& files, XFileRow* row)
{
    const XRect rect = files.GetList()->GetRowRect(row);
    return {files.GetList()->GetWidth() * 30 / 100, (rect.top + rect.bottom) / 2};
}
} // namespace

TEST_F(FileDialogsTest, CancelEscapeAndCloseEndTheDialogWithTwo)
{
    using Way = std::function<void(XFileDialog&, RealInput&)>;
    const std::vector<std::pair<const char*, Way>> ways = {
        {"Cancel",
         [](XFileDialog& d, RealInput& input)
         {
             XView* cancel = d.FindView(XFileDialog::kCancelName);
             ASSERT_NE(cancel, nullptr);
             input.Click(*cancel, Centre(*cancel));
         }},
        {"Escape", [](XFileDialog&, RealInput& input) { input.Key(juce::KeyPress::escapeKey); }},
        {"close request",
         [](XFileDialog& d, RealInput&)
         {
             XMessage m(XFileDialog::kCloseRequestMessage);
             d.MessageReceived(m);
         }},
        {"close box", [](XFileDialog& d, RealInput&) { d.userTriedToCloseWindow(); }},
    };
    for (const auto& [name, act] : ways)
    {
        answerer.answers = {0};
        XOpenFileDialog dialog(XString(), folder, true, nullptr);
        ModalDialogDriver driver(
            [&](juce::Component& modal)
            {
                if (modal.getPeer() == nullptr || !dialog.GetBrowser()->isShowing())
                    return false;
                RealInput input(modal);
                act(dialog, input);
                return true;
            });
        EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kCancel) << name;
    }
}

TEST_F(FileDialogsTest, EscapeAndReturnGoToANameBeingEditedInPlace)
{
    MakeFile("a.qm7");
    XOpenFileDialog dialog(XString(), folder, true, nullptr);
    dialog.GetBrowser()->SetAllowRename(true);
    answerer.answers = {0};
    std::vector<XDialogResult> whileEditing;
    ModalDialogDriver driver(
        [&](juce::Component& modal)
        {
            XFileBrowser* files = dialog.GetBrowser();
            if (modal.getPeer() == nullptr || !files->isShowing())
                return false;
            browser = files;
            RealInput input(modal);
            input.DoubleClick(*files->GetList()->GetContainer(), NameCell(*files, RowNamed("a.qm7")));
            EXPECT_TRUE(files->IsEditingName());
            input.Type("gone");
            input.Key(juce::KeyPress::escapeKey); // ends the edit, keeping the old name
            whileEditing.push_back(dialog.GetResult());
            EXPECT_FALSE(files->IsEditingName());
            input.DoubleClick(*files->GetList()->GetContainer(), NameCell(*files, RowNamed("a.qm7")));
            EXPECT_TRUE(files->IsEditingName());
            input.Type("b.qm7");
            input.Key(juce::KeyPress::returnKey); // renames
            whileEditing.push_back(dialog.GetResult());
            input.Key(juce::KeyPress::escapeKey); // no edit now: the dialog's own
            return true;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kCancel);
    EXPECT_EQ(whileEditing, (std::vector<XDialogResult>{XDialog::kNotEnded, XDialog::kNotEnded}));
    EXPECT_FALSE(Exists("a.qm7"));
    EXPECT_TRUE(Exists("b.qm7"));
    EXPECT_FALSE(Exists("gone"));
}

TEST_F(FileDialogsTest, TheSaveDialogIsWorkedWithRealClicksAndKeys)
{
    MakeFolder("sub");
    MakeFile("sub/inside.qm7");
    MakeFile("old.qm7");
    XSaveFileDialog dialog(XString(), folder, true, nullptr);
    dialog.AddFilter(XString("QM7 Files (*.qm7)"), XString("*.qm7"), true);
    answerer.answers = {0};
    XString insideSub;
    ModalDialogDriver driver(
        [&](juce::Component& modal)
        {
            XFileBrowser* files = dialog.GetBrowser();
            if (modal.getPeer() == nullptr || !files->isShowing())
                return false;
            RealInput input(modal);
            GuiTestSupport::TakeScreenshot(modal, "save_dialog");
            XFileRow* sub = nullptr;
            for (XFileRow* row : files->GetFileRows())
                if (row->GetName() == "sub")
                    sub = row;
            if (sub == nullptr)
                return false;
            input.DoubleClick(*files->GetList()->GetContainer(), NameCell(*files, sub));
            insideSub = files->GetFolder();
            input.Click(*files->GetUpButton(), Centre(*files->GetUpButton()));
            input.Click(*files->GetNameField(), Centre(*files->GetNameField()));
            input.Type("notes");
            input.Key(juce::KeyPress::returnKey);
            return true;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kOK);
    EXPECT_STREQ(insideSub.CStr(), InFolder("sub\\").CStr()) << "double-click into the folder";
    EXPECT_STREQ(dialog.GetFolder().CStr(), folder.CStr()) << "Up";
    EXPECT_STREQ(dialog.GetFilePath().CStr(), InFolder("notes.qm7").CStr());
}

TEST_F(FileDialogsTest, TheOpenDialogAndTheDrivesArePictured)
{
    MakeFolder("sub");
    MakeFile("show.qm7");
    XOpenFileDialog dialog(XString(), folder, true, nullptr);
    dialog.AddFilter(XString("QM7 Files (*.qm7)"), XString("*.qm7"), true);
    answerer.answers = {0};
    size_t drives = 0;
    XString openedDrive;
    ModalDialogDriver driver(
        [&](juce::Component& modal)
        {
            XFileBrowser* files = dialog.GetBrowser();
            if (modal.getPeer() == nullptr || !files->isShowing())
                return false;
            ViewTest::Pump();
            GuiTestSupport::TakeScreenshot(modal, "open_dialog");
            RealInput input(modal);
            XFileRow* show = nullptr;
            for (XFileRow* row : files->GetFileRows())
                if (row->GetName() == "show.qm7")
                    show = row;
            files->SetFolder(XString(), true);
            ViewTest::Pump();
            drives = files->GetFileRows().size();
            GuiTestSupport::TakeScreenshot(modal, "file_browser_root");
            // Open on a selected drive opens it and keeps the dialog up.
            for (XFileRow* row : files->GetFileRows())
                if (row->GetPath() == "\\")
                    files->GetList()->SelectRow(files->GetList()->IndexOfRow(row), true);
            XMessage action(XFileDialog::kActionMessage);
            dialog.MessageReceived(action);
            openedDrive = files->GetFolder();
            EXPECT_EQ(dialog.GetResult(), XDialog::kNotEnded);
            files->SetFolder(folder, true);
            for (XFileRow* row : files->GetFileRows())
                if (row->GetName() == "show.qm7")
                    show = row;
            if (show != nullptr)
                input.DoubleClick(*files->GetList()->GetContainer(), NameCell(*files, show));
            return true;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kOK) << "a double-clicked file opens";
    EXPECT_GE(drives, 1u);
    EXPECT_STREQ(openedDrive.CStr(), "\\") << "a drive opened from the drives";
    EXPECT_STREQ(dialog.GetFilePath().CStr(), InFolder("show.qm7").CStr());
}

TEST_F(FileDialogsTest, NewDelTheDeleteKeyAndRenameInPlaceWorkWithRealInput)
{
    MakeFile("a.txt");
    MakeFile("b.txt");
    MakeFile("c.txt");
    XFileBrowser& files = AddBrowser();
    files.SetAllowRename(true);
    ASSERT_TRUE(Show());
    RealInput input(window);
    XFileBrowserListView& list = *files.GetList();
    XView& rows = *list.GetContainer();

    // Del and the Delete key, each answered OK.
    answerer.answers = {XDialog::kOK, XDialog::kOK};
    input.Click(rows, NameCell(files, RowNamed("a.txt")));
    input.Click(*files.GetDeleteButton(), Centre(*files.GetDeleteButton()));
    EXPECT_FALSE(Exists("a.txt"));
    input.Click(rows, NameCell(files, RowNamed("b.txt")));
    input.Key(juce::KeyPress::deleteKey);
    EXPECT_FALSE(Exists("b.txt"));
    EXPECT_EQ(ShownTexts(), (TextList{"Are you sure you want to delete the selected file?",
                                      "Are you sure you want to delete the selected file?"}));

    // A rename typed in place.
    input.DoubleClick(rows, NameCell(files, RowNamed("c.txt")));
    ASSERT_TRUE(files.IsEditingName());
    input.Type("d.txt"); // over the old name, which the editor starts with all selected
    input.Key(juce::KeyPress::returnKey);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return Exists("d.txt"); }, kWaitMs));
    EXPECT_FALSE(Exists("c.txt"));
    EXPECT_FALSE(files.IsEditingName());

    // New, its name typed into the prompt.
    XDialog::SetAnswerHook(
        [&](XDialog& dialog) -> XDialogResult
        {
            auto* prompt = dynamic_cast<XGetTextDialog*>(&dialog);
            if (prompt == nullptr)
                return XDialog::kCancel;
            TextFieldAccess::SetText(prompt->GetTextField(), XString("made"), false);
            PressOK(*prompt);
            return 0;
        });
    input.Click(*files.GetNewButton(), Centre(*files.GetNewButton()));
    XDialog::SetAnswerHook({});
    EXPECT_TRUE(Exists("made"));
    EXPECT_STREQ(files.GetFolder().CStr(), InFolder("made\\").CStr());
}

TEST_F(FileDialogsTest, TheDocumentCommandsChooserRunsTheseDialogsWhenAskedFor)
{
    MakeFile("show.qm7");
    struct Case
    {
        IDocumentFileChooser::Kind kind;
        const char* title;
        const char* expected;
    };
    const Case cases[] = {
        {IDocumentFileChooser::Kind::Save, "Save Preset", "notes.qm7"},
        {IDocumentFileChooser::Kind::Open, "Open Preset", "show.qm7"},
    };
    for (const Case& c : cases)
    {
        answerer.answers = {0};
        std::string ran;
        std::string title;
        ModalDialogDriver driver(
            [&](juce::Component& modal)
            {
                auto* dialog = dynamic_cast<XFileDialog*>(&modal);
                if (dialog == nullptr || !dialog->GetBrowser()->isShowing())
                    return false;
                ran = dynamic_cast<XSaveFileDialog*>(dialog) != nullptr ? "save" : "open";
                title = dialog->GetTitle().CStr();
                XFileBrowser& files = *dialog->GetBrowser();
                if (c.kind == IDocumentFileChooser::Kind::Save)
                    files.SetFileName(XString("notes"));
                else
                    for (XFileRow* row : files.GetFileRows())
                        if (row->GetName() == "show.qm7")
                            files.GetList()->SelectRow(files.GetList()->IndexOfRow(row), true);
                XMessage action(XFileDialog::kActionMessage);
                dialog->MessageReceived(action);
                return true;
            });
        XString chosenFolder = folder;
        XString path;
        EXPECT_TRUE(FileDialogChooser::Instance().Choose(c.kind, true, XString(c.title), chosenFolder,
                                                         XString("*.qm7"), XString("Preset Files (*.qm7)"),
                                                         path))
            << c.title;
        EXPECT_EQ(ran, c.kind == IDocumentFileChooser::Kind::Save ? "save" : "open");
        EXPECT_EQ(title, c.title);
        EXPECT_STREQ(path.CStr(), InFolder(c.expected).CStr());
        EXPECT_STREQ(chosenFolder.CStr(), folder.CStr());
    }

    answerer.answers = {XDialog::kCancel};
    XString chosenFolder = folder;
    XString path("untouched");
    EXPECT_FALSE(FileDialogChooser::Instance().Choose(IDocumentFileChooser::Kind::Open, true, XString("Open"),
                                                      chosenFolder, XString("*.qm7"), XString(), path));
    EXPECT_STREQ(path.CStr(), "untouched") << "cancelled";
}
