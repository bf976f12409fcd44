#include "core/XKeyPress.h"

namespace
{
struct NamedKey
{
    const char* name;
    int32_t code;
};

/** Key names in the order a hot-key text is searched for them: "page up" must be found before
    "up", and the first name found wins. */
constexpr NamedKey kNamedKeys[] = {
    {"spacebar", XKeyCode::kSpace},
    {"return", XKeyCode::kReturn},
    {"escape", XKeyCode::kEscape},
    {"backspace", XKeyCode::kBackspace},
    {"page up", XKeyCode::kPageUp},
    {"page down", XKeyCode::kPageDown},
    {"left", XKeyCode::kLeft},
    {"right", XKeyCode::kRight},
    {"up", XKeyCode::kUp},
    {"down", XKeyCode::kDown},
    {"home", XKeyCode::kHome},
    {"end", XKeyCode::kEnd},
    {"delete", XKeyCode::kDelete},
    {"insert", XKeyCode::kInsert},
    {"tab", XKeyCode::kTab},
    {"play", XKeyCode::kPlay},
    {"stop", XKeyCode::kStop},
    {"fast forward", XKeyCode::kFastForward},
    {"rewind", XKeyCode::kRewind},
    {"Plus", XKeyCode::kKeypadPlus},
    {"Minus", XKeyCode::kKeypadMinus},
};

struct ModifierWords
{
    const char* words[3];
    XKeyInfo bits;
};

constexpr ModifierWords kModifierWords[] = {
    {{"ctrl", "control", "ctl"}, XKeyMod::kCtrl},
    {{"shift", "shft", nullptr}, XKeyMod::kShift},
    {{"alt", "option", nullptr}, XKeyMod::kAlt},
    {{"num", "numeric", nullptr}, XKeyMod::kKeypad},
};

constexpr int kFunctionKeyCount = 12;
/** Characters printed as themselves; others get "#" and hexadecimal so that the text stays UTF-8. */
constexpr int32_t kFirstPrintable = 0x21;
constexpr int32_t kLastPrintable = 0x7E;
constexpr int32_t kCaseFoldLimit = 256;
constexpr const char* kHexDigits = "0123456789abcdef";

int32_t FoldCase(int32_t code)
{
    return code >= 'A' && code <= 'Z' ? code - 'A' + 'a' : code;
}

int32_t UpperCase(int32_t code)
{
    return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
}

bool ContainsAnyWord(const XString& text, const char* const* words, int count)
{
    for (int i = 0; i < count; ++i)
        if (words[i] != nullptr && text.ContainsWordNoCase(words[i]))
            return true;
    return false;
}

/** The key named by the text, 0 when it names none. */
int32_t FindNamedKey(const XString& text)
{
    for (const NamedKey& key : kNamedKeys)
        if (text.ContainsWordNoCase(key.name))
            return key.code;
    int32_t found = 0;
    for (int n = 1; n <= kFunctionKeyCount; ++n)
    {
        XString name;
        name.Format("f%d", n);
        if (text.ContainsWordNoCase(name.CStr()))
            found = XKeyCode::kF1 + n - 1;
    }
    return found;
}

/** The code after the first '#', 0 when there is none or it is not above 0. */
int32_t FindHexCode(const XString& text)
{
    const int hash = text.FindChar('#');
    if (hash < 0)
        return 0;
    const XString digits = text.From(hash + 1).ToLower().KeepChars(kHexDigits);
    if (digits.IsEmpty())
        return 0;
    const int value = digits.HexToInt();
    return value > 0 ? value : 0;
}
} // namespace

bool XKeyPress::operator==(const XKeyPress& other) const
{
    if (modifiers != other.modifiers)
        return false;
    if (keyCode == other.keyCode)
        return true;
    const bool bothBytes =
        keyCode >= 0 && keyCode < kCaseFoldLimit && other.keyCode >= 0 && other.keyCode < kCaseFoldLimit;
    return bothBytes && FoldCase(keyCode) == FoldCase(other.keyCode);
}

XString KeyPressToText(const XKeyPress& keyPress)
{
    XString text;
    if (keyPress.keyCode <= 0)
        return text;
    if ((keyPress.modifiers & XKeyMod::kCtrl) != 0)
        text += "ctrl + ";
    if ((keyPress.modifiers & XKeyMod::kShift) != 0)
        text += "shift + ";
    if ((keyPress.modifiers & XKeyMod::kAlt) != 0)
        text += "alt + ";
    if ((keyPress.modifiers & XKeyMod::kKeypad) != 0)
        text += "num + ";

    for (const NamedKey& key : kNamedKeys)
        if (key.code == keyPress.keyCode)
            return text += key.name;
    if (keyPress.keyCode >= XKeyCode::kF1 && keyPress.keyCode <= XKeyCode::kF12)
    {
        XString name;
        name.Format("F%d", keyPress.keyCode - XKeyCode::kF1 + 1);
        return text += name;
    }
    if (keyPress.keyCode >= kFirstPrintable && keyPress.keyCode <= kLastPrintable)
        return text += static_cast<char>(UpperCase(keyPress.keyCode));
    // The leading 0 keeps the digits from reading back as a key name ("#f1" would give F1).
    XString hex;
    hex.Format("#0%x", static_cast<unsigned>(keyPress.keyCode));
    return text += hex;
}

XKeyPress ParseKeyPressText(const XString& text)
{
    XKeyPress keyPress;
    for (const ModifierWords& modifier : kModifierWords)
        if (ContainsAnyWord(text, modifier.words, 3))
            keyPress.modifiers |= modifier.bits;

    keyPress.keyCode = FindNamedKey(text);
    if (keyPress.keyCode == 0)
        keyPress.keyCode = FindHexCode(text);
    if (keyPress.keyCode == 0)
        keyPress.keyCode = UpperCase(static_cast<uint8_t>(text.LastChar()));
    return keyPress;
}
