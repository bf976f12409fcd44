#include "gui/JUCEKeyTranslation.h"

#include <unordered_map>

namespace
{
struct Translation
{
    int32_t code;
    bool keypad;
};

constexpr int kFirstFunctionKeysBlock = 24; // F1 to F24 run on from kF1, F25 to F35 from kF25
constexpr int kDigits = 10;

/** The toolkit's special key constants and their framework codes; built once. */
const std::unordered_map<int, Translation>& TranslationTable()
{
    static const std::unordered_map<int, Translation> table = []
    {
        using K = juce::KeyPress;
        std::unordered_map<int, Translation> t = {
            {K::spaceKey, {XKeyCode::kSpace, false}},
            {K::returnKey, {XKeyCode::kReturn, false}},
            {K::escapeKey, {XKeyCode::kEscape, false}},
            {K::backspaceKey, {XKeyCode::kBackspace, false}},
            {K::tabKey, {XKeyCode::kTab, false}},
            {K::deleteKey, {XKeyCode::kDelete, false}},
            {K::insertKey, {XKeyCode::kInsert, false}},
            {K::leftKey, {XKeyCode::kLeft, false}},
            {K::rightKey, {XKeyCode::kRight, false}},
            {K::upKey, {XKeyCode::kUp, false}},
            {K::downKey, {XKeyCode::kDown, false}},
            {K::homeKey, {XKeyCode::kHome, false}},
            {K::endKey, {XKeyCode::kEnd, false}},
            {K::pageUpKey, {XKeyCode::kPageUp, false}},
            {K::pageDownKey, {XKeyCode::kPageDown, false}},
            {K::numberPadAdd, {XKeyCode::kKeypadPlus, true}},
            {K::numberPadSubtract, {XKeyCode::kKeypadMinus, true}},
            {K::numberPadMultiply, {XKeyCode::kKeypadMultiply, true}},
            {K::numberPadDivide, {XKeyCode::kKeypadDivide, true}},
            {K::numberPadSeparator, {XKeyCode::kKeypadSeparator, true}},
            {K::numberPadDecimalPoint, {XKeyCode::kKeypadDecimalPoint, true}},
            {K::numberPadEquals, {XKeyCode::kKeypadEquals, true}},
            {K::numberPadDelete, {XKeyCode::kDelete, true}},
            {K::playKey, {XKeyCode::kPlay, false}},
            {K::stopKey, {XKeyCode::kStop, false}},
            {K::fastForwardKey, {XKeyCode::kFastForward, false}},
            {K::rewindKey, {XKeyCode::kRewind, false}},
        };
        const int functionKeys[] = {
            K::F1Key,  K::F2Key,  K::F3Key,  K::F4Key,  K::F5Key,  K::F6Key,  K::F7Key,  K::F8Key,  K::F9Key,
            K::F10Key, K::F11Key, K::F12Key, K::F13Key, K::F14Key, K::F15Key, K::F16Key, K::F17Key, K::F18Key,
            K::F19Key, K::F20Key, K::F21Key, K::F22Key, K::F23Key, K::F24Key, K::F25Key, K::F26Key, K::F27Key,
            K::F28Key, K::F29Key, K::F30Key, K::F31Key, K::F32Key, K::F33Key, K::F34Key, K::F35Key};
        int index = 0;
        for (const int key : functionKeys)
        {
            const int32_t code = index < kFirstFunctionKeysBlock
                                     ? XKeyCode::kF1 + index
                                     : XKeyCode::kF25 + index - kFirstFunctionKeysBlock;
            t[key] = {code, false};
            ++index;
        }
        const int digits[kDigits] = {K::numberPad0, K::numberPad1, K::numberPad2, K::numberPad3,
                                     K::numberPad4, K::numberPad5, K::numberPad6, K::numberPad7,
                                     K::numberPad8, K::numberPad9};
        for (int digit = 0; digit < kDigits; ++digit)
            t[digits[digit]] = {XKeyCode::kKeypad0 + digit, true};
        return t;
    }();
    return table;
}
} // namespace

int32_t JUCEKeyTranslation::ToKeyCode(int juceKeyCode)
{
    const auto& table = TranslationTable();
    const auto found = table.find(juceKeyCode);
    return found != table.end() ? found->second.code : juceKeyCode;
}

XKeyInfo JUCEKeyTranslation::ToModifiers(juce::ModifierKeys modifiers)
{
    XKeyInfo bits = 0;
    if (modifiers.isShiftDown())
        bits |= XKeyMod::kShift;
    if (modifiers.isCtrlDown())
        bits |= XKeyMod::kCtrl;
    if (modifiers.isAltDown())
        bits |= XKeyMod::kAlt;
    return bits;
}

XKeyPress JUCEKeyTranslation::ToKeyPress(const juce::KeyPress& keyPress)
{
    XKeyPress result{keyPress.getKeyCode(), ToModifiers(keyPress.getModifiers())};
    const auto& table = TranslationTable();
    const auto found = table.find(keyPress.getKeyCode());
    if (found != table.end())
    {
        result.keyCode = found->second.code;
        if (found->second.keypad)
            result.modifiers |= XKeyMod::kKeypad;
    }
    return result;
}
