#include "app/FirmwareUpdateDialog.h"

#include "core/ParamRegistry.h"
#include "core/XParamGroup.h"
#include "device/GlobalParamTables.h"
#include "gui/IFolderChooser.h"
#include "gui/ViewFactory.h"
#include "gui/XButton.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XText.h"
#include "support/AppServicesStandIn.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/QM7Style.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XCheckBox.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace
{
/** Answers the folder choice as the test says and records what it was asked. */
class ChooserStandIn final : public IFolderChooser
{
public:
    ChooserStandIn() { SetFolderChooser(this); }
    ~ChooserStandIn() override { SetFolderChooser(nullptr); }

    bool ChooseFolder(const XString& title, const XString& wildcard, XString& folder) override
    {
        asked.push_back({title.CStr(), wildcard.CStr(), folder.CStr()});
        if (answer.empty())
            return false;
        folder = answer.c_str();
        return true;
    }

    struct Question
    {
        std::string title;
        std::string wildcard;
        std::string startFolder;
    };
    std::string answer; // empty: the user cancels
    std::vector<Question> asked;
};

/** The build's skin with the widgets' view types, the application's main group (its parameters
    125 SaveUserPreset and 126 SaveUserPresetPath among them) and the program's style. */
class FirmwareUpdateDialogTest : public ::testing::Test
{
protected:
    FirmwareUpdateDialogTest() : mainGroup("main") {}

    void SetUp() override
    {
        ViewTest::Application();
        if (!SkinTestSupport::UseBuiltSkin())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
        WidgetViewTypes::Install();
        InitViewFactory();
        mainGroup.AddParams(AppStateParamTable, GlobalParamTables::kAppStatePrefix);
        services.SetGroups(&mainGroup, nullptr, nullptr, nullptr);
        saveUserPreset = services.GetParam(GlobalParamTables::kSaveUserPresetId);
        presetPath = services.GetParam(GlobalParamTables::kSaveUserPresetPathId);
        QM7Style::ResetSkinCaches();
        XStyle::SetCurrentStyle(&style);
    }

    void TearDown() override
    {
        XDialog::SetAnswerHook({});
        XStyle::SetCurrentStyle(nullptr);
    }

    /** Runs the dialog; inspect sees it with its controls set up, before it would show, and
        answers it. */
    XDialogResult Run(const std::function<XDialogResult(FirmwareUpdateDialog&)>& inspect)
    {
        XDialog::SetAnswerHook([&](XDialog& shown)
                               { return inspect(dynamic_cast<FirmwareUpdateDialog&>(shown)); });
        FirmwareUpdateDialog dialog("Firmware Update", "The unit's firmware is out of date. Update it now?",
                                    nullptr, nullptr, "Update", "Cancel");
        return dialog.RunModal(nullptr, 0);
    }

    static void Click(XButton& button)
    {
        button.MouseDown(XPoint(2, 2), XView::kButtonLeft);
        button.MouseUp(XPoint(2, 2), XView::kButtonNone);
        ViewTest::Pump();
    }

    XParamGroup mainGroup;
    AppServicesStandIn services;
    XParam* saveUserPreset = nullptr;
    XParam* presetPath = nullptr;
    QM7Style style;
};

TEST_F(FirmwareUpdateDialogTest, ThePathAndFolderShowOnlyWhileSavingTheUserPresetsIsOn)
{
    const XString folder = FirmwareUpdateDialog::DefaultPresetFolder();
    EXPECT_TRUE(juce::String(folder.CStr()).endsWith("/KRX-640 Presets")) << folder.CStr();
    const XDialogResult result = Run(
        [&](FirmwareUpdateDialog& dialog)
        {
            XCheckBox* box = dialog.GetCheckBox();
            EXPECT_NE(box, nullptr);
            EXPECT_NE(dialog.GetPathButton(), nullptr);
            EXPECT_NE(dialog.GetFolderText(), nullptr);
            if (box == nullptr || dialog.GetPathButton() == nullptr || dialog.GetFolderText() == nullptr)
                return XDialog::kCancel;
            EXPECT_EQ(box->GetPot(), saveUserPreset);
            XResourceManager& skin = GetResourceManager();
            EXPECT_EQ(box->GetImage(), skin.GetImage(FirmwareUpdateDialog::kUncheckedImage));
            EXPECT_EQ(box->GetImage2(), skin.GetImage(FirmwareUpdateDialog::kCheckedImage));
            EXPECT_NE(dialog.FindView("DialogText"), nullptr);

            // The first folder is the program's, in the dialog, its text and SaveUserPresetPath.
            EXPECT_STREQ(dialog.GetFolder().CStr(), folder.CStr());
            EXPECT_STREQ(dialog.GetFolderText()->GetLabel().CStr(), folder.CStr());
            EXPECT_STREQ(presetPath->GetText().CStr(), folder.CStr());

            EXPECT_FALSE(dialog.GetPathButton()->isVisible());
            EXPECT_FALSE(dialog.GetFolderText()->isVisible());
            Click(*box);
            EXPECT_EQ(saveUserPreset->GetValue(), 1.0);
            EXPECT_TRUE(dialog.GetPathButton()->isVisible());
            EXPECT_TRUE(dialog.GetFolderText()->isVisible());
            Click(*box);
            EXPECT_EQ(saveUserPreset->GetValue(), 0.0);
            EXPECT_FALSE(dialog.GetPathButton()->isVisible());
            EXPECT_FALSE(dialog.GetFolderText()->isVisible());
            return XDialog::kOK;
        });
    EXPECT_EQ(result, XDialog::kOK);
}

TEST_F(FirmwareUpdateDialogTest, TheChosenFolderReplacesTheOldOneAndACancelledChoiceKeepsIt)
{
    ChooserStandIn chooser;
    saveUserPreset->SetValue(1, true);
    Run(
        [&](FirmwareUpdateDialog& dialog)
        {
            const XString first = dialog.GetFolder();
            chooser.answer = "/media/usb/Presets of the club";
            Click(*dialog.GetPathButton());
            EXPECT_STREQ(dialog.GetFolder().CStr(), "/media/usb/Presets of the club");
            EXPECT_STREQ(presetPath->GetText().CStr(), "/media/usb/Presets of the club");
            EXPECT_STREQ(dialog.GetFolderText()->GetLabel().CStr(), "/media/usb/Presets of the club");

            chooser.answer.clear();
            dialog.BrowseFolder();
            EXPECT_STREQ(dialog.GetFolder().CStr(), "/media/usb/Presets of the club");
            EXPECT_STREQ(presetPath->GetText().CStr(), "/media/usb/Presets of the club");

            EXPECT_EQ(chooser.asked.size(), 2u);
            if (!chooser.asked.empty())
            {
                EXPECT_EQ(chooser.asked[0].title, "Browse for folder");
                EXPECT_EQ(chooser.asked[0].wildcard, "*.*");
                EXPECT_EQ(chooser.asked[0].startFolder, first.CStr()) << "it starts in the current folder";
            }
            return XDialog::kCancel;
        });
}

/** The dialog on the screen with saving on, for a person to judge. */
TEST_F(FirmwareUpdateDialogTest, ScreenshotOfTheDialogWithSavingOn)
{
    saveUserPreset->SetValue(1, true);
    XDialog::SetAnswerHook({});
    FirmwareUpdateDialog dialog("Firmware Update", "The unit's firmware is out of date. Update it now?",
                                nullptr, nullptr, "Update", "Cancel");
    juce::Image shot;
    GuiTestSupport::ModalDialogDriver driver(
        [&](juce::Component&)
        {
            if (!dialog.isShowing())
                return false;
            GuiTestSupport::RunLoopFor(100);
            shot = GuiTestSupport::TakeScreenshot(dialog, "FirmwareUpdateDialog");
            dialog.EndModal(XDialog::kOK);
            return true;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kOK);
    ASSERT_TRUE(shot.isValid());
    EXPECT_GE(shot.getWidth(), 440);
}
} // namespace
