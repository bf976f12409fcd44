#pragma once

#include "core/XPoint.h"
#include "core/XRect.h"
#include "gui/XView.h"

#include <cstdint>

/** A view whose children scroll: it keeps a scroll offset (never above 0 in either axis, so the
    children move left and up as the user scrolls right and down) and moves every child component
    by each change. Scroll bars drive it; the scroll pane's content, the list views' row area and
    header, the panel container and the text field's inner editor are view ports.

    Mouse events that reach it pass to the parent view in the parent's coordinates of the scrolled
    content. GUI thread only, like every view. */
class XViewPort : public XView
{
public:
    XViewPort();
    explicit XViewPort(const XRect& frame);

    /** The offset (x, y), each 0 or negative. */
    XPoint GetScrollPosition() const { return scrollOffset; }
    /** Nothing when both are 0; otherwise the offset moves by dx, dy (an axis that would become
        positive becomes 0), every child moves by the whole dx, dy and the view repaints. */
    virtual void ScrollBy(int32_t dx, int32_t dy);
    /** ScrollBy(x - offset x, y - offset y). */
    void ScrollTo(int32_t x, int32_t y);

    /** A context click (right button) runs ContextClick first and stops there when it was
        handled; the press then goes to the parent. */
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    /** A wheel of 0 steps is not handed on. */
    bool MouseWheel(const XPoint& point, int32_t steps) override;

protected:
    /** point in the parent view's coordinates: moved by the frame's top-left corner less the
        scroll offset. */
    XPoint ToParentOfContent(const XPoint& point) const;

private:
    XPoint scrollOffset;
};
