#include "files/XListContainer.h"

#include "core/ModifierKeyState.h"
#include "core/XKeyPress.h"
#include "core/XQuickSort.h"
#include "files/IListCellMouse.h"
#include "files/IListSorter.h"
#include "files/XListColumn.h"
#include "files/XListRow.h"
#include "files/XListView.h"
#include "gui/XScaler.h"
#include "gui/XStyle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
/** The rows and the direction of the running built-in sort (the quicksort's callbacks are plain
    functions; one sort runs at a time on the GUI thread). */
struct RunningSort
{
    XListContainer* container = nullptr;
    int32_t column = 0;
    bool reversed = false;
};
RunningSort runningSort;

int CompareRows(int i, int j)
{
    XListRow* mine = runningSort.container->GetRowAt(i - 1);
    XListRow* theirs = runningSort.container->GetRowAt(j - 1);
    const int order = mine->Compare(theirs, runningSort.column);
    return runningSort.reversed ? -order : order;
}

void ExchangeRows(int i, int j)
{
    runningSort.container->SwapRows(i - 1, j - 1);
}

int32_t ToPixels(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, -2.0e9, 2.0e9));
}
} // namespace

XListContainer::XListContainer(XListView* list, uint32_t containerFlags) : owner(list), flags(containerFlags)
{
    SetLabel(XString(kName), false);
    setName(kName);
    setWantsKeyboardFocus(true);
}

XListContainer::~XListContainer() = default;

// Columns ----------------------------------------------------------------------------------------

int32_t XListContainer::AddColumn(const XString& title, int32_t width, uint8_t justification,
                                  int32_t position, int32_t identifier)
{
    const int32_t count = GetColumnCount();
    if (position < 0 || position > count)
        position = -1;
    auto* column = new XListColumn(this, XRect(0, 0, width, XListColumn::kHeight), title, identifier);
    AddChild(column);
    column->SetJustification(justification);
    column->SetBackColor(GetBackColor());
    column->SetForeColor(GetForeColor());
    if (position == -1)
        columns.push_back(column);
    else
        columns.insert(columns.begin() + position, column);
    columnOrder.push_back(position == -1 ? count : position);
    LayoutColumns();
    return position;
}

void XListContainer::MoveColumn(int32_t from, int32_t to)
{
    const int32_t count = static_cast<int32_t>(columnOrder.size());
    if (from < 0 || from >= count || to < 0 || to >= count)
        return;
    const int32_t index = columnOrder[static_cast<size_t>(from)];
    columnOrder.erase(columnOrder.begin() + from);
    columnOrder.insert(columnOrder.begin() + to, index);
    LayoutColumns();
}

void XListContainer::SetColumnWidth(int32_t position, int32_t width)
{
    XListColumn* column = GetColumnAt(position);
    if (column == nullptr)
        return;
    const XRect frame = column->GetFrame();
    column->SetFrame(XRect(frame.left, frame.top, frame.left + width, frame.bottom));
    LayoutColumns();
}

void XListContainer::LayoutColumns()
{
    int32_t x = 0;
    const int32_t top = GetScrollPosition().y;
    for (int32_t position = 0; position < static_cast<int32_t>(columnOrder.size()); ++position)
    {
        XListColumn* column = GetColumnAt(position);
        if (column == nullptr)
            continue;
        const int32_t width = column->GetWidth();
        column->SetFrame(XRect(x, top, x + width, top + XListColumn::kHeight));
        x += width;
    }
    totalColumnWidth = x;
}

XListColumn* XListContainer::GetColumnAt(int32_t position) const
{
    if (position < 0 || position >= static_cast<int32_t>(columnOrder.size()))
        return nullptr;
    return GetColumn(columnOrder[static_cast<size_t>(position)]);
}

int32_t XListContainer::GetColumnIndexAt(int32_t position) const
{
    if (position < 0 || position >= static_cast<int32_t>(columnOrder.size()))
        return 0;
    return columnOrder[static_cast<size_t>(position)];
}

