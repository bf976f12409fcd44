#pragma once

#include "core/XKeyPress.h"

#include <cstdint>

/** The last stop of a key press that no view took: the view's key dispatch hands it to the
    application object when that object implements this interface (the GUI application does, with
    its command manager's hot keys). GUI thread only. */
class IHotKeyTarget
{
public:
    virtual ~IHotKeyTarget() = default;

    /** True when the key ran something; modifiers holds the framework's bits (XKeyMod). */
    virtual bool HandleHotKey(int32_t keyCode, XKeyInfo modifiers) = 0;
};
