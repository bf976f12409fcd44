#include "gui/JUCEKeyTranslation.h"

#include "core/ModifierKeyState.h"
#include "core/XKeyPress.h"
#include "gui/JUCEAsyncKeyState.h"
#include "support/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace
{
/** A toolkit key code, the framework's code for it and the framework's text of the press. */
struct KeyCase
{
    int juceCode;
    int32_t code;
    const char* text;
};

TEST(JUCEKeyTranslationTest, TheToolkitsNamedKeysBecomeTheFrameworksCodes)
{
    using K = juce::KeyPress;
    const KeyCase cases[] = {
        {K::spaceKey, 0x20, "spacebar"},
        {K::returnKey, 0x0D, "return"},
        {K::escapeKey, 0x1B, "escape"},
        {K::backspaceKey, 0x08, "backspace"},
        {K::tabKey, 0x09, "tab"},
        {K::pageUpKey, 0x10021, "page up"},
        {K::pageDownKey, 0x10022, "page down"},
        {K::endKey, 0x10023, "end"},
        {K::homeKey, 0x10024, "home"},
        {K::leftKey, 0x10025, "left"},
        {K::upKey, 0x10026, "up"},
        {K::rightKey, 0x10027, "right"},
        {K::downKey, 0x10028, "down"},
        {K::insertKey, 0x1002D, "insert"},
        {K::deleteKey, 0x1002E, "delete"},
        {K::F1Key, 0x10070, "F1"},
        {K::F10Key, 0x10079, "F10"},
        {K::F12Key, 0x1007B, "F12"},
        {K::F13Key, 0x1007C, "#01007c"},
        {K::F24Key, 0x10087, "#010087"},
        {K::F25Key, 0x31000, "#031000"},
        {K::F35Key, 0x3100A, "#03100a"},
        {K::playKey, 0x30000, "play"},
        {K::stopKey, 0x30001, "stop"},
        {K::fastForwardKey, 0x30002, "fast forward"},
        {K::rewindKey, 0x30003, "rewind"},
        {'a', 'a', "A"},
        {'Q', 'Q', "Q"},
        {'#', '#', "#"},
    };
    for (const KeyCase& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(JUCEKeyTranslation::ToKeyCode(c.juceCode), c.code);
        const XKeyPress converted = JUCEKeyTranslation::ToKeyPress(K(c.juceCode));
        EXPECT_EQ(converted.keyCode, c.code);
        EXPECT_EQ(converted.modifiers, 0);
        EXPECT_STREQ(KeyPressToText(converted).CStr(), c.text);
    }
}

TEST(JUCEKeyTranslationTest, NumberPadKeysCarryTheKeypadBit)
{
    using K = juce::KeyPress;
    const KeyCase cases[] = {
        {K::numberPadAdd, 0x1006B, "num + Plus"},      {K::numberPadSubtract, 0x1006D, "num + Minus"},
        {K::numberPad0, 0x10060, "num + #010060"},     {K::numberPad9, 0x10069, "num + #010069"},
        {K::numberPadDelete, 0x1002E, "num + delete"},
    };
    for (const KeyCase& c : cases)
    {
        SCOPED_TRACE(c.text);
        const XKeyPress converted = JUCEKeyTranslation::ToKeyPress(K(c.juceCode));
        EXPECT_EQ(converted.keyCode, c.code);
        EXPECT_EQ(converted.modifiers, XKeyMod::kKeypad);
        EXPECT_STREQ(KeyPressToText(converted).CStr(), c.text);
        EXPECT_TRUE(ParseKeyPressText(KeyPressToText(converted)) == converted);
    }
}

TEST(JUCEKeyTranslationTest, ModifierKeysSetBothBitsOfTheirPair)
{
    using M = juce::ModifierKeys;
    struct Case
    {
        int flags;
        XKeyInfo bits;
    };
    const Case cases[] = {
        {0, 0},
        {M::shiftModifier, 0x03},
        {M::ctrlModifier, 0x0C},
        {M::altModifier, 0x30},
        {M::shiftModifier | M::ctrlModifier | M::altModifier, 0x3F},
        {M::leftButtonModifier | M::rightButtonModifier, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JUCEKeyTranslation::ToModifiers(M(c.flags)), c.bits) << c.flags;

    const XKeyPress ctrlShiftF12 = JUCEKeyTranslation::ToKeyPress(
        juce::KeyPress(juce::KeyPress::F12Key, M(M::ctrlModifier | M::shiftModifier), 0));
    EXPECT_TRUE(ctrlShiftF12 == ParseKeyPressText("ctrl shift f12"));
    const XKeyPress ctrlA = JUCEKeyTranslation::ToKeyPress(juce::KeyPress('a', M(M::ctrlModifier), 'a'));
    EXPECT_TRUE(ctrlA == ParseKeyPressText("Ctrl+A"));
}

TEST(JUCEAsyncKeyStateTest, WithNoKeyHeldTheInstalledToolkitStateReportsUp)
{
    JUCEAsyncKeyState::Install();
    ASSERT_NE(GetInstalledAsyncKeyState(), nullptr);
    EXPECT_FALSE(IsShiftKeyDown());
    EXPECT_FALSE(IsControlKeyDown());
    EXPECT_FALSE(IsAltKeyDown());
    EXPECT_EQ(GetMouseButtonState(), 0);
    JUCEAsyncKeyState::Uninstall();
    EXPECT_EQ(GetInstalledAsyncKeyState(), nullptr);
}
} // namespace
