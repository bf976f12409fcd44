#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "gui/GuiHelpers.h"
#include "gui/IViewServices.h"
#include "gui/TextFieldAccess.h"
#include "gui/ViewFactory.h"
#include "gui/XErrorDialog.h"
#include "gui/XFont.h"
#include "gui/XGetTextDialog.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XResourceManager.h"
#include "gui/XTemplateDialog.h"
#include "gui/XYesNoCancelDialog.h"
#include "platform/PlatformClock.h"
#include "support/gui/DialogTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XTextEditView.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace
{
constexpr int kPumpIntervalMs = 10;

/** Keeps the application's looper turning while a dialog's modal loop runs (as the GUI
    application does after every message) and presses the keys at their times. */
class KeyFeeder final : private juce::Timer
{
public:
    struct Key
    {
        int atMs;
        juce::KeyPress key;
    };

    KeyFeeder(XDialog& dialogIn, std::vector<Key> keysIn) : dialog(dialogIn), keys(std::move(keysIn))
    {
        startTimer(kPumpIntervalMs);
    }
    ~KeyFeeder() override { stopTimer(); }

private:
    void timerCallback() override
    {
        ViewTest::Application().PumpMessages();
        const int elapsed = static_cast<int>(juce::Time::getMillisecondCounter() - startMs);
        if (next < keys.size() && elapsed >= keys[next].atMs && dialog.isShowing())
            dialog.keyPressed(keys[next++].key);
    }

    XDialog& dialog;
    std::vector<Key> keys;
    size_t next = 0;
    const juce::uint32 startMs = juce::Time::getMillisecondCounter();
};

juce::KeyPress Escape()
{
    return juce::KeyPress(juce::KeyPress::escapeKey);
}

juce::KeyPress Return()
{
    return juce::KeyPress(juce::KeyPress::returnKey);
}

XDialogResult RunWithKeys(XDialog& dialog, std::vector<KeyFeeder::Key> keys, int32_t timeoutMs = 0,
                          XView* parent = nullptr)
{
    KeyFeeder feeder(dialog, std::move(keys));
    return dialog.RunModal(parent, timeoutMs);
}

/** The skin of the build, the view factory with the widgets' words, and the text field reader. */
class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        const juce::File system = SkinTestSupport::BuiltSystemFolder();
        ASSERT_TRUE(system.getChildFile("GlobalColors.dat").existsAsFile()) << "build the target krx_skin";
        GetResourceManager().SetBaseFolder(system.getFullPathName().toRawUTF8());
        if (GetResourceManager().CountSkinFolders() == 0)
            GetResourceManager().AddSkinFolder(SkinTestSupport::kSkinFolder);
        ASSERT_TRUE(SkinTestSupport::LoadSkinTables(system));
        WidgetViewTypes::Install();
        InitViewFactory();
        TextFieldAccess::SetReader(
            [](XView* view, XString& out)
            {
                auto* field = dynamic_cast<XTextEditView*>(view);
                if (field != nullptr)
                    out = field->GetText();
                return field != nullptr;
            });
    }
    void TearDown() override
    {
        TextFieldAccess::SetReader({});
        IViewServices::Set(nullptr);
    }
};

std::unique_ptr<XDialog> MakeDialog(int kind)
{
    switch (kind)
    {
    case 0:
        return std::make_unique<XOKDialog>("Note", "Done.", nullptr, nullptr, "OK");
    case 1:
        return std::make_unique<XOKCancelDialog>("Ask", "Go on?", nullptr, nullptr, "OK", "Cancel");
    default:
        return std::make_unique<XYesNoCancelDialog>("Save?", "Save changes?", nullptr, nullptr, "Yes", "No",
                                                    "Cancel");
    }
}
} // namespace

