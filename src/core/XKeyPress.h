#pragma once

#include "core/XString.h"

#include <cstdint>

/** The modifier word of a key press: the bits of XKeyMod, or-ed. */
using XKeyInfo = int32_t;

/** Modifier bits of a key press. A converted toolkit key press sets both bits of a pair; readers
    test either. */
namespace XKeyMod
{
constexpr XKeyInfo kShift = 0x03;
constexpr XKeyInfo kCtrl = 0x0C;
constexpr XKeyInfo kAlt = 0x30;
/** The key was auto-repeated: command look-ups ignore such presses. */
constexpr XKeyInfo kRepeat = 0x80;
/** The key sits on the numeric keypad. */
constexpr XKeyInfo kKeypad = 0x100;
} // namespace XKeyMod

/** Key codes of the framework: characters are themselves; special keys have these codes
    (whatever the toolkit of the platform reports, the conversion in the GUI layer maps it here). */
namespace XKeyCode
{
constexpr int32_t kBackspace = 0x08;
constexpr int32_t kTab = 0x09;
constexpr int32_t kReturn = 0x0D;
constexpr int32_t kEscape = 0x1B;
constexpr int32_t kSpace = 0x20;
constexpr int32_t kPageUp = 0x10021;
constexpr int32_t kPageDown = 0x10022;
constexpr int32_t kEnd = 0x10023;
constexpr int32_t kHome = 0x10024;
constexpr int32_t kLeft = 0x10025;
constexpr int32_t kUp = 0x10026;
constexpr int32_t kRight = 0x10027;
constexpr int32_t kDown = 0x10028;
constexpr int32_t kInsert = 0x1002D;
constexpr int32_t kDelete = 0x1002E;
/** Keypad digits 0 to 9 are kKeypad0 + digit. */
constexpr int32_t kKeypad0 = 0x10060;
constexpr int32_t kKeypadMultiply = 0x1006A;
constexpr int32_t kKeypadPlus = 0x1006B;
constexpr int32_t kKeypadSeparator = 0x1006C;
constexpr int32_t kKeypadMinus = 0x1006D;
constexpr int32_t kKeypadDecimalPoint = 0x1006E;
constexpr int32_t kKeypadDivide = 0x1006F;
constexpr int32_t kKeypadEquals = 0x10092;
/** F1 to F24 are kF1 + n - 1. */
constexpr int32_t kF1 = 0x10070;
constexpr int32_t kF12 = 0x1007B;
/** F25 to F35 are kF25 + n - 25. */
constexpr int32_t kF25 = 0x31000;
constexpr int32_t kPlay = 0x30000;
constexpr int32_t kStop = 0x30001;
constexpr int32_t kFastForward = 0x30002;
constexpr int32_t kRewind = 0x30003;
} // namespace XKeyCode

/** One key press of the framework: a key code (XKeyCode) and the modifier bits (XKeyMod).
    Two presses are equal when their modifier bits are equal and their codes are equal, codes
    below 256 compared without regard to case. A plain value. */
struct XKeyPress
{
    int32_t keyCode = 0;
    XKeyInfo modifiers = 0;

    bool operator==(const XKeyPress& other) const;
    bool operator!=(const XKeyPress& other) const { return !(*this == other); }
};

/** The text form of a key press: "ctrl + ", "shift + ", "alt + ", "num + " for the modifiers
    present, in that order, then the key's name ("page up"), "F" and the number for F1 to F12, the
    upper-cased character for codes 0x21 to 0x7E, else "#0" and the code in hexadecimal. Empty for
    a code of 0 or less. ParseKeyPressText reads every such text back to the same key press. */
XString KeyPressToText(const XKeyPress& keyPress);

/** Reads a hot-key text such as "Ctrl+Shift+Z" or "ctrl + shift + F12": modifier words anywhere as
    whole words without regard to case, then the key from a key name, "F1" to "F12", "#" and a
    hexadecimal code, or else the text's last character upper-cased. An empty text gives code 0. */
XKeyPress ParseKeyPressText(const XString& text);
