#include "core/XCommandManager.h"
#include "core/XDocument.h"
#include "core/XMessage.h"
#include "core/XResult.h"
#include "gui/NewDocumentCmd.h"
#include "gui/OpenDocumentCmd.h"
#include "gui/SaveDocumentAsCmd.h"
#include "gui/SaveDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "support/gui/DialogTestSupport.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
/** A document that records what the commands ask of it. */
class FakeDocument final : public XDocument
{
public:
    XString GetFileExtension() override { return XString("krx"); }
    bool UsesTemplates() override { return usesTemplates; }
    int32_t SaveAs(const char* path) override { return Record("save", path, saveResult); }
    int32_t Open(const char* path) override { return Record("open", path, 0); }
    int32_t New(const char* path) override { return Record("new", path, 0); }
    int32_t ImportFrom(const char* path) override { return Record("import", path, 0); }

    int32_t Record(const char* what, const char* path, int32_t result)
    {
        calls.push_back(std::string(what) + " " + path);
        if (result == 0 && std::string(what) != "import")
            SetPath(path);
        return result;
    }

    std::vector<std::string> calls;
    bool usesTemplates = false;
    int32_t saveResult = 0;
};

/** A file chooser that hands back a fixed path (empty: cancelled) and records its requests. */
class FakeChooser final : public IDocumentFileChooser
{
public:
    bool Choose(Kind kind, bool, const XString& title, XString& folder, const XString& filter, const XString&,
                XString& path) override
    {
        requests.push_back(std::string(kind == Kind::Save ? "save " : "open ") + title.CStr() + " " +
                           filter.CStr());
        if (answer.empty())
            return false;
        path = answer.c_str();
        folder = "/chosen";
        return true;
    }

    std::string answer;
    std::vector<std::string> requests;
};

/** A document command of type Cmd bound to a given document instead of the application's. */
template <typename Cmd> class Bound final : public Cmd
{
public:
    Bound(XDocument* docIn, const char* title) : Cmd(XString("preset"), XString(title)), doc(docIn) {}
    XDocument* GetDocument() override { return doc; }
    XDocument* doc;
};

class DocumentCmdTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        XDocumentCmd::SetFileChooser(&chooser);
    }
    void TearDown() override { XDocumentCmd::SetFileChooser(nullptr); }

    FakeDocument doc;
    FakeChooser chooser;
    DialogTest::DialogAnswerer answerer;
};
} // namespace

TEST_F(DocumentCmdTest, AskSaveChangesAnswersByDocumentStateAndTheUsersChoice)
{
    Bound<OpenDocumentCmd> open(&doc, "Open...");
    Bound<OpenDocumentCmd> none(nullptr, "Open...");
    EXPECT_EQ(none.AskSaveChanges(nullptr), 2);
    EXPECT_EQ(open.AskSaveChanges(nullptr), 1);
    EXPECT_TRUE(answerer.dialogs.empty());

    doc.SetPath("/home/user/.config/show.krx");
    doc.SetModified(true);
    struct Case
    {
        XDialogResult answer;
        int32_t expected;
        size_t saves;
    };
    for (const Case& test :
         {Case{XDialog::kNo, 3, 0}, Case{XDialog::kCancel, 2, 0}, Case{XDialog::kOK, 1, 1}})
    {
        doc.calls.clear();
        answerer.answers = {test.answer};
        EXPECT_EQ(open.AskSaveChanges(nullptr), test.expected);
        EXPECT_EQ(doc.calls.size(), test.saves);
    }
    EXPECT_EQ(doc.calls.front(), "save /home/user/.config/show.krx");
    EXPECT_EQ(answerer.dialogs.back().kind, "XYesNoCancelDialog");
    EXPECT_EQ(answerer.dialogs.back().title, "Save?");
    EXPECT_EQ(answerer.dialogs.back().text, "Save changes to \"show.krx\"?");
}