TEST_F(Dialogs, KeysEndEachKindWithItsResult)
{
    struct Case
    {
        int kind; // 0 OK, 1 OK/Cancel, 2 Yes/No/Cancel
        juce::KeyPress key;
        XDialogResult expected;
    };
    const Case cases[] = {
        {0, Escape(), 1},
        {0, Return(), 1},
        {0, juce::KeyPress('y'), 1},
        {1, Escape(), 2},
        {1, juce::KeyPress('n'), 2},
        {1, juce::KeyPress('o'), 1},
        {2, Escape(), 2},
        {2, juce::KeyPress('n'), 3},
        {2, juce::KeyPress('c'), 2},
        {2, juce::KeyPress('y'), 1},
        {2, Return(), 1},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(testing::Message() << "kind " << test.kind << " key " << test.key.getTextDescription());
        std::unique_ptr<XDialog> dialog = MakeDialog(test.kind);
        std::vector<XDialogResult> emitted;
        dialog->resultSignal.Connect([&](XDialogResult result) { emitted.push_back(result); });
        EXPECT_EQ(RunWithKeys(*dialog, {{50, test.key}}), test.expected);
        EXPECT_EQ(emitted, std::vector<XDialogResult>{test.expected});
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->GetCloseBox(), nullptr) << "a dialog ends through its buttons and keys only";
    }
}

TEST_F(Dialogs, ATimeOutEndsWithCancelAndIsStoppedWhenTheDialogEndsOtherwise)
{
    XYesNoCancelDialog dialog("Save?", "Save changes?", nullptr, nullptr, "Yes", "No", "Cancel");
    const uint32_t start = PlatformClock::GetTickCount();
    EXPECT_EQ(RunWithKeys(dialog, {}, 3000), 2);
    const uint32_t elapsed = PlatformClock::GetTickCount() - start;
    EXPECT_GE(elapsed, 2900u);
    EXPECT_LT(elapsed, 30000u);

    // Ended by a key well before its time-out, the next run (without one) waits for its key.
    EXPECT_EQ(RunWithKeys(dialog, {{20, Escape()}}, 300), 2);
    EXPECT_EQ(RunWithKeys(dialog, {{700, juce::KeyPress('n')}}), 3);
}

TEST_F(Dialogs, ANoLabelTooWideGrowsItsButtonAndMovesTheButtonsRightOfItLeft)
{
    // A label exactly 20 pixels too wide for the 80-pixel button with its 8-pixel margin.
    XString label("N");
    XFont* font = nullptr;
    {
        XYesNoCancelDialog probe("Save?", "Save?", nullptr, nullptr, "Yes", "No", "Cancel");
        DialogTest::DialogAnswerer answerer;
        XView* no = nullptr;
        XDialog::SetAnswerHook(
            [&](XDialog& dialog)
            {
                no = dialog.FindView(XYesNoCancelDialog::kNoButtonName);
                font = no != nullptr ? no->GetFont() : nullptr;
                return XDialog::kCancel;
            });
        probe.RunModal(nullptr, 0);
        ASSERT_NE(font, nullptr);
        // Wide and narrow letters mixed until the width is exactly 92.
        for (int wide = 0; wide < 40 && font->GetStringWidth(label) != 92; ++wide)
        {
            label = "N";
            for (int index = 0; index < wide; ++index)
                label += "o";
            while (font->GetStringWidth(label) < 92)
                label += "i";
        }
        ASSERT_EQ(font->GetStringWidth(label), 92) << "no label of the skin's button font is 92 pixels wide";
    }
    XYesNoCancelDialog dialog("Save?", "Save?", nullptr, nullptr, "Yes", label, "Cancel");
    XRect ok, no, cancel;
    DialogTest::DialogAnswerer answerer;
    XDialog::SetAnswerHook(
        [&](XDialog& shown)
        {
            ok = shown.FindView("OKButton")->GetFrame();
            no = shown.FindView("NoButton")->GetFrame();
            cancel = shown.FindView("CancelButton")->GetFrame();
            return XDialog::kCancel;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), 2);
    // The description places Cancel at 108, No at 196 and OK (Yes) at 284, each 80 wide.
    EXPECT_EQ(ok.left, 284 - 20);
    EXPECT_EQ(ok.Width(), 80);
    EXPECT_EQ(no.Width(), 100);
    EXPECT_EQ(no.right, 276 - 20);
    EXPECT_EQ(cancel.left, 108);
    EXPECT_EQ(cancel.Width(), 80);
}

