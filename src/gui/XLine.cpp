#include "gui/XLine.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"

#include <algorithm>

XLine::XLine() = default;

void XLine::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);

    const bool hasStart = block.FindPoint("location", start, 0) == 0;
    const bool hasEnd = block.FindPoint("location", end, 1) == 0;
    XRect frame = GetFrame();
    if (!hasStart && !hasEnd)
    {
        const XRect bounds = GetBounds();
        start = XPoint(bounds.left, bounds.top);
        end = XPoint(bounds.right, bounds.bottom);
    }
    else
    {
        // Both axes take min and max, so a line drawn right to left still gets a proper frame.
        frame = XRect(std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x),
                      std::max(start.y, end.y));
        start = XPoint(start.x - frame.left, start.y - frame.top);
        end = XPoint(end.x - frame.left, end.y - frame.top);
    }

    bool widened = false;
    if (frame.right == frame.left)
    {
        frame.right = frame.left + 1;
        widened = true;
    }
    if (frame.bottom == frame.top)
    {
        frame.bottom = frame.top + 1;
        widened = true;
    }
    SetFrame(frame);
    if (!widened)
        SetTransparentWithColor(true, GetBackColor());
}

void XLine::Draw(XCanvas& canvas)
{
    canvas.SetForeColor(GetForeColor());
    canvas.SetBackColor(GetBackColor());
    const int32_t penWidth = canvas.GetPenWidth();
    canvas.SetPenWidth(1);
    canvas.DrawLine(start.x, start.y, end.x, end.y, 1, 1);
    canvas.SetPenWidth(penWidth);
}
