#include "gui/XViewPort.h"

XViewPort::XViewPort() = default;

XViewPort::XViewPort(const XRect& frame) : XView(frame) {}

void XViewPort::ScrollBy(int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    scrollOffset.x += dx;
    scrollOffset.y += dy;
    if (scrollOffset.x > 0)
        scrollOffset.x = 0;
    if (scrollOffset.y > 0)
        scrollOffset.y = 0;
    for (juce::Component* child : getChildren())
        child->setTopLeftPosition(child->getX() + dx, child->getY() + dy);
    Invalidate();
}

void XViewPort::ScrollTo(int32_t x, int32_t y)
{
    ScrollBy(x - scrollOffset.x, y - scrollOffset.y);
}

XPoint XViewPort::ToParentOfContent(const XPoint& point) const
{
    const XRect frame = GetFrame();
    return XPoint(point.x + frame.left - scrollOffset.x, point.y + frame.top - scrollOffset.y);
}

bool XViewPort::MouseDown(const XPoint& point, int32_t button)
{
    if (button == kButtonRight && ContextClick(point))
        return true;
    XView* parent = GetParentView();
    return parent != nullptr && parent->MouseDown(ToParentOfContent(point), button);
}

bool XViewPort::MouseMoved(const XPoint& point, int32_t button)
{
    XView* parent = GetParentView();
    return parent != nullptr && parent->MouseMoved(ToParentOfContent(point), button);
}

bool XViewPort::MouseUp(const XPoint& point, int32_t button)
{
    XView* parent = GetParentView();
    return parent != nullptr && parent->MouseUp(ToParentOfContent(point), button);
}

bool XViewPort::MouseWheel(const XPoint& point, int32_t steps)
{
    XView* parent = GetParentView();
    return steps != 0 && parent != nullptr && parent->MouseWheel(ToParentOfContent(point), steps);
}
