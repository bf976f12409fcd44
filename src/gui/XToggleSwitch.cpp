#include "gui/XToggleSwitch.h"

#include "core/XMessage.h"

bool XToggleSwitch::MouseDown(const XPoint& point, int32_t button)
{
    // A press the button ignores (already down, disabled, another mouse button) reports nothing.
    const bool takesPress = !IsPressed() && IsEnabled() && button == kButtonLeft;
    const bool handled = XButton::MouseDown(point, button);
    StopTimer(kRepeatTimerId);
    const XMessage* stored = GetMessage();
    if (takesPress && stored != nullptr)
    {
        XMessage copy(*stored);
        copy.AddBool("isDown", true);
        // Invoke adds "source", "value" and "pView" to a copy of what it is given.
        Invoke(&copy);
    }
    return handled;
}
