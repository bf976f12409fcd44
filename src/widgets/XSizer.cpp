#include "widgets/XSizer.h"

#include "core/XMessage.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"

#include <algorithm>

XSizer::XSizer() = default;

XSizer::~XSizer() = default;

// Groups -------------------------------------------------------------------------------------------------

void XSizer::AddOnce(ViewGroup& group, XView* view)
{
    for (const auto& member : group)
    {
        if (member.getComponent() == view)
            return;
    }
    group.emplace_back(view);
}

int32_t XSizer::CountLive(const ViewGroup& group)
{
    return static_cast<int32_t>(
        std::count_if(group.begin(), group.end(), [](const auto& view) { return view != nullptr; }));
}

int32_t XSizer::CountTopLeftViews() const
{
    return CountLive(topLeftViews);
}

int32_t XSizer::CountBottomRightViews() const
{
    return CountLive(bottomRightViews);
}

void XSizer::AttachTopLeft(XView* view)
{
    if (view == nullptr || view == this)
        return;
    const XRect sizer = GetFrame();
    XRect frame = view->GetFrame();
    if (horizontal)
    {
        view->SetResizeMask(view->GetResizeMask() & ~kResizeBottom);
        frame.right = std::min(frame.right, sizer.right);
        frame.left = std::max(frame.left, sizer.left);
        frame.bottom = sizer.top;
    }
    else
    {
        view->SetResizeMask(view->GetResizeMask() & ~kResizeRight);
        frame.bottom = std::min(frame.bottom, sizer.bottom);
        frame.top = std::max(frame.top, sizer.top);
        frame.right = sizer.left;
    }
    view->SetFrame(frame);
    AddOnce(topLeftViews, view);
    view->Invalidate();
}

void XSizer::AttachBottomRight(XView* view)
{
    if (view == nullptr || view == this)
        return;
    const XRect sizer = GetFrame();
    XRect frame = view->GetFrame();
    if (horizontal)
    {
        view->SetResizeMask(view->GetResizeMask() & ~kResizeTop);
        if (frame.left < sizer.left)
        {
            frame.right += sizer.left - frame.left;
            frame.left = sizer.left;
        }
        frame.right = std::min(frame.right, sizer.right);
        if (frame.top < sizer.bottom)
        {
            frame.bottom += sizer.bottom - frame.top;
            frame.top = sizer.bottom;
        }
    }
    else
    {
        view->SetResizeMask(view->GetResizeMask() & ~kResizeLeft);
        if (frame.top < sizer.top)
        {
            frame.bottom += sizer.top - frame.top;
            frame.top = sizer.top;
        }
        frame.bottom = std::min(frame.bottom, sizer.bottom);
        if (frame.left < sizer.right)
        {
            frame.right += sizer.right - frame.left;
            frame.left = sizer.right;
        }
    }
    view->SetFrame(frame);
    AddOnce(bottomRightViews, view);
    view->Invalidate();
}

// Movement -----------------------------------------------------------------------------------------------

int32_t XSizer::LimitMovement(int32_t delta) const
{
    const ViewGroup& shrinking = delta < 0 ? topLeftViews : bottomRightViews;
    bool limited = false;
    int32_t smallest = 0;
    for (const auto& view : shrinking)
    {
        if (view == nullptr)
            continue;
        const XRect frame = view->GetFrame();
        const int32_t size = horizontal ? frame.bottom - frame.top : frame.right - frame.left;
        const int32_t after = delta < 0 ? size + delta : size - delta;
        if (after >= minimumSize)
            continue;
        // A view already below the minimum blocks the movement; it never pulls the sizer back.
        const int32_t room = std::max(0, size - minimumSize);
        smallest = limited ? std::min(smallest, room) : room;
        limited = true;
    }
    if (!limited)
        return delta;
    return delta < 0 ? -smallest : smallest;
}

void XSizer::MoveGroups(int32_t delta, bool reverse)
{
    for (const auto& view : topLeftViews)
    {
        if (view == nullptr)
            continue;
        XRect frame = view->GetFrame();
        (horizontal ? frame.bottom : frame.right) += delta;
        view->SetFrame(frame);
        view->Invalidate();
    }
    const int32_t nearDelta = reverse ? -delta : delta;
    for (const auto& view : bottomRightViews)
    {
        if (view == nullptr)
            continue;
        XRect frame = view->GetFrame();
        (horizontal ? frame.top : frame.left) += nearDelta;
        view->SetFrame(frame);
        view->Invalidate();
    }
}

