#pragma once

#include <cstdint>

class FloatParam;

/** The code side of the on-screen text entry: the two keyboard state parameters ("keyboard\caps",
    "keyboard\shift", on/off, created once and kept for the process) and the named constants that
    the entry's description files use. The key dispatch of the views reads "keyboard\caps" to invert
    Shift for letters.

    Caps Lock is the framework's own flag: reading "keyboard\caps" gives it, and setting it changes
    only the framework's flag, never the system's Caps Lock (which has no portable switch and would
    surprise the user). GUI thread, at start-up. */
class TextEntryDialog final
{
public:
    static constexpr const char* kCapsPath = "keyboard\\caps";
    static constexpr const char* kShiftPath = "keyboard\\shift";
    static constexpr int32_t kClearCode = static_cast<int32_t>(0x74787463);      // 'txtc'
    static constexpr int32_t kNumberUpCode = static_cast<int32_t>(0x6E756D75);   // 'numu'
    static constexpr int32_t kNumberDownCode = static_cast<int32_t>(0x6E756D64); // 'numd'

    /** Logs "TextEntryDialog_Init", creates the two parameters (once per process) and registers
        "X_TEXTENTRY_CLEAR", "X_NUM_ENTRY_UP" and "X_NUM_ENTRY_DOWN". */
    static void Init();
    /** Hands Init to the view factory's late set-up (ViewFactory::AddLateSetupStep). */
    static void Install();

    static FloatParam* GetCapsParam();
    static FloatParam* GetShiftParam();

    TextEntryDialog() = delete;
};

/** TextEntryDialog::Init under the name the view factory's set-up knows it by. */
void TextEntryDialog_Init();
