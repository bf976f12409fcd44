#include "core/XKeyPress.h"

#include "CommandTestSupport.h"
#include "support/ParamTestSupport.h"
#include "core/FloatParam.h"
#include "core/IAsyncKeyState.h"
#include "core/ModifierKeyState.h"
#include "core/XKeyPressMappingSet.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

using CommandTest::FakeCommand;

namespace
{
constexpr XKeyInfo kCtrlShift = XKeyMod::kCtrl | XKeyMod::kShift;

TEST(XKeyPressTest, TextsParseToKeyPressesAndPrintBackNormalised)
{
    struct Case
    {
        const char* text;
        int32_t code;
        XKeyInfo modifiers;
        const char* printed;
    };
    const Case cases[] = {
        {"ctrl shift f12", XKeyCode::kF12, 0x0F, "ctrl + shift + F12"},
        {"alt #1b", XKeyCode::kEscape, 0x30, "alt + escape"},
        {"page up", XKeyCode::kPageUp, 0, "page up"},
        {"Page Down", XKeyCode::kPageDown, 0, "page down"},
        {"Ctrl+Q", 'Q', 0x0C, "ctrl + Q"},
        {"ctrl + q", 'Q', 0x0C, "ctrl + Q"},
        {"Ctrl+Shift+Z", 'Z', 0x0F, "ctrl + shift + Z"},
        {"Control-Option-Delete", XKeyCode::kDelete, 0x3C, "ctrl + alt + delete"},
        {"ctl+#10021", XKeyCode::kPageUp, 0x0C, "ctrl + page up"},
        {"numeric plus", XKeyCode::kKeypadPlus, 0x100, "num + Plus"},
        {"num + Minus", XKeyCode::kKeypadMinus, 0x100, "num + Minus"},
        {"shft+F1", XKeyCode::kF1, 0x03, "shift + F1"},
        {"F10", XKeyCode::kF1 + 9, 0, "F10"},
        {"Spacebar", XKeyCode::kSpace, 0, "spacebar"},
        {"fast forward", XKeyCode::kFastForward, 0, "fast forward"},
        {"ctrl+backspace", XKeyCode::kBackspace, 0x0C, "ctrl + backspace"},
        {"shift+tab", XKeyCode::kTab, 0x03, "shift + tab"},
        {"alt+uptown", 'N', 0x30, "alt + N"}, // "up" only counts as a whole word
        {"controller+x", 'X', 0, "X"},        // so does "control"
        {"ctrl++", '+', 0x0C, "ctrl + +"},
        {"ctrl + #", '#', 0x0C, "ctrl + #"},       // nothing after "#": the last character
        {"#0", '0', 0, "0"},                       // a code of 0 after "#" is no code
        {"ctrl + #7f", 0x7F, 0x0C, "ctrl + #07f"}, // not printable: hexadecimal
        {"#0f1", 0xF1, 0, "#0f1"},                 // never read back as F1
        {"", 0, 0, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        const XKeyPress parsed = ParseKeyPressText(c.text);
        EXPECT_EQ(parsed.keyCode, c.code);
        EXPECT_EQ(parsed.modifiers, c.modifiers);
        EXPECT_STREQ(KeyPressToText(parsed).CStr(), c.printed);
    }
    EXPECT_STREQ(KeyPressToText({'a', XKeyMod::kAlt}).CStr(), "alt + A");
    EXPECT_STREQ(KeyPressToText({-5, XKeyMod::kCtrl}).CStr(), "");
}

TEST(XKeyPressTest, EqualityIgnoresTheCaseOfByteCodesOnlyAndNeedsEqualModifiers)
{
    struct Case
    {
        XKeyPress a;
        XKeyPress b;
        bool equal;
    };
    const Case cases[] = {
        {{'a', XKeyMod::kCtrl}, {'A', XKeyMod::kCtrl}, true},
        {{'a', XKeyMod::kCtrl}, {'a', XKeyMod::kShift}, false},
        {{'a', XKeyMod::kCtrl}, {'b', XKeyMod::kCtrl}, false},
        {{XKeyCode::kPageUp, 0}, {XKeyCode::kPageUp, 0}, true},
        {{0x161, 0}, {0x141, 0}, false}, // above 255 case counts
        {{'1', XKeyMod::kKeypad}, {'1', 0}, false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.a == c.b, c.equal) << c.a.keyCode << "/" << c.a.modifiers << " vs " << c.b.keyCode;
        EXPECT_EQ(c.b == c.a, c.equal);
    }
}

TEST(XKeyPressTest, RandomTextsParseToPressesWhoseTextReadsBackTheSame)
{
    std::mt19937 random(1602);
    const std::string pieces[] = {"ctrl", "shift", "alt",  "num",      "+",    " ",     "#",
                                  "f1",   "f12",   "page", "up",       "down", "Plus",  "x",
                                  "Z",    "9",     "ff",   "\xc3\xa9", "-",    "escape"};
    for (int round = 0; round < 20000; ++round)
    {
        std::string text;
        const int count = static_cast<int>(random() % 7);
        for (int i = 0; i < count; ++i)
        {
            if (random() % 4 == 0)
                text += static_cast<char>(1 + random() % 255);
            else
                text += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
        }
        const XKeyPress parsed = ParseKeyPressText(text.c_str());
        if (parsed.keyCode <= 0)
            continue;
        const XString printed = KeyPressToText(parsed);
        ASSERT_TRUE(ParseKeyPressText(printed) == parsed)
            << "text '" << text << "' printed '" << printed.CStr() << "'";
    }
}

TEST(XKeyPressMappingSetTest, GivingOneCommandsKeyToAnotherTakesItFromTheFirst)
{
    FakeCommand save("save");
    FakeCommand store("store");
    XKeyPressMappingSet set;
    set.AddMapping(&save, "Save", "File", 0, 0x2);
    set.AddMapping(&store, "Store", "File", 0, 0x2);
    const XKeyPress ctrlS{'S', XKeyMod::kCtrl};

    set.AddKeyPress(&save, ctrlS);
    EXPECT_EQ(set.FindCommandForKey({'s', XKeyMod::kCtrl}), &save);
    EXPECT_STREQ(save.GetRawShortcutText().CStr(), "ctrl + S");

    set.AddKeyPress(&store, ctrlS);
    EXPECT_EQ(set.FindCommandForKey(ctrlS), &store);
    EXPECT_STREQ(store.GetRawShortcutText().CStr(), "ctrl + S");
    EXPECT_TRUE(set.GetMapping(0)->keyPresses.empty());
    // The first command no longer shows a key that now runs the other.
    EXPECT_STREQ(save.GetRawShortcutText().CStr(), "");

    // A command keeps one key: a new key replaces its old one.
    set.AddKeyPress(&store, {XKeyCode::kF1 + 4, 0});
    EXPECT_EQ(set.FindCommandForKey(ctrlS), nullptr);
    EXPECT_STREQ(store.GetRawShortcutText().CStr(), "F5");

    // Code 0 binds nothing; a command without a mapping gets nothing.
    set.AddKeyPress(&save, {0, XKeyMod::kCtrl});
    EXPECT_EQ(set.FindCommandForKey({0, XKeyMod::kCtrl}), nullptr);
    FakeCommand unmapped("unmapped");
    set.AddKeyPress(&unmapped, ctrlS);
    EXPECT_EQ(set.FindCommandForKey(ctrlS), nullptr);
}

TEST(XKeyPressMappingSetTest, MappingsAreReplacedRebuiltFromHotKeysCopiedAndRemoved)
{
    FakeCommand quit("quit");
    quit.SetHotKeyText("ctrl + Q");
    XKeyPressMappingSet set;
    set.AddMapping(&quit, "Quit", "Global", 0, 0x2);
    set.AddMapping(nullptr, "None", "Global", 0, 0);
    set.AddMapping(&quit, "Quit again", "Global", 7, 0x5);
    ASSERT_EQ(set.GetMappingCount(), 1);
    EXPECT_STREQ(set.GetMapping(0)->name.CStr(), "Quit again");
    EXPECT_EQ(set.GetMapping(0)->value, 7);
    EXPECT_EQ(set.GetMapping(0)->flagBits, 0x5);

    set.UpdateCommandMapping(&quit);
    EXPECT_EQ(set.FindCommandForKey({'q', XKeyMod::kCtrl}), &quit);

    const XKeyPressMappingSet copy(set);
    set.RemoveKeyPress({'Q', XKeyMod::kCtrl});
    EXPECT_EQ(set.FindCommandForKey({'Q', XKeyMod::kCtrl}), nullptr);
    EXPECT_EQ(copy.FindCommandForKey({'Q', XKeyMod::kCtrl}), &quit);

    set.RemoveMappings(&quit);
    EXPECT_EQ(set.GetMappingCount(), 0);
    EXPECT_EQ(set.GetMapping(0), nullptr);
}

/** A keyboard whose keys the test holds. */
class FakeKeyboard final : public IAsyncKeyState
{
public:
    FakeKeyboard() { InstallAsyncKeyState(this); }
    ~FakeKeyboard() override { InstallAsyncKeyState(nullptr); }
    bool IsDown(Key key) override { return (held & (1u << static_cast<unsigned>(key))) != 0; }
    void Hold(Key key) { held |= 1u << static_cast<unsigned>(key); }

    unsigned held = 0;
};

TEST(ModifierKeyStateTest, AModifierParameterForcesItsKeyDownElseTheKeyboardDecides)
{
    ParamTest::FakeHost host;
    EXPECT_FALSE(IsShiftKeyDown()); // nothing installed, no parameter: up

    FakeKeyboard keyboard;
    FloatParam shift(ParamTest::Desc(1, 0, 1, 0, 2, 0, "shift"));
    ASSERT_TRUE(shift.SetPath("dca\\shift"));
    EXPECT_FALSE(IsShiftKeyDown());
    shift.SetValue(1, false);
    EXPECT_TRUE(IsShiftKeyDown());
    EXPECT_FALSE(IsControlKeyDown());
    shift.SetValue(0, false);
    keyboard.Hold(IAsyncKeyState::Key::Shift);
    EXPECT_TRUE(IsShiftKeyDown());

    {
        FloatParam alt(ParamTest::Desc(1, 0, 1, 1, 2, 0, "alt"));
        ASSERT_TRUE(alt.SetPath("DCA\\Alt"));
        EXPECT_TRUE(IsAltKeyDown());
    }
    EXPECT_FALSE(IsAltKeyDown()); // the parameter is gone: never read through a stale pointer
    keyboard.Hold(IAsyncKeyState::Key::Control);
    EXPECT_TRUE(IsControlKeyDown());

    EXPECT_EQ(GetMouseButtonState(), 0);
    keyboard.Hold(IAsyncKeyState::Key::LeftButton);
    EXPECT_EQ(GetMouseButtonState(), 1);
    keyboard.Hold(IAsyncKeyState::Key::RightButton);
    EXPECT_EQ(GetMouseButtonState(), 2);
}
} // namespace
