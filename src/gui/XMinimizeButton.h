#pragma once

#include "gui/XButton.h"

/** The minimise box of a self-drawn window's title bar: a button that the style draws
    (XStyle::DrawMinimizeBox); its window connects the click signal so that a click toggles its window's
   minimised state. Owned by its window as a child view. GUI thread. */
class XMinimizeButton : public XButton
{
public:
    XMinimizeButton() = default;
    explicit XMinimizeButton(const XRect& frame) : XButton(frame, "") {}

protected:
    void DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook) override;
};