int32_t XListContainer::GetColumnPosition(const XListColumn* column) const
{
    for (int32_t position = 0; position < static_cast<int32_t>(columnOrder.size()); ++position)
        if (GetColumnAt(position) == column)
            return position;
    return kNone;
}

XListColumn* XListContainer::GetColumn(int32_t index) const
{
    return index >= 0 && index < GetColumnCount() ? columns[static_cast<size_t>(index)] : nullptr;
}

// Rows -------------------------------------------------------------------------------------------

int32_t XListContainer::AddRow(XListRow* row, bool relayout)
{
    if (row == nullptr)
        return kNone;
    rows.push_back(row);
    const int32_t index = GetRowCount() - 1;
    rowHeight = std::max(rowHeight, row->GetHeight(owner));
    if (relayout && (index + 1) * GetPitch() <= GetHeight())
        RepaintRow(index);
    return index;
}

void XListContainer::RemoveRowAt(int32_t index)
{
    if (index >= 0 && index < GetRowCount())
        rows.erase(rows.begin() + index);
}

void XListContainer::RemoveAllRows()
{
    rows.clear();
    anchorRow = cursorRow = firstSelected = lastSelected = pressedColumn = kNone;
}

XListRow* XListContainer::GetRowAt(int32_t index) const
{
    return index >= 0 && index < GetRowCount() ? rows[static_cast<size_t>(index)] : nullptr;
}

int32_t XListContainer::IndexOfRow(const XListRow* row) const
{
    if (row == nullptr)
        return kNone;
    const auto found = std::find(rows.begin(), rows.end(), row);
    return found == rows.end() ? kNone : static_cast<int32_t>(found - rows.begin());
}

void XListContainer::SwapRows(int32_t a, int32_t b)
{
    if (GetRowAt(a) != nullptr && GetRowAt(b) != nullptr)
        std::swap(rows[static_cast<size_t>(a)], rows[static_cast<size_t>(b)]);
}

int32_t XListContainer::RowIndexAtContentY(int32_t y) const
{
    const int32_t pitch = GetPitch();
    if (pitch <= 0 || y < 0)
        return kNone;
    const int32_t index = y / pitch;
    return index < GetRowCount() ? index : kNone;
}

void XListContainer::RepaintRow(int32_t index)
{
    const int32_t pitch = GetPitch();
    for (XListColumn* column : columns)
        column->RepaintRect(XRect(-1, index * pitch - 1, column->GetWidth() + 1, (index + 1) * pitch + 1));
}

// Selection --------------------------------------------------------------------------------------

void XListContainer::SetRowSelected(int32_t index, bool selected, bool repaint)
{
    XListRow* row = GetRowAt(index);
    if (row == nullptr || row->IsSeparator() || row->IsSelected() == selected)
        return;
    row->SetSelected(selected);
    if (selected && owner != nullptr)
        owner->SetSelectionRange(index, lastSelected);
    if (owner != nullptr)
        owner->GetRowSelectionSignal().Emit(row, selected);
    if (repaint)
        RepaintRow(index);
}

void XListContainer::SelectRange(int32_t first, int32_t last, bool exclusive)
{
    if (static_cast<uint32_t>(last) < static_cast<uint32_t>(first))
        std::swap(first, last);
    const int32_t count = GetRowCount();
    if (exclusive)
    {
        const auto inside = [first, last](int32_t index)
        {
            return static_cast<uint32_t>(index) >= static_cast<uint32_t>(first) &&
                   static_cast<uint32_t>(index) <= static_cast<uint32_t>(last);
        };
        for (int32_t index = 0; index < count; ++index)
            if (!inside(index))
                SetRowSelected(index, false, true);
        for (int32_t index = 0; index < count; ++index)
            if (inside(index))
                SetRowSelected(index, true, true);
        if (owner != nullptr)
            owner->SetSelectionRange(first, last);
        return;
    }
    if (count == 0)
        return;
    const auto limit = [count](int32_t index) {
        return static_cast<int32_t>(std::min(static_cast<uint32_t>(index), static_cast<uint32_t>(count - 1)));
    };
    for (int32_t index = limit(first); index <= limit(last); ++index)
        SetRowSelected(index, true, true);
}

