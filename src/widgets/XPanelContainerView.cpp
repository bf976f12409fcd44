#include "widgets/XPanelContainerView.h"

#include "core/XMessage.h"
#include "gui/DescriptionItems.h"
#include "gui/ViewFactory.h"
#include "gui/XCanvas.h"
#include "gui/XScaler.h"
#include "widgets/XPanelView.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr XRGB kScalerForeColor{220, 220, 220, 255};
constexpr XRGB kScalerBackColor{90, 90, 90, 255};
constexpr double kLargestPosition = 1.0e9;

int IndexOf(const ObjectArray<XPanelView>& panels, const XPanelView* panel)
{
    for (int index = 0; index < panels.GetCount(); ++index)
        if (panels.At(index) == panel)
            return index;
    return -1;
}
} // namespace

XPanelContainerView::XPanelContainerView() = default;

XPanelContainerView::~XPanelContainerView()
{
    // The port and the scaler are deleted after this part of the container: nothing of them may call
    // back into it.
    for (int index = 0; index < panels.GetCount(); ++index)
        panels.At(index)->SetContainer(nullptr);
    panels.RemoveAll();
    if (scaler != nullptr)
        scaler->RemoveTarget(this);
}

void XPanelContainerView::RegisterViewTypes()
{
    XView::RegisterViewClass("PanelContainer", &ViewFactory::Create<XPanelContainerView>);
    XView::RegisterViewClass("panel", &ViewFactory::Create<XPanelView>);
}

// Panels ----------------------------------------------------------------------------------------------

XPanelView* XPanelContainerView::GetPanel(int32_t index) const
{
    return index >= 0 && index < panels.GetCount() ? panels.At(index) : nullptr;
}

XRect XPanelContainerView::MovedAlong(const XRect& frame, int32_t start) const
{
    const int32_t shift = start - StartOf(frame);
    if (horizontal)
        return XRect(frame.left + shift, frame.top, frame.right + shift, frame.bottom);
    return XRect(frame.left, frame.top + shift, frame.right, frame.bottom + shift);
}

XPoint XPanelContainerView::FromPanelPoint(const XPanelView& panel, const XPoint& point) const
{
    const juce::Point<int> local = getLocalPoint(&panel, juce::Point<int>(point.x, point.y));
    return XPoint(local.x, local.y);
}

void XPanelContainerView::AddPanel(XPanelView* panel, bool relayout)
{
    if (panel == nullptr || panels.Contains(panel))
        return;
    panel->SetContainer(this);
    panel->SetResizeMask(horizontal ? kHorizontalPanelResizeMask : kVerticalPanelResizeMask);
    if (port != nullptr && panel->GetParentView() == nullptr)
        port->AddChild(panel);

    // The panel fills the view port across the stack.
    XRect frame = panel->GetFrame();
    if (port != nullptr)
    {
        if (horizontal)
            frame.bottom = frame.top + port->GetHeight();
        else
            frame.right = frame.left + port->GetWidth();
    }
    if (XPanelView* last = panels.Last())
        frame = MovedAlong(frame, EndOf(last->GetFrame()));
    panel->SetFrame(frame);
    panels.Add(panel);
    if (relayout)
        UpdateExtent();
    if (IsVisible())
    {
        Invalidate();
        if (scaler != nullptr)
            scaler->Invalidate();
    }
}

void XPanelContainerView::ForgetPanel(XPanelView* panel)
{
    if (panel == nullptr || !panels.Contains(panel))
        return;
    panels.Remove(panel);
    if (draggedPanel == panel)
        draggedPanel = nullptr;
    UpdateExtent();
    Restack();
    RefreshScaler();
}

void XPanelContainerView::PanelResized(XPanelView* panel)
{
    if (panel == nullptr || !panels.Contains(panel))
        return;
    UpdateExtent();
    Restack();
    Invalidate();
    RefreshScaler();
}

void XPanelContainerView::RefreshScaler()
{
    // A shorter stack may leave the view scrolled past its end.
    SetScrollPosition(GetScrollPosition(), horizontal);
    if (scaler == nullptr)
        return;
    if (extent < GetViewSize())
        scaler->ScrollToStart();
    scaler->Invalidate();
}

void XPanelContainerView::UpdateExtent()
{
    extent = 0;
    for (int index = 0; index < panels.GetCount(); ++index)
        extent += LengthOf(panels.At(index)->GetFrame());
    UpdateScrollerVisibility();
}

void XPanelContainerView::UpdateScrollerVisibility()
{
    if (!hideMaxScrollbar || port == nullptr || scaler == nullptr || !IsVisible())
        return;
    const XRect bounds = GetBounds();
    const bool needed = extent > (horizontal ? bounds.Width() : bounds.Height());
    if (needed)
        scaler->Show();
    else
        scaler->Hide();
    XRect portFrame = port->GetFrame();
    const XRect scalerFrame = scaler->GetFrame();
    if (horizontal)
        portFrame.bottom = needed ? scalerFrame.top : bounds.bottom;
    else
        portFrame.right = needed ? scalerFrame.left : bounds.right;
    port->SetFrame(portFrame);
}

