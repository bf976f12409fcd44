#include "files/XListHeader.h"

#include "files/XListColumn.h"
#include "files/XListContainer.h"
#include "files/XListView.h"
#include "gui/JUCECanvas.h"
#include "gui/XCanvas.h"
#include "gui/XStyle.h"
#include "gui/XViewCursors.h"

#include <algorithm>
#include <cmath>

namespace
{
/** A range value as a pixel offset: truncated, NaN as 0, kept well inside int32. */
int32_t ToPixels(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, -2.0e9, 2.0e9));
}
} // namespace

XListHeader::XListHeader(XListView* list, uint32_t containerFlags) : XViewPort(XRect(0, 0, 1, 1)), owner(list)
{
    SetLabel(XString(kName), false);
    setName(kName);
    SetResizeMask(kResizeMask);
    container = new XListContainer(list, containerFlags);
    AddChild(container);
    container->SetBackColor(GetBackColor());
    container->SetForeColor(GetForeColor());
}

XListHeader::~XListHeader() = default;

void XListHeader::Place(const XRect& frame, int32_t lineHeight)
{
    heightInUse = std::max(0, lineHeight);
    SetFrame(frame);
    if (GetScrollOffset() > GetMaxScrollOffset())
        ScrollToOffset(GetMaxScrollOffset());
    PlaceContainer();
}

void XListHeader::PlaceContainer()
{
    const int32_t left = GetScrollPosition().x;
    container->SetFrame(
        XRect(left, heightInUse, left + GetContentWidth(), std::max(heightInUse, GetHeight())));
}

int32_t XListHeader::GetContentWidth() const
{
    return std::max(GetWidth(), container->GetTotalColumnWidth());
}

int32_t XListHeader::GetMaxScrollOffset() const
{
    return std::max(0, GetContentWidth() - GetWidth());
}

int32_t XListHeader::ColumnAtX(int32_t x) const
{
    for (int32_t position = 0; position < container->GetColumnCount(); ++position)
    {
        const XRect cell = GetColumnCell(position);
        if (x >= cell.left && x < cell.right)
            return position;
    }
    return -1;
}

XRect XListHeader::GetColumnCell(int32_t position) const
{
    const XListColumn* column = container->GetColumnAt(position);
    if (column == nullptr)
        return XRect();
    const int32_t left = container->getX() + column->getX();
    return XRect(left, 0, left + column->GetWidth(), heightInUse);
}

// Drawing ----------------------------------------------------------------------------------------

void XListHeader::Draw(XCanvas& canvas)
{
    XStyle* style = GetStyle();
    if (!IsVisible() || heightInUse <= 0 || GetFont() == nullptr || style == nullptr)
        return;
    PrepareCanvas(canvas);
    const XRect line(0, 0, GetWidth(), heightInUse);
    style->EraseBackground(line, canvas);
    int32_t right = container->getX();
    for (int32_t position = 0; position < container->GetColumnCount(); ++position)
    {
        const XListColumn* column = container->GetColumnAt(position);
        const XRect cell = GetColumnCell(position);
        canvas.SetJustification(column->GetJustification());
        style->DrawListHeader(canvas, column->GetLabel(), cell,
                              container->IsSortable() &&
                                  column->GetIdentifier() == container->GetSortColumn(),
                              position == pressedColumn ? 2 : 0, container->IsDescending());
        right = cell.right;
    }
    if (right < GetWidth())
        style->DrawListHeader(canvas, XString(), XRect(right, 0, GetWidth(), heightInUse), false, 3, false);
    const XListColumn* dragged = container->GetColumnAt(pressedColumn);
    if (dragged != nullptr && moved && dragOffset >= 0 && !ghost.IsEmpty())
    {
        // The dragged cell once more, see-through, where the pointer carries it.
        if (JUCECanvas* scratch = AcquireScratchCanvas())
        {
            const XRect cell(0, 0, ghost.Width(), ghost.Height());
            PrepareCanvas(*scratch);
            scratch->SetJustification(dragged->GetJustification());
            style->DrawListHeader(*scratch, dragged->GetLabel(), cell, false, 2, false);
            scratch->SetOpacity(kGhostOpacity);
            canvas.DrawCanvas(scratch, cell, ghost, 0);
            scratch->SetOpacity(255);
            ReleaseScratchCanvas(scratch);
        }
    }
}

int32_t XListHeader::GetCursorTool(const XPoint& point)
{
    if (point.y >= 0 && point.y < heightInUse)
        for (int32_t position = 0; position < container->GetColumnCount(); ++position)
            if (std::abs(point.x - GetColumnCell(position).right) <= kEdgeZone)
                return XViewCursors::kToolLeftRightResize;
    return XViewCursors::kToolNormal;
}

// Keys and focus ---------------------------------------------------------------------------------

bool XListHeader::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    return container->HandleKeyFromAbove(keyCode, modifiers);
}

void XListHeader::FocusChanged(bool focused)
{
    XViewPort::FocusChanged(focused);
    Invalidate();
}

bool XListHeader::HasKeyFocus()
{
    return XViewPort::HasKeyFocus() || container->HasKeyFocus();
}

void XListHeader::SizeChanged(int32_t dw, int32_t dh)
{
    XViewPort::SizeChanged(dw, dh);
    if (GetScrollOffset() > GetMaxScrollOffset())
        ScrollToOffset(GetMaxScrollOffset());
    PlaceContainer();
}

