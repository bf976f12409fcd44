#pragma once

#include "gui/XButton.h"

/** A switch that reports the press itself: after the button's press it stops the repeat timer and,
    when it has a message, sends a copy with "source", "value" (its position), "pView" (its window)
    and "isDown" true, so the receiver sees the switch go down as well as the click. GUI thread. */
class XToggleSwitch : public XButton
{
public:
    using XButton::XButton;

    bool MouseDown(const XPoint& point, int32_t button) override;
};