TEST_F(Dialogs, AnErrorDialogSetsTheErrorParameterWhileOpen)
{
    // Kept for the process: the error dialogs of other tests find it too.
    static std::unique_ptr<FloatParam> error = ViewTest::MakeParam(0, 2, "error");
    ParamRegistry::Register(error.get(), XString(XDialog::kErrorParamPath));
    std::vector<double> whileOpen;
    DialogTest::DialogAnswerer answerer;
    XDialog::SetAnswerHook(
        [&](XDialog&)
        {
            whileOpen.push_back(error->GetValue());
            return XDialog::kOK;
        });
    XErrorDialog dialog(XString("The unit did not answer."));
    EXPECT_EQ(dialog.RunModal(nullptr, 0), 1);
    EXPECT_EQ(whileOpen, std::vector<double>{2.0});
    EXPECT_EQ(error->GetValue(), 0.0);
    EXPECT_STREQ(dialog.GetDialogTitle().CStr(), "Error...");
    EXPECT_STREQ(dialog.GetText().CStr(), "The unit did not answer.");
    ParamRegistry::Unregister(error.get(), XString(XDialog::kErrorParamPath));
}

TEST_F(Dialogs, TheTextPromptTakesItsEntryAndRefusesABlankOneWithANestedError)
{
    {
        XGetTextDialog prompt("Name", "Preset name:", "Preset 1", nullptr, nullptr, nullptr, "OK", "Cancel",
                              false);
        EXPECT_EQ(RunWithKeys(prompt, {{50, Return()}}), 1);
        ASSERT_NE(prompt.GetTextField(), nullptr);
        XString entered;
        prompt.GetText(entered);
        EXPECT_STREQ(entered.CStr(), "Preset 1");
    }
    {
        XGetTextDialog allowed("Name", "Preset name:", "", nullptr, nullptr, nullptr, "OK", "Cancel", true);
        EXPECT_EQ(RunWithKeys(allowed, {{50, Return()}}), 1);
    }
    XGetTextDialog refused("Name", "Preset name:", "", nullptr, nullptr, nullptr, "OK", "Cancel", false);
    std::vector<std::string> nested;
    XDialog::SetAnswerHook(
        [&](XDialog& dialog)
        {
            if (auto* error = dynamic_cast<XErrorDialog*>(&dialog))
            {
                nested.push_back(error->GetText().CStr());
                return XDialog::kOK;
            }
            return XDialog::kNotEnded;
        });
    EXPECT_EQ(RunWithKeys(refused, {{50, Return()}, {150, Escape()}}), 2);
    XDialog::SetAnswerHook({});
    EXPECT_EQ(nested, std::vector<std::string>{"The entry is blank."});
}

TEST_F(Dialogs, TheTemplateDialogListsEmptyFirstThenTheTemplatesAndDeletesAfterAsking)
{
    TestSupport::TempFolder folder;
    for (const char* name : {"b.tmp", "a.tmp", "notes.txt"})
        juce::File(folder.Child(name)).replaceWithText("x");
    XTemplateDialog dialog(XString(folder.Path().c_str()));
    DialogTest::DialogAnswerer answerer;
    std::vector<std::string> rows;
    XDialog::SetAnswerHook(
        [&](XDialog& shown)
        {
            auto& chooser = dynamic_cast<XTemplateDialog&>(shown);
            EXPECT_NE(chooser.GetTemplateList(), nullptr);
            EXPECT_NE(chooser.FindView(XTemplateDialog::kDeleteButtonName), nullptr);
            for (int32_t row = 0; row < chooser.GetRowCount(); ++row)
                rows.push_back(chooser.GetRowText(row).CStr());
            EXPECT_EQ(chooser.GetSelectedRow(), 0);
            chooser.SelectRow(2);
            XMessage ok(XDialog::kOKMessage);
            chooser.MessageReceived(ok);
            return chooser.GetResult();
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), 1);
    EXPECT_EQ(rows, (std::vector<std::string>{"Empty", "a", "b"}));
    EXPECT_STREQ(dialog.GetSelectedPath().CStr(), (folder.Path() + "\\b.tmp").c_str());

    // Deleting asks first: Cancel keeps the file, OK deletes it and lists anew.
    XDialog::SetAnswerHook({});
    DialogTest::DialogAnswerer questions;
    questions.answers = {XDialog::kCancel, XDialog::kOK};
    dialog.SelectRow(1);
    dialog.DeleteSelectedTemplate();
    EXPECT_TRUE(juce::File(folder.Child("a.tmp")).existsAsFile());
    dialog.DeleteSelectedTemplate();
    EXPECT_FALSE(juce::File(folder.Child("a.tmp")).existsAsFile());
    ASSERT_EQ(dialog.GetRowCount(), 2);
    EXPECT_STREQ(dialog.GetRowText(1).CStr(), "b");
    ASSERT_EQ(questions.dialogs.size(), 2u);
    EXPECT_EQ(questions.dialogs[0].kind, "XOKCancelDialog");
    EXPECT_EQ(questions.dialogs[0].text, "Are you sure you want to delete the template a?");

    // No selection, or a template gone meanwhile: an error, and the dialog stays.
    questions.dialogs.clear();
    dialog.SelectRow(XTemplateDialog::kNoSelection);
    EXPECT_FALSE(dialog.LoadSelectedTemplate());
    dialog.SelectRow(1);
    ASSERT_TRUE(juce::File(folder.Child("b.tmp")).deleteFile());
    EXPECT_FALSE(dialog.LoadSelectedTemplate());
    ASSERT_EQ(questions.dialogs.size(), 2u);
    EXPECT_EQ(questions.dialogs[0].text, "Please select a template to load.");
    EXPECT_EQ(questions.dialogs[1].kind, "XErrorDialog");
    EXPECT_EQ(questions.dialogs[1].text, "This template file b no longer exists.");
}