void XListContainer::SetAllRowsSelected(bool selected)
{
    for (int32_t index = 0; index < GetRowCount(); ++index)
        SetRowSelected(index, selected, true);
}

int32_t XListContainer::GetFirstSelectedIndex() const
{
    for (int32_t index = 0; index < GetRowCount(); ++index)
        if (rows[static_cast<size_t>(index)]->IsSelected())
            return index;
    return kNone;
}

bool XListContainer::IsShiftHeld() const
{
    return pressModifiers.isShiftDown() || IsShiftKeyDown();
}

bool XListContainer::IsControlHeld() const
{
    return pressModifiers.isCtrlDown() || IsControlKeyDown();
}

bool XListContainer::PressFollowsSelectionRules() const
{
    return !AllowsMultipleSelection() || toggleSelections || IsShiftHeld() || IsControlHeld();
}

// Sorting ----------------------------------------------------------------------------------------

void XListContainer::SortByColumn(int32_t position, bool toggle)
{
    XListColumn* column = GetColumnAt(position);
    if (!sortable || column == nullptr)
        return;
    if (column->GetIdentifier() == sortColumn && toggle)
        descending = !descending;
    else
        descending = false;
    sortColumn = column->GetIdentifier();
    if (sorter != nullptr)
        sorter->sortColumnPosition = position;
    Sort();
}

void XListContainer::Sort()
{
    if (!sortable || sortColumn < 0 || sortColumn >= GetColumnCount() || rows.empty())
        return;
    if (sorter != nullptr)
    {
        sorter->container = this;
        sorter->Sort(GetRowCount());
    }
    else
    {
        const RunningSort before = runningSort;
        runningSort = RunningSort{this, sortColumn, descending || IsShiftHeld()};
        XQuickSort(GetRowCount(), &CompareRows, &ExchangeRows);
        runningSort = before;
    }
    Invalidate();
    for (XListColumn* column : columns)
        column->Invalidate();
}

// Scrolling --------------------------------------------------------------------------------------

int32_t XListContainer::GetContentHeight() const
{
    return static_cast<int32_t>(std::min<int64_t>(int64_t{GetPitch()} * GetRowCount(), INT32_MAX));
}

void XListContainer::SetVerticalPosition(int32_t position)
{
    const int32_t content = GetContentHeight();
    if (position < 0)
        position = 0;
    if (int64_t{position} + GetHeight() > content)
        position = std::max(0, content - GetHeight());
    ScrollTo(GetScrollPosition().x, -position);
}

void XListContainer::ScrollToRow(int32_t row)
{
    const int32_t pitch = GetPitch();
    const int32_t top = row * pitch;
    const int32_t visible = GetHeight() + 1;
    const int32_t content = GetContentHeight();
    if (visible >= content)
    {
        SetVerticalPosition(0);
        return;
    }
    const int32_t position = GetVerticalPosition();
    if (position + visible < top + pitch)
        SetVerticalPosition(top >= position ? top + pitch - visible : top);
    else if (top < position)
        SetVerticalPosition(top);
}

double XListContainer::GetRangeStart(bool horizontal)
{
    return horizontal ? 0.0 : GetVerticalPosition();
}

double XListContainer::GetRangeEnd(bool horizontal)
{
    return horizontal ? 0.0 : static_cast<double>(GetVerticalPosition()) + GetHeight();
}

double XListContainer::GetContentLength(bool horizontal)
{
    return horizontal ? 0.0 : GetContentHeight();
}

void XListContainer::SetRange(double start, double, bool horizontal)
{
    SetRangeStart(start, horizontal);
}

void XListContainer::SetRangeStart(double start, bool horizontal)
{
    if (!horizontal)
        SetVerticalPosition(ToPixels(start));
}

