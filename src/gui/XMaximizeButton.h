#pragma once

#include "gui/XButton.h"

/** The maximise box of a self-drawn window's title bar: a button that the style draws
    (XStyle::DrawMaximizeBox); its window connects the click signal so that a click toggles its window's
   maximised state. Owned by its window as a child view. GUI thread. */
class XMaximizeButton : public XButton
{
public:
    XMaximizeButton() = default;
    explicit XMaximizeButton(const XRect& frame) : XButton(frame, "") {}

protected:
    void DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook) override;
};
