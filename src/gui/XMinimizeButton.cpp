#include "gui/XMinimizeButton.h"

#include "gui/XStyle.h"

void XMinimizeButton::DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook)
{
    if (XStyle* style = GetStyle())
        style->DrawMinimizeBox(this, rect, canvas, lit, pressedLook);
}