void XListContainer::Step(int flag, bool horizontal)
{
    if (horizontal)
        return;
    const int32_t pitch = GetPitch();
    const int32_t position = GetVerticalPosition();
    const int32_t distance = flag == kStepTowardsStart
                                 ? -std::min(pitch, position)
                                 : std::min(pitch, GetContentHeight() - position - GetHeight());
    if (distance == 0 || (flag != kStepTowardsStart && distance < 0))
        return;
    ScrollTo(GetScrollPosition().x, -(position + distance));
    if (owner != nullptr)
        if (XView* bar = owner->GetVerticalScrollBar())
            bar->Invalidate();
}

// XView ------------------------------------------------------------------------------------------

void XListContainer::SetFrame(const XRect& frame)
{
    XViewPort::SetFrame(frame);
    if (GetVerticalPosition() > 0)
        SetVerticalPosition(GetVerticalPosition());
}

void XListContainer::Draw(XCanvas& canvas)
{
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawListBackground(canvas, GetBounds());
}

bool XListContainer::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    if (owner == nullptr || rows.empty())
        return false;
    switch (keyCode)
    {
    case XKeyCode::kUp:
    case XKeyCode::kPageUp:
    case XKeyCode::kDown:
    case XKeyCode::kPageDown:
        return MoveCursor(keyCode, (modifiers & XKeyMod::kShift) != 0);
    case XKeyCode::kDelete:
        owner->RemoveSelectedRow();
        return true;
    case XKeyCode::kReturn:
        if (GetFirstSelectedIndex() != kNone)
            owner->SendPendingMessage(firstSelected, lastSelected);
        return false;
    default:
        return false;
    }
}

bool XListContainer::HandleKeyFromAbove(int32_t keyCode, XKeyInfo& modifiers)
{
    XView* focus = GetWindow()->GetFocusView();
    if (focus != nullptr && (focus == this || isParentOf(focus)))
        return false;
    return HandleKeyPress(keyCode, modifiers);
}

bool XListContainer::MoveCursor(int32_t keyCode, bool shift)
{
    const bool up = keyCode == XKeyCode::kUp || keyCode == XKeyCode::kPageUp;
    const bool page = keyCode == XKeyCode::kPageUp || keyCode == XKeyCode::kPageDown;
    const int32_t pitch = std::max(1, GetPitch());
    const int32_t step = page ? std::max(1, GetHeight() / pitch) : 1;
    const int32_t last = GetRowCount() - 1;
    if (GetFirstSelectedIndex() == kNone)
    {
        anchorRow = cursorRow = 0;
    }
    else if (cursorRow == kNone)
    {
        cursorRow = anchorRow;
        if (anchorRow == kNone)
            anchorRow = cursorRow = up ? lastSelected : firstSelected;
    }
    else
    {
        // An unset anchor (a released click) becomes the row the move starts from, so that Shift
        // extends from the clicked row.
        if (anchorRow == kNone)
            anchorRow = cursorRow;
        if (!up)
            cursorRow = static_cast<int32_t>(std::min<int64_t>(int64_t{cursorRow} + step, INT32_MAX));
        else if (cursorRow > 0)
            cursorRow = std::max(0, cursorRow - step);
    }
    anchorRow = std::clamp(anchorRow, 0, last);
    cursorRow = std::clamp(cursorRow, 0, last);
    if (!(shift && AllowsMultipleSelection()))
        anchorRow = cursorRow;
    owner->SelectRange(anchorRow, cursorRow, true);
    ScrollToRow(cursorRow);
    Invalidate();
    return true;
}

void XListContainer::mouseDown(const juce::MouseEvent& event)
{
    NotePressModifiers(event.mods);
    XViewPort::mouseDown(event);
}

