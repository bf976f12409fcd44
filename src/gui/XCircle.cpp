#include "gui/XCircle.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"

XCircle::XCircle()
{
    SetTransparent(true);
}

void XCircle::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    int32_t width = 0;
    if (block.FindInt32("linewidth", width) == 0 && width > 0)
        lineWidth = width;
    const XRect frame = GetFrame();
    if (frame.Height() < frame.Width())
        SetFrame(XRect(frame.left, frame.top, frame.left + frame.Height(), frame.bottom));
    else if (frame.Width() < frame.Height())
        SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + frame.Width()));
}

void XCircle::Draw(XCanvas& canvas)
{
    canvas.SetForeColor(GetForeColor());
    XRect ring = GetBounds();
    // Rings past the centre draw nothing: a huge line width ends there.
    for (int32_t line = 0; line < lineWidth && !ring.IsEmpty(); ++line)
    {
        canvas.FrameCircleInRect(ring);
        ring = XRect(ring.left + 1, ring.top + 1, ring.right - 1, ring.bottom - 1);
    }
}