TEST_F(DocumentCmdTest, YesWithoutAPathRunsTheRegisteredSaveAsAndACancelledSaveAsStopsTheCaller)
{
    XCommandManager manager;
    Bound<SaveDocumentAsCmd> saveAs(&doc, "Save As...");
    ASSERT_TRUE(saveAs.Register(XString("SaveDocumentAsCmd"), XString("File"), XString("Ctrl+Shift+S")));
    Bound<NewDocumentCmd> newCmd(&doc, "New...");
    doc.SetModified(true);

    answerer.answers = {XDialog::kOK};
    chooser.answer = "/tmp/a/named";
    EXPECT_EQ(newCmd.AskSaveChanges(nullptr), 1);
    EXPECT_EQ(answerer.dialogs.back().text, "Save changes to the current project?");
    ASSERT_EQ(doc.calls.size(), 1u);
    EXPECT_EQ(doc.calls[0], "save /tmp/a/named.krx");

    // The user cancels the file choice: the changes are not saved, so New must not go on.
    doc.SetPath("");
    doc.calls.clear();
    answerer.answers = {XDialog::kOK};
    chooser.answer.clear();
    newCmd.Execute(nullptr);
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(chooser.requests.size(), 2u);
}

TEST_F(DocumentCmdTest, SaveOfAnUntitledDocumentRunsSaveAsAndAFailedSaveIsReported)
{
    Bound<SaveDocumentCmd> save(&doc, "Save");
    doc.SetPath("untitled");
    chooser.answer = "/tmp/b/mix.KRX ";
    save.Execute(nullptr);
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_EQ(chooser.requests[0], "save Save *.krx");
    EXPECT_EQ(doc.calls, std::vector<std::string>{"save /tmp/b/mix.KRX "});

    doc.calls.clear();
    doc.saveResult = XResult::kFailed;
    answerer.answers = {XDialog::kOK};
    save.Execute(nullptr);
    EXPECT_EQ(doc.calls, std::vector<std::string>{"save /tmp/b/mix.KRX "});
    ASSERT_EQ(answerer.dialogs.size(), 1u);
    EXPECT_EQ(answerer.dialogs[0].kind, "XErrorDialog");
    EXPECT_EQ(answerer.dialogs[0].text, "An error occurred while saving the document.");
    EXPECT_FALSE(save.DidSave());
}

TEST_F(DocumentCmdTest, OpenTakesTheExtensionFromTheFileNameOnlyAndRefusesOtherKinds)
{
    Bound<OpenDocumentCmd> open(&doc, "Open...");
    struct Case
    {
        const char* chosen;
        const char* opened; // null: refused
    };
    const Case cases[] = {
        {"/home/u/.config/show", "/home/u/.config/show.krx"},
        {"C:\\a.b\\show", "C:\\a.b\\show.krx"},
        {"/tmp/show.KRX", "/tmp/show.KRX"},
        {"/tmp/show.txt", nullptr},
        {"/home/u/.config/show.txt", nullptr},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.chosen);
        doc.calls.clear();
        answerer.dialogs.clear();
        doc.SetPath("/before.krx");
        chooser.answer = test.chosen;
        open.Execute(nullptr);
        if (test.opened != nullptr)
        {
            EXPECT_EQ(doc.calls, std::vector<std::string>{std::string("open ") + test.opened});
            EXPECT_TRUE(answerer.dialogs.empty());
        }
        else
        {
            EXPECT_TRUE(doc.calls.empty());
            EXPECT_STREQ(doc.GetPath().CStr(), "/before.krx");
            ASSERT_EQ(answerer.dialogs.size(), 1u);
            EXPECT_EQ(answerer.dialogs[0].text, "Incorrect file type.");
        }
    }
    // A cancelled chooser ends the command quietly.
    doc.calls.clear();
    chooser.answer.clear();
    open.Execute(nullptr);
    EXPECT_TRUE(doc.calls.empty());
}

TEST_F(DocumentCmdTest, NewStartsAChosenFileOrImportsTheChosenTemplate)
{
    Bound<NewDocumentCmd> newCmd(&doc, "New...");
    chooser.answer = "/tmp/c/fresh";
    newCmd.Execute(nullptr);
    EXPECT_EQ(doc.calls, std::vector<std::string>{"new /tmp/c/fresh.krx"});

    // With templates: "Empty" is selected first, and taking it imports nothing.
    doc.calls.clear();
    doc.usesTemplates = true;
    answerer.answers = {XDialog::kOK};
    newCmd.Execute(nullptr);
    EXPECT_TRUE(doc.calls.empty());
    ASSERT_EQ(answerer.dialogs.size(), 1u);
    EXPECT_EQ(answerer.dialogs[0].kind, "XTemplateDialog");
}
