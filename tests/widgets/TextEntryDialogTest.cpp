#include "widgets/TextEntryDialog.h"

#include "WidgetTestSupport.h"
#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XKeyPress.h"
#include "gui/ViewKeywords.h"

#include <gtest/gtest.h>

namespace
{
TEST(TextEntryDialogTest, InitMakesTheKeyboardParametersOnceAndTheConstants)
{
    TextEntryDialog::Init();
    FloatParam* caps = TextEntryDialog::GetCapsParam();
    FloatParam* shift = TextEntryDialog::GetShiftParam();
    ASSERT_NE(caps, nullptr);
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(FindParam("%s", TextEntryDialog::kCapsPath), caps);
    EXPECT_EQ(FindParam("%s", TextEntryDialog::kShiftPath), shift);
    EXPECT_EQ(caps->GetValue(), 0.0);
    EXPECT_EQ(caps->GetMax(), 1.0);

    TextEntryDialog::Init();
    EXPECT_EQ(TextEntryDialog::GetCapsParam(), caps) << "made once per process";

    struct Case
    {
        const char* name;
        uint32_t code;
    };
    const Case cases[] = {{"X_TEXTENTRY_CLEAR", FourCharCode("txtc")},
                          {"X_NUM_ENTRY_UP", FourCharCode("numu")},
                          {"X_NUM_ENTRY_DOWN", FourCharCode("numd")}};
    for (const Case& c : cases)
    {
        int32_t value = 0;
        ASSERT_TRUE(ViewKeywords::FindNamedConstant(c.name, value)) << c.name;
        EXPECT_EQ(static_cast<uint32_t>(value), c.code) << c.name;
    }
}

// Caps Lock is the framework's own flag on this platform: setting "keyboard\caps" never toggles the
// system's Caps Lock; reading it gives the flag, and the views' key dispatch inverts Shift for
// letters while it is on.
TEST(TextEntryDialogTest, TheCapsFlagInvertsShiftForLettersOnly)
{
    TextEntryDialog::Init();
    FloatParam* caps = TextEntryDialog::GetCapsParam();
    caps->SetValue(1, true);
    EXPECT_EQ(FindParam("%s", TextEntryDialog::kCapsPath)->GetValue(), 1.0);
    int32_t keyCode = 0;
    XKeyInfo modifiers = 0;
    XView::ConvertKeyPress(juce::KeyPress('A'), keyCode, modifiers);
    EXPECT_NE(modifiers & XKeyMod::kShift, 0);
    XView::ConvertKeyPress(juce::KeyPress('7'), keyCode, modifiers);
    EXPECT_EQ(modifiers & XKeyMod::kShift, 0);
    caps->SetValue(0, true);
    XView::ConvertKeyPress(juce::KeyPress('B'), keyCode, modifiers);
    EXPECT_EQ(modifiers & XKeyMod::kShift, 0);
}
} // namespace
