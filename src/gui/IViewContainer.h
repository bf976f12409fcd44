#pragma once

#include "core/XPoint.h"
#include "core/XRect.h"

class XView;

/** What views and windows ask of the view that contains them: the window's focus view, its current
    control and capture view, the swipe anchor, coordinate conversions to and from the parent, and
    the parent view. Every XView answers it; windows give the slots that XView leaves empty their
    meaning (the current control and the capture view).

    Views held here are not owned. GUI thread only. */
class IViewContainer
{
public:
    virtual ~IViewContainer() = default;

    /** Offers the view as current control; true when the container keeps it. */
    virtual bool SetCurrentControl(XView* view) = 0;
    virtual XView* GetCurrentControl() = 0;
    /** Drops the view from every slot that holds it (a focus view goes through SetFocusView(null)). */
    virtual void ForgetView(XView* view) = 0;
    virtual XRect RectToParent(const XRect& rect) = 0;
    virtual XPoint PointToParent(const XPoint& point) = 0;
    virtual XPoint PointFromParent(const XPoint& point) = 0;
    virtual XRect RectFromParent(const XRect& rect) = 0;
    /** Makes the view the focus view; the old one is told FocusViewChanged(false), the new one true. */
    virtual void SetFocusView(XView* view) = 0;
    virtual XView* GetFocusView() = 0;
    /** Starts a swipe on the view (kept only when the view is swipeable). */
    virtual void SetSwipeAnchor(XView* view) = 0;
    virtual XView* GetSwipeAnchor() = 0;
    /** The view that takes the mouse while a fine drag runs; null clears it. */
    virtual void SetCaptureView(XView* view) = 0;
    virtual XView* GetCaptureView() = 0;
    virtual bool GetContainerFlag() = 0;
    virtual XView* GetParentView() = 0;
};
