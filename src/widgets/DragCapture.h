#pragma once

#include "core/XPoint.h"
#include "core/XRect.h"

class XView;

/** What the drag of a slider or a pot keeps of its window while it runs: the window's mouse
    capture, taken while the fine-drag modifier is held, and the pointer hidden by the drag, shown
    again at a point of the view when it ends. Belongs to the dragged view. GUI thread only. */
class DragCapture final
{
public:
    explicit DragCapture(XView& owner) : view(owner) {}
    DragCapture(const DragCapture&) = delete;
    DragCapture& operator=(const DragCapture&) = delete;

    /** Makes the view its window's capture view; nothing for a view that is its own window. */
    void Take();
    /** Gives a held capture back. */
    void Release();
    bool IsHeld() const { return held; }
    /** The capture rule of a drag move: with the fine-drag modifier held a capture not yet held is
        taken, and the move ends there (true); without it a held capture is given back (false). */
    bool MoveTakesCapture(bool fineDragHeld);
    /** Puts the pointer at a point of the view (view coordinates), when the view is on the screen,
        and shows it. */
    void ShowPointerAt(const XPoint& point);

    /** Whether the point lies in the rectangle (right and bottom exclusive). */
    static bool Contains(const XRect& rect, const XPoint& point);

private:
    XView& view;
    bool held = false;
};
