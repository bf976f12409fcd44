#pragma once

#include "gui/IScalerTarget.h"
#include "gui/XViewPort.h"

#include <cstdint>
#include <vector>

class IListCellMouse;
class IListSorter;
class XListColumn;
class XListRow;
class XListView;

/** The row area of a list view ("scrolling container"): a child of the list's header, placed under
    the header line. It holds the columns (child views) and the rows (not owned: whoever made a row
    deletes it after taking it out), the selection and sort state; it handles the presses, drags and
    keys of the rows and is the vertical target of the list's scroll bar (rows scroll by moving the
    columns, one row pitch per step). Row i lies at y i x pitch .. (i + 1) x pitch of the scrolled
    content. GUI thread. */
class XListContainer final : public XViewPort, public IScalerTarget
{
public:
    /** Flag bit 0: more than one row may be selected. */
    static constexpr uint32_t kMultipleSelection = 0x1;
    static constexpr uint32_t kDefaultFlags = 5;
    static constexpr int32_t kDefaultRowSpacing = 3;
    /** The pointer must move this far from the press before a drag starts. */
    static constexpr int32_t kDragDistance = 3;
    static constexpr int32_t kNone = -1;
    static constexpr const char* kName = "scrolling container";

    XListContainer(XListView* owner, uint32_t flags);
    ~XListContainer() override;

    XListView* GetOwner() const { return owner; }
    uint32_t GetFlags() const { return flags; }
    void SetFlags(uint32_t newFlags) { flags = newFlags; }
    bool AllowsMultipleSelection() const { return (flags & kMultipleSelection) != 0; }

    // Columns ------------------------------------------------------------------------------------

    /** Makes a column (a child view), inserts it at position (-1 appends), lays the columns out;
        returns position. */
    int32_t AddColumn(const XString& title, int32_t width, uint8_t justification, int32_t position,
                      int32_t identifier);
    /** Moves the column shown at from to display position to; out-of-range positions do nothing. */
    void MoveColumn(int32_t from, int32_t to);
    /** The column at the display position gets the width (its right edge left + width). */
    void SetColumnWidth(int32_t position, int32_t width);
    /** Places the columns side by side in display order at the vertical scroll offset and keeps
        their total width. */
    void LayoutColumns();
    XListColumn* GetColumnAt(int32_t position) const;
    /** The column index shown at the display position; 0 out of range. */
    int32_t GetColumnIndexAt(int32_t position) const;
    /** The display position of the column, -1 when it is not one of ours. */
    int32_t GetColumnPosition(const XListColumn* column) const;
    int32_t GetColumnCount() const { return static_cast<int32_t>(columns.size()); }
    /** The column of that index (insertion order), none out of range. */
    XListColumn* GetColumn(int32_t index) const;
    int32_t GetTotalColumnWidth() const { return totalColumnWidth; }

    // Rows ---------------------------------------------------------------------------------------

    /** Appends the row (not owned), raises the row height to the row's, and with relayout repaints
        the new row's band when it lies inside the area; returns its index. */
    int32_t AddRow(XListRow* row, bool relayout);
    /** Takes the row at index out (not deleting it); out of range does nothing. */
    void RemoveRowAt(int32_t index);
    /** Empties the rows (not deleting them) and forgets anchor, cursor, first, last and the pressed
        column. */
    void RemoveAllRows();
    int32_t GetRowCount() const { return static_cast<int32_t>(rows.size()); }
    XListRow* GetRowAt(int32_t index) const;
    int32_t IndexOfRow(const XListRow* row) const;
    /** Exchanges two rows of the display order (sorters use it). */
    void SwapRows(int32_t a, int32_t b);
    /** The row index at a y of the scrolled content; -1 outside the rows. */
    int32_t RowIndexAtContentY(int32_t y) const;

    int32_t GetRowHeight() const { return rowHeight; }
    void SetRowHeight(int32_t height) { rowHeight = height; }
    int32_t GetRowSpacing() const { return rowSpacing; }
    void SetRowSpacing(int32_t spacing) { rowSpacing = spacing; }
    /** Row height plus spacing: the distance between rows. */
    int32_t GetPitch() const { return rowHeight + rowSpacing; }

    // Selection ----------------------------------------------------------------------------------

    /** Nothing for a separator or a row already in that state; else sets it, tells the list of the
        new range when selecting, emits the row-selection signal and repaints the row's band. */
    void SetRowSelected(int32_t index, bool selected, bool repaint);
    /** first..last compared as unsigned numbers (so -1 counts as the largest). Exclusive: every row
        outside is deselected, every row inside selected, and the list gets the range; otherwise
        rows first..last (kept to the last row) are selected and the others left alone. */
    void SelectRange(int32_t first, int32_t last, bool exclusive);
    void SetAllRowsSelected(bool selected);
    /** The first row whose selected byte is set, -1 when none. */
    int32_t GetFirstSelectedIndex() const;