bool XListContainer::MouseDown(const XPoint& point, int32_t button)
{
    if (button == kButtonRight)
        return ContextClick(point);
    if (button != kButtonLeft || owner == nullptr)
        return false;
    FocusChanged(true);
    pressPoint = point;
    const int32_t pitch = std::max(1, GetPitch());
    const int32_t contentY = point.y - GetScrollPosition().y;
    const int32_t index = contentY >= 0 ? contentY / pitch : kNone;
    mousePressed = true;
    pressedColumn = kNone;
    anchorRow = cursorRow = index;
    if (IsDoubleClickInProgress())
        return true;

    XListRow* row = GetRowAt(index);
    if (row != nullptr)
    {
        for (int32_t position = 0; position < GetColumnCount(); ++position)
        {
            XListColumn* column = GetColumnAt(position);
            const XRect frame = column->GetFrame();
            if (point.x < frame.left || point.x >= frame.right)
                continue;
            const XRect cell(0, index * pitch, column->GetWidth(), (index + 1) * pitch);
            if (row->MouseDownInCell(column, cell, GetColumnIndexAt(position), point.x - frame.left,
                                     contentY))
                pressedColumn = position;
            break;
        }
    }
    owner->GetRowPressedSignal().Emit(row);
    if (pressedColumn == kNone || row == nullptr)
    {
        for (int32_t other = 0; other < GetRowCount(); ++other)
            SetRowSelected(other, false, true);
        firstSelected = lastSelected = kNone;
        return true;
    }
    if (cellMouse != nullptr && cellMouse->PressCell(owner, row, pressedColumn))
        return true;

    bool selected = true;
    if (AllowsMultipleSelection())
    {
        if (IsShiftHeld())
        {
            // Without an earlier range the row itself starts it (-1 would run to the last row).
            const int32_t from = firstSelected == kNone ? index : firstSelected;
            SetAllRowsSelected(false);
            owner->SelectRange(from, index, true);
            anchorRow = from;
            cursorRow = index;
            return true;
        }
        if (IsControlHeld() || toggleSelections)
            selected = !row->IsSelected();
        else if (row->IsSelected())
            return true;
        else
            SetAllRowsSelected(false);
    }
    else
    {
        selected = !row->IsSelected();
        for (int32_t other = 0; other < GetRowCount(); ++other)
            if (other != index)
                SetRowSelected(other, false, true);
    }
    SetRowSelected(index, selected, true);
    return true;
}

bool XListContainer::MouseMoved(const XPoint& point, int32_t button)
{
    if (!mousePressed || dragging)
        return true;
    if (std::abs(point.x - pressPoint.x) < kDragDistance && std::abs(point.y - pressPoint.y) < kDragDistance)
        return true;
    dragging = true;
    bool started = false;
    if (pressedColumn != kNone && cellMouse != nullptr)
    {
        XListRow* row = GetRowAt(RowIndexAtContentY(point.y - GetScrollPosition().y));
        started = cellMouse->DragCell(owner, row, pressedColumn);
    }
    if (!started && owner != nullptr)
        owner->StartRowDrag();
    return true;
}

bool XListContainer::MouseUp(const XPoint& point, int32_t button)
{
    mousePressed = false;
    XListRow* row = GetRowAt(RowIndexAtContentY(point.y - GetScrollPosition().y));
    if (pressedColumn != kNone && cellMouse != nullptr && row != nullptr)
        dragging = cellMouse->ReleaseCell(owner, row, pressedColumn);
    else
        dragging = false;
    anchorRow = kNone;
    pressedColumn = kNone;
    pressModifiers = juce::ModifierKeys();
    return true;
}

bool XListContainer::MouseWheel(const XPoint&, int32_t steps)
{
    if (steps == 0)
        return false;
    Step(steps > 0 ? kStepTowardsStart : kStepTowardsEnd, false);
    return true;
}

void XListContainer::FocusChanged(bool focused)
{
    XViewPort::FocusChanged(focused);
    Invalidate();
}

void XListContainer::FocusViewChanged(bool focused)
{
    XViewPort::FocusViewChanged(focused);
    Invalidate();
    for (XListColumn* column : columns)
        column->Invalidate();
    if (owner != nullptr)
        owner->GetFlagSignal().Emit(focused);
}

bool XListContainer::HasKeyFocus()
{
    if (XViewPort::HasKeyFocus())
        return true;
    for (XListColumn* column : columns)
        if (column->HasKeyFocus())
            return true;
    return false;
}
