#pragma once

#include "core/XKeyPress.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>

/** Turns the toolkit's key presses into the framework's (XKeyPress): the toolkit's named special
    keys (arrows, page keys, F1 to F35, the number pad, the media keys ...) become the framework's
    codes of XKeyCode, looked up in a table of the toolkit's own key constants; every other code
    (characters) stays as it is. Shift, Ctrl and Alt set both bits of their pair; keys of the
    number pad also set the keypad bit 0x100. Repeat detection and caps handling belong to the
    view that receives the key. Any thread. */
class JUCEKeyTranslation final
{
public:
    /** The framework's code for a toolkit key code. */
    static int32_t ToKeyCode(int juceKeyCode);
    /** Modifier bits of the toolkit's modifier keys (mouse buttons ignored). */
    static XKeyInfo ToModifiers(juce::ModifierKeys modifiers);
    /** The whole key press. */
    static XKeyPress ToKeyPress(const juce::KeyPress& keyPress);

    JUCEKeyTranslation() = delete;
};