    int32_t GetAnchorRow() const { return anchorRow; }
    void SetAnchorRow(int32_t row) { anchorRow = row; }
    int32_t GetCursorRow() const { return cursorRow; }
    void SetCursorRow(int32_t row) { cursorRow = row; }
    int32_t GetFirstSelected() const { return firstSelected; }
    int32_t GetLastSelected() const { return lastSelected; }
    void SetSelectedRange(int32_t first, int32_t last)
    {
        firstSelected = first;
        lastSelected = last;
    }
    int32_t GetPressedColumn() const { return pressedColumn; }
    bool IsDragging() const { return dragging; }
    bool IsMousePressed() const { return mousePressed; }

    /** The modifier keys of the press in progress (columns and header note them). */
    void NotePressModifiers(const juce::ModifierKeys& modifiers) { pressModifiers = modifiers; }
    bool IsShiftHeld() const;
    bool IsControlHeld() const;
    /** True when a press on a row is left to the selection rules (single selection, Shift, Ctrl or
        toggling), false when it simply makes the row the only selected one. */
    bool PressFollowsSelectionRules() const;
    bool GetToggleSelections() const { return toggleSelections; }
    void SetToggleSelections(bool toggle) { toggleSelections = toggle; }

    // Sorting ------------------------------------------------------------------------------------

    /** Nothing unless sortable and the column exists: a second choice of the sort column with toggle
        reverses the order, any other choice sorts ascending; then Sort. */
    void SortByColumn(int32_t position, bool toggle);
    /** Sorts the rows by the sort column (the installed sorter, else the built-in quicksort,
        reversed while descending or while Shift is held), then repaints. */
    void Sort();
    bool IsSortable() const { return sortable; }
    void SetSortable(bool canSort) { sortable = canSort; }
    /** The identifier of the column sorted by. */
    int32_t GetSortColumn() const { return sortColumn; }
    void SetSortColumn(int32_t identifier) { sortColumn = identifier; }
    bool IsDescending() const { return descending; }
    void SetSorter(IListSorter* newSorter) { sorter = newSorter; }
    void SetCellMouse(IListCellMouse* delegate) { cellMouse = delegate; }
    bool GetDrawDividers() const { return drawDividers; }
    void SetDrawDividers(bool draw) { drawDividers = draw; }

    // Scrolling ----------------------------------------------------------------------------------

    /** How far the rows are scrolled down (0 or more). */
    int32_t GetVerticalPosition() const { return -GetScrollPosition().y; }
    /** The height of all rows. */
    int32_t GetContentHeight() const;
    /** Scrolls to position, kept between 0 and the content height less the area's height. */
    void SetVerticalPosition(int32_t position);
    /** Scrolls so that the row is in view (the keys' scrolling). */
    void ScrollToRow(int32_t row);

    // XView --------------------------------------------------------------------------------------

    /** The frame, then the scroll position kept inside the content. */
    void SetFrame(const XRect& frame) override;
    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    /** The key handling for the views above (header, list): a key that reached them from the row
        area or a view inside it was offered already and is not taken again. */
    bool HandleKeyFromAbove(int32_t keyCode, XKeyInfo& modifiers);
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void mouseDown(const juce::MouseEvent& event) override;
    void FocusChanged(bool focused) override;
    /** Repaints and emits the list's flag signal with the new state. */
    void FocusViewChanged(bool focused) override;
    bool HasKeyFocus() override;

    // IScalerTarget (vertical) -------------------------------------------------------------------

    double GetRangeStart(bool horizontal) override;
    double GetRangeEnd(bool horizontal) override;
    double GetContentLength(bool horizontal) override;
    bool HasOverview(bool) override { return false; }
    void DrawOverview(XCanvas&, const XRect&, const XRect&, const XRect&, bool) override {}
    void SetRange(double start, double end, bool horizontal) override;
    void SetRangeStart(double start, bool horizontal) override;
    void Step(int flag, bool horizontal) override;
    bool CanZoom(bool) override { return false; }

private:
    /** Repaints the band of one row in every column. */
    void RepaintRow(int32_t index);
    /** The keys that move the cursor row; true when handled. */
    bool MoveCursor(int32_t keyCode, bool shift);

    std::vector<XListColumn*> columns; // child views, in insertion order
    std::vector<XListRow*> rows;       // display order; not owned
    XListView* owner;
    uint32_t flags;
    bool dragging = false;
    int32_t anchorRow = kNone;
    int32_t pressedColumn = kNone;
    int32_t cursorRow = kNone;
    int32_t firstSelected = kNone;
    int32_t lastSelected = kNone;
    int32_t rowSpacing = kDefaultRowSpacing;
    int32_t rowHeight = 0;
    int32_t totalColumnWidth = 0;
    bool mousePressed = false;
    bool descending = false;
    std::vector<int32_t> columnOrder; // display position -> column index
    bool sortable = true;
    int32_t sortColumn = 0;
    bool drawDividers = false;
    bool toggleSelections = false;
    XPoint pressPoint;
    juce::ModifierKeys pressModifiers;
    IListSorter* sorter = nullptr;       // not owned
    IListCellMouse* cellMouse = nullptr; // not owned
};