// Mouse ------------------------------------------------------------------------------------------

void XListHeader::mouseDown(const juce::MouseEvent& event)
{
    container->NotePressModifiers(event.mods);
    XViewPort::mouseDown(event);
}

bool XListHeader::MouseDown(const XPoint& point, int32_t button)
{
    if (button == kButtonRight)
        return ContextClick(point);
    if (button != kButtonLeft || container->GetColumnCount() == 0 || point.y >= heightInUse)
        return false;
    lastPoint = point;
    moved = false;
    pressed = true;
    // The keys of the line go to the rows, so the row area takes the focus and the list stays marked.
    container->FocusChanged(true);
    if (GetCursorTool(point) == XViewCursors::kToolLeftRightResize)
    {
        const int32_t count = container->GetColumnCount();
        int32_t position = ColumnAtX(point.x);
        if (position == -1)
        {
            position = count - 1;
        }
        else
        {
            const XRect cell = GetColumnCell(position);
            if (position > 0 && point.x - cell.left < cell.right - point.x)
                --position;
        }
        resizingColumn = position;
    }
    else
    {
        pressedColumn = ColumnAtX(point.x);
    }
    Invalidate();
    return true;
}

bool XListHeader::MouseMoved(const XPoint& point, int32_t button)
{
    if (!pressed)
        return false;
    if (point != lastPoint)
        moved = true;
    if (resizingColumn >= 0)
        ResizeTo(point);
    else if (pressedColumn >= 0 && moved)
        DragTo(point);
    return true;
}

void XListHeader::ResizeTo(const XPoint& point)
{
    const XRect cell = GetColumnCell(resizingColumn);
    const bool outside = point.x < 0 || point.x >= GetWidth();
    if (clamped && outside && point.x < cell.right)
        return;
    clamped = false;
    int32_t right = cell.right + (point.x - lastPoint.x);
    if (right - cell.left <= kMinColumnWidth - 1)
    {
        right = cell.left + kMinColumnWidth;
        clamped = true;
    }
    if (right > GetWidth())
    {
        right = GetWidth() - kRightEndGap;
        clampedRight = true;
    }
    container->SetColumnWidth(resizingColumn, std::max(kMinColumnWidth, right - cell.left));
    if (owner != nullptr)
        owner->UpdateLayout();
    Invalidate();
    lastPoint = point;
}

void XListHeader::DragTo(const XPoint& point)
{
    const XRect cell = GetColumnCell(pressedColumn);
    if (dragOffset < 0)
        dragOffset = point.x < cell.left ? 0 : point.x - cell.left;
    const XRect before = ghost;
    const int32_t left = std::max(0, point.x - dragOffset);
    ghost = XRect(left, 0, std::min(GetWidth(), left + cell.Width()), heightInUse);
    RepaintRect(before);
    RepaintRect(ghost);
    lastPoint = point;
}

bool XListHeader::MouseUp(const XPoint& point, int32_t button)
{
    if (!pressed)
        return false;
    if (pressedColumn >= 0)
    {
        if (moved && dragOffset >= 0)
        {
            int32_t drop = ColumnAtX(std::max(point.x, 0));
            if (drop == -1)
                drop = container->GetColumnCount() - 1;
            container->MoveColumn(pressedColumn, drop);
            if (owner != nullptr)
                owner->UpdateLayout();
        }
        else if (!moved)
        {
            container->SortByColumn(pressedColumn, true);
        }
    }
    ResetPress();
    Invalidate();
    return true;
}

void XListHeader::ResetPress()
{
    resizingColumn = -1;
    pressedColumn = -1;
    dragOffset = -1;
    ghost = XRect();
    pressed = false;
    clamped = false;
    clampedRight = false;
    moved = false;
    container->NotePressModifiers(juce::ModifierKeys());
}

// Scrolling --------------------------------------------------------------------------------------

void XListHeader::ScrollToOffset(int32_t offset)
{
    ScrollTo(-offset, 0);
}

double XListHeader::GetRangeStart(bool horizontal)
{
    return horizontal ? static_cast<double>(GetScrollOffset()) : 0.0;
}

double XListHeader::GetRangeEnd(bool horizontal)
{
    return horizontal ? static_cast<double>(GetScrollOffset()) + GetWidth() : 0.0;
}

double XListHeader::GetContentLength(bool horizontal)
{
    return horizontal ? static_cast<double>(GetContentWidth()) : 0.0;
}

void XListHeader::SetRange(double start, double, bool horizontal)
{
    SetRangeStart(start, horizontal);
}

void XListHeader::SetRangeStart(double start, bool horizontal)
{
    if (horizontal)
        ScrollToOffset(std::clamp(ToPixels(start), 0, GetMaxScrollOffset()));
}

void XListHeader::Step(int flag, bool horizontal)
{
    if (!horizontal)
        return;
    const int32_t offset = GetScrollOffset();
    const int32_t distance = flag == kStepTowardsStart
                                 ? -std::min(kStepSize, offset)
                                 : std::min(kStepSize, GetContentWidth() - offset - GetWidth());
    if (distance == 0 || (flag != kStepTowardsStart && distance < 0))
        return;
    ScrollToOffset(offset + distance);
}
