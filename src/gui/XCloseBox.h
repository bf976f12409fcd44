#pragma once

#include "gui/XButton.h"

/** The close box of a self-drawn window's title bar: a button in the dictionary's close-box colours
    that, unless given a message of its own, asks its window to close (kCloseRequested) when clicked, and
    that the style draws (XStyle::DrawCloseBox). Owned by its window as a child view. GUI thread. */
class XCloseBox : public XButton
{
public:
    static constexpr const char* kHandlerName = "closeBox";

    XCloseBox();
    explicit XCloseBox(const XRect& frame);

    /** Without a message: handler name "closeBox" and kCloseRequested aimed at the window; never bound. */
    void ApplyStyle() override;

protected:
    void DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook) override;

private:
    void Initialise();
};