void XPanelContainerView::Restack()
{
    LayoutFrom(GetStackStart());
}

int32_t XPanelContainerView::GetStackStart() const
{
    const XPanelView* first = panels.At(0);
    if (first == nullptr)
        return 0;
    return StartOf(first == draggedPanel ? dragFrame : first->GetFrame());
}

void XPanelContainerView::LayoutFrom(int32_t start)
{
    for (int index = 0; index < panels.GetCount(); ++index)
    {
        XPanelView* panel = panels.At(index);
        const XRect home = MovedAlong(panel->GetFrame(), start);
        // The dragged panel stays under the pointer; only its place in the stack moves.
        if (panel == draggedPanel)
            dragFrame = home;
        else if (home != panel->GetFrame())
            panel->SetFrame(home);
        start += LengthOf(home);
    }
}

void XPanelContainerView::MovePanel(XPanelView* panel, XPanelView* before)
{
    const int from = IndexOf(panels, panel);
    if (from < 0)
        return;
    const int32_t start = GetStackStart();
    panels.RemoveAt(from);
    const int to = before != nullptr ? IndexOf(panels, before) : -1;
    if (to < 0)
        panels.InsertAt(0, panel);
    else if (from <= to)
        panels.InsertAt(to + 1, panel);
    else
        panels.InsertAt(to, panel);
    LayoutFrom(start);
    Invalidate();
}

void XPanelContainerView::BeginDrag(XPanelView* panel, int32_t value)
{
    if (panel == nullptr || !panels.Contains(panel))
        return;
    if (draggedPanel != nullptr && draggedPanel != panel)
        DropPanel(draggedPanel);
    draggedPanel = panel;
    dragValue = value;
    dragFrame = panel->GetFrame();
    dragPosition = StartOf(dragFrame) + value;
}

XPanelView* XPanelContainerView::FindDropTarget(int32_t position) const
{
    for (int index = 0; index < panels.GetCount(); ++index)
    {
        XPanelView* panel = panels.At(index);
        if (panel == draggedPanel)
            continue;
        const XRect frame = panel->GetFrame();
        const int32_t middle = (StartOf(frame) + EndOf(frame)) / 2;
        if (StartOf(frame) <= position && position <= EndOf(frame) && middle < position)
            return panel;
    }
    return nullptr;
}

void XPanelContainerView::DropPanel(XPanelView* panel)
{
    if (panel == nullptr || panel != draggedPanel)
        return;
    if (XPanelView* target = FindDropTarget(dragPosition))
        MovePanel(panel, target);
    // The panel lands on its place in the stack, its size as it is now.
    panel->SetFrame(MovedAlong(panel->GetFrame(), StartOf(dragFrame)));
    draggedPanel = nullptr;
    Invalidate();
}

bool XPanelContainerView::MouseMoved(const XPoint& point, int32_t button)
{
    if (draggedPanel == nullptr || port == nullptr)
        return XViewPort::MouseMoved(point, button);
    const XRect portFrame = port->GetFrame();
    dragPosition = horizontal ? point.x - portFrame.left : point.y - portFrame.top;
    // The panel follows the pointer along the stack, drawn above the others.
    draggedPanel->SetFrame(MovedAlong(draggedPanel->GetFrame(), dragPosition - dragValue));
    draggedPanel->toFront(false);
    return true;
}

// Scrolling -------------------------------------------------------------------------------------------

int32_t XPanelContainerView::GetViewSize() const
{
    if (port == nullptr)
        return horizontal ? GetWidth() : GetHeight();
    return horizontal ? port->GetWidth() : port->GetHeight();
}

int32_t XPanelContainerView::GetScrollPosition() const
{
    if (port == nullptr)
        return 0;
    const XPoint offset = port->GetScrollPosition();
    return -(horizontal ? offset.x : offset.y);
}

void XPanelContainerView::SetScrollPosition(int32_t value, bool)
{
    if (port == nullptr)
        return;
    const int32_t limit = std::max(0, extent - GetViewSize());
    value = std::clamp(value, 0, limit);
    const XPoint offset = port->GetScrollPosition();
    // The port moves every panel; the dragged panel's place in the stack moves with them.
    const int32_t shift = GetScrollPosition() - value;
    dragFrame = MovedAlong(dragFrame, StartOf(dragFrame) + shift);
    if (horizontal)
        port->ScrollTo(-value, offset.y);
    else
        port->ScrollTo(offset.x, -value);
    if (scaler != nullptr)
        scaler->Invalidate();
}