void XSizer::FitGroupsToSizer()
{
    const XRect sizer = GetFrame();
    for (const auto& view : topLeftViews)
    {
        if (view == nullptr)
            continue;
        XRect frame = view->GetFrame();
        (horizontal ? frame.bottom : frame.right) = horizontal ? sizer.top : sizer.left;
        view->SetFrame(frame);
    }
    for (const auto& view : bottomRightViews)
    {
        if (view == nullptr)
            continue;
        XRect frame = view->GetFrame();
        (horizontal ? frame.top : frame.left) = horizontal ? sizer.bottom : sizer.right;
        view->SetFrame(frame);
    }
}

void XSizer::parentSizeChanged()
{
    XView::parentSizeChanged();
    if (dragging || fitPending)
        return;
    // The parent lays its children out one after the other, the groups' views perhaps after this
    // one: the fit waits until every child has its new frame.
    fitPending = true;
    juce::Component::SafePointer<XSizer> self(this);
    juce::MessageManager::callAsync(
        [self]
        {
            if (self == nullptr)
                return;
            self->fitPending = false;
            if (!self->dragging)
                self->FitGroupsToSizer();
        });
}

// Style and attributes ---------------------------------------------------------------------------------

void XSizer::FitFrame()
{
    XRect frame = GetFrame();
    if (horizontal)
    {
        frame.bottom = frame.top + (drawBar ? kThickness : 0);
        cursorKind = kCursorUpDown;
    }
    else
    {
        frame.right = frame.left + (drawBar ? kThickness : 0);
        cursorKind = kCursorLeftRight;
    }
    SetFrame(frame);
}

void XSizer::ApplyStyle()
{
    XView::ApplyStyle();
    const XRect frame = GetFrame();
    horizontal = frame.Height() < frame.Width();
    FitFrame();
    // The groups' frames are in the sizer's parent's coordinates, so they are its siblings.
    XView* container = GetParentView() != nullptr ? GetParentView() : GetWindow();
    for (const XString& name : topLeftNames)
        AttachTopLeft(container->FindChild(name, false));
    for (const XString& name : bottomRightNames)
        AttachBottomRight(container->FindChild(name, false));
    topLeftNames.clear();
    bottomRightNames.clear();
}

void XSizer::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    const char* text = nullptr;
    for (int32_t index = 0; block.FindString("addtopleft", text, index) == 0; ++index)
        topLeftNames.emplace_back(text);
    for (int32_t index = 0; block.FindString("addbottomright", text, index) == 0; ++index)
        bottomRightNames.emplace_back(text);
    DescriptionItems::FindFlag(block, "draw", drawBar);
}

void XSizer::Draw(XCanvas& canvas)
{
    if (!drawBar || !IsVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    canvas.EraseRect(bounds);
    canvas.FillRect(XRect(bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1));
}

int32_t XSizer::GetCursorTool(const XPoint&)
{
    return cursorKind;
}

// Mouse --------------------------------------------------------------------------------------------------

XPoint XSizer::ToScreen(const XPoint& point) const
{
    const juce::Point<int> onScreen = localPointToGlobal(juce::Point<int>(point.x, point.y));
    return XPoint(onScreen.x, onScreen.y);
}

bool XSizer::MouseDown(const XPoint& point, int32_t button)
{
    if (button != kButtonLeft)
        return false;
    FocusChanged(true);
    lastPosition = ToScreen(point);
    stuck = false;
    dragging = true;
    return true;
}

bool XSizer::MouseMoved(const XPoint& point, int32_t button)
{
    if (!dragging)
        return XView::MouseMoved(point, button);
    const XPoint onScreen = ToScreen(point);
    const int32_t along = Along(onScreen);
    const int32_t last = Along(lastPosition);
    if (stuck && (stuckTowardsTopLeft ? along > last : along < last))
        stuck = false;
    if (along == last)
        return true;
    const int32_t delta = along - last;
    lastPosition = onScreen;
    if (stuck)
        return true;
    const int32_t limited = LimitMovement(delta);
    if (limited != delta)
    {
        stuck = true;
        stuckTowardsTopLeft = delta < 0;
    }
    if (limited == 0)
        return true;
    MoveGroups(limited, false);
    if (horizontal)
        OffsetFrame(0, limited);
    else
        OffsetFrame(limited, 0);
    return true;
}

bool XSizer::MouseUp(const XPoint& point, int32_t button)
{
    if (!dragging)
        return XView::MouseUp(point, button);
    dragging = false;
    stuck = false;
    return true;
}
