#include "gui/XMaximizeButton.h"

#include "gui/XStyle.h"

void XMaximizeButton::DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook)
{
    if (XStyle* style = GetStyle())
        style->DrawMaximizeBox(this, rect, canvas, lit, pressedLook);
}