void XPanelContainerView::ScrollStep(bool backwards, bool isHorizontal)
{
    SetScrollPosition(GetScrollPosition() + (backwards ? -kScrollStep : kScrollStep), isHorizontal);
}

double XPanelContainerView::GetRangeStart(bool)
{
    return GetScrollPosition();
}

double XPanelContainerView::GetRangeEnd(bool)
{
    return GetScrollPosition() + GetViewSize();
}

double XPanelContainerView::GetContentLength(bool)
{
    return std::max(extent, GetViewSize());
}

void XPanelContainerView::SetRange(double start, double, bool isHorizontal)
{
    SetRangeStart(start, isHorizontal);
}

void XPanelContainerView::SetRangeStart(double start, bool isHorizontal)
{
    const double limited = std::isfinite(start) ? std::clamp(start, 0.0, kLargestPosition) : 0.0;
    SetScrollPosition(static_cast<int32_t>(std::lround(limited)), isHorizontal);
}

void XPanelContainerView::Step(int flag, bool isHorizontal)
{
    ScrollStep(flag == kStepTowardsStart, isHorizontal);
}

bool XPanelContainerView::MouseWheel(const XPoint&, int32_t steps)
{
    if (steps != 0)
        ScrollStep(steps > 0, horizontal);
    return true;
}

// XView -------------------------------------------------------------------------------------------------

void XPanelContainerView::ReadAttributes(XMessage& block)
{
    XViewPort::ReadAttributes(block);
    if (DescriptionItems::HasStyleWord(block, "horizontal"))
        horizontal = true;
    DescriptionItems::FindFlag(block, "useScalerImages", useScalerImages);
    DescriptionItems::FindFlag(block, "hideMaxScrollbar", hideMaxScrollbar);
}

void XPanelContainerView::MakeParts()
{
    if (scaler != nullptr)
        return;
    const XRect bounds = GetBounds();
    XRect scalerFrame = bounds;
    if (horizontal)
        scalerFrame.top = bounds.bottom - scrollBarSize;
    else
        scalerFrame.left = bounds.right - scrollBarSize;

    XMessage block;
    block.AddString("label", horizontal ? "panelHScroll" : "panelVScroll");
    block.AddBool("horizontal", horizontal);
    if (useScalerImages)
        block.AddString("style", "useImages");
    else
    {
        block.AddBool("buttons", true);
        block.AddColor("forecolor", kScalerForeColor);
        block.AddColor("backcolor", kScalerBackColor);
    }
    block.AddRect("frame", scalerFrame);
    scaler = new XScaler();
    scaler->ReadAttributes(block);

    XRect portFrame = bounds;
    if (horizontal)
        portFrame.bottom = scaler->GetFrame().top;
    else
        portFrame.right = scaler->GetFrame().left;
    port = new XViewPort(portFrame);
    port->SetBackColor(GetBackColor());
    port->SetResizeMask(kPortResizeMask);
    XViewPort::AddChild(port);

    scaler->SetResizeMask(horizontal ? kHorizontalScalerResizeMask : kVerticalScalerResizeMask);
    XViewPort::AddChild(scaler);
    scaler->AddTarget(this);

    // Panels taken in before the parts existed go into the port now.
    for (int index = 0; index < panels.GetCount(); ++index)
    {
        XPanelView* panel = panels.At(index);
        if (panel->GetParentView() == nullptr)
            port->AddChild(panel);
        XRect frame = panel->GetFrame();
        if (horizontal)
            frame.bottom = frame.top + port->GetHeight();
        else
            frame.right = frame.left + port->GetWidth();
        panel->SetFrame(frame);
    }
    Restack();
}

void XPanelContainerView::ApplyStyle()
{
    XViewPort::ApplyStyle();
    MakeParts();
    UpdateExtent();
}

void XPanelContainerView::Draw(XCanvas& canvas)
{
    XViewPort::Draw(canvas);
    if (IsTransparent())
        return;
    PrepareCanvas(canvas);
    canvas.EraseRect(GetBounds());
}

void XPanelContainerView::Show()
{
    XViewPort::Show();
    UpdateScrollerVisibility();
}

void XPanelContainerView::SizeChanged(int32_t dw, int32_t dh)
{
    XViewPort::SizeChanged(dw, dh);
    // The parts follow their resize masks now, before the scaler's place is decided; JUCE's own
    // call that follows then finds nothing left to change.
    for (XView* part : {static_cast<XView*>(port), static_cast<XView*>(scaler)})
        if (part != nullptr)
            part->parentSizeChanged();
    UpdateExtent();
    RefreshScaler();
}

void XPanelContainerView::AddChild(XView* child)
{
    if (auto* panel = dynamic_cast<XPanelView*>(child))
    {
        AddPanel(panel, true);
        return;
    }
    XViewPort::AddChild(child);
}