TEST_F(Dialogs, ADialogIsCentredOnItsParentUnlessThatLeavesTheParentsMonitor)
{
    struct Case
    {
        XRect parentFrame;
        bool onParent; // else centred on the monitor
    };
    // Under Xvfb the one monitor is 1280x1024.
    for (const Case& test :
         {Case{XRect(100, 120, 800, 620), true}, Case{XRect(1000, 850, 1400, 1150), false}})
    {
        XPopupWindow parent(test.parentFrame, "DialogParent", nullptr);
        parent.Attach();
        parent.Show();
        XOKDialog dialog("Note", "Centred.", nullptr, nullptr, "OK");
        juce::Rectangle<int> shown;
        dialog.resultSignal.Connect(
            [&](XDialogResult)
            {
                shown = dialog.getScreenBounds();
                if (test.onParent)
                    GuiTestSupport::TakeScreenshot(dialog, "Dialog_OKOverParent");
            });
        EXPECT_EQ(RunWithKeys(dialog, {{50, Return()}}, 0, &parent), 1);
        const XRect area = GetWindowArea(&parent);
        const juce::Rectangle<int> expected =
            test.onParent ? parent.getScreenBounds()
                          : juce::Rectangle<int>(area.left, area.top, area.Width(), area.Height());
        // The window fits the description's 380-pixel content.
        EXPECT_GE(shown.getWidth(), 380);
        EXPECT_NEAR(shown.getCentreX(), expected.getCentreX(), 1);
        EXPECT_NEAR(shown.getCentreY(), expected.getCentreY(), 1);
        parent.Hide();
    }
}

TEST_F(Dialogs, AParentDeletedWhileTheDialogLivesIsForgottenAndTheDialogCentresOnTheMonitor)
{
    auto parent = std::make_unique<XPopupWindow>(XRect(100, 120, 800, 620), "DialogParent", nullptr);
    XOKDialog dialog("Note", "Parent gone.", parent.get(), nullptr, "OK");
    EXPECT_EQ(dialog.GetDialogParent(), parent.get());
    parent.reset();
    EXPECT_EQ(dialog.GetDialogParent(), nullptr);

    // Deleted after the run began and before the dialog is placed: it is centred on the monitor.
    parent = std::make_unique<XPopupWindow>(XRect(100, 120, 600, 420), "DialogParent", nullptr);
    parent->Attach();
    parent->Show();
    XDialog::SetAnswerHook(
        [&parent](XDialog&)
        {
            parent.reset();
            return XDialog::kNotEnded;
        });
    juce::Rectangle<int> shown;
    XView* parentAtEnd = &dialog;
    dialog.resultSignal.Connect(
        [&](XDialogResult)
        {
            shown = dialog.getScreenBounds();
            parentAtEnd = dialog.GetDialogParent();
        });
    const XDialogResult result = RunWithKeys(dialog, {{50, Return()}}, 0, parent.get());
    XDialog::SetAnswerHook({});
    EXPECT_EQ(result, XDialog::kOK);
    EXPECT_EQ(parentAtEnd, nullptr);
    const XRect area = GetWindowArea(&dialog);
    EXPECT_NEAR(shown.getCentreX(), (area.left + area.right) / 2, 1);
    EXPECT_NEAR(shown.getCentreY(), (area.top + area.bottom) / 2, 1);
}
