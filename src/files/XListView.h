#pragma once

#include "core/XInvoker.h"
#include "core/XSignal.h"
#include "gui/ITextListView.h"
#include "gui/XView.h"

#include <cstdint>
#include <memory>
#include <vector>

class XClassPropertyTable;
class XListContainer;
class XListHeader;
class XListRow;
class XParam;
class XScaler;
class XTextEditView;

/** The multi-column list ("list" in window descriptions, or made by code): a header line of titled
    columns (XListHeader) above a scrolling area of rows (XListContainer, a child of the header),
    with single or multiple selection, sorting by a clicked column, columns moved and resized in the
    header, keys, a vertical scroll bar made on first need, and in-place editing of one cell for
    lists that supply an editor (PrepareCellEdit). It tells of selections with 20000014
    {nFirstRow, nLastRow} and of double clicks with 20000015 {rowIndex, column} through its
    invoker (aimed at the application unless retargeted), and through its five signals.

    Ownership: the header, row area, columns, scroll bar and cell editor are child views and go with
    the list; the pending message is owned. Rows added with AddRow are not owned: whoever made them
    deletes them after taking them out. The rows the list makes itself (description "addrow",
    AddTextRow) are owned by the list. The bound parameter is not owned (a destroyed one is
    forgotten). GUI thread. */
class XListView : public XView, public XInvoker, public ITextListView
{
public:
    static constexpr uint32_t kSelectionMessage = 20000014;
    static constexpr uint32_t kRowDoubleClickedMessage = 20000015;
    static constexpr uint32_t kTextCommittedMessage = 1004000;
    static constexpr int32_t kNoSelection = -1;
    static constexpr int32_t kDefaultScrollBarWidth = 20;
    static constexpr int32_t kDefaultHeaderHeight = 20;
    static constexpr int32_t kDefaultHeaderFontSize = 10;
    /** "drawframe": the content is inset this far on every side. */
    static constexpr int32_t kFrameInset = 2;
    static constexpr uint32_t kAttachBottomRightMask = 15;
    static const XRGB kDefaultHeaderBackColor;
    static const XRGB kDefaultHeaderForeColor;

    XListView();
    /** Deletes the pending message and the rows the list made, leaves the bound parameter. */
    ~XListView() override;

    XListHeader* GetHeader() const { return header; }
    XListContainer* GetContainer() const;
    XScaler* GetVerticalScrollBar() const { return verticalScrollBar; }
    /** A horizontal scroll bar of the owner's (a child view, shown while the columns are wider than
        the list); the list makes none itself. */
    void SetHorizontalScrollBar(XView* bar) { horizontalScrollBar = bar; }
    XView* GetHorizontalScrollBar() const { return horizontalScrollBar; }
    int32_t GetScrollBarWidth() const { return scrollBarWidth; }
    void SetScrollBarWidth(int32_t width) { scrollBarWidth = width; }
    int32_t GetHeaderHeight() const { return headerHeight; }
    void SetHeaderHeight(int32_t height) { headerHeight = height; }
    /** 0 with "noheader", else the header height. */
    int32_t GetHeaderHeightInUse() const { return noHeader ? 0 : headerHeight; }
    bool HasNoHeader() const { return noHeader; }
    bool DrawsFrame() const { return drawFrame; }

    /** The message that Return and SendPendingMessage send (owned; null for none). */
    void SetPendingMessage(std::unique_ptr<XMessage> message);
    XMessage* GetPendingMessage() const { return pendingMessage.get(); }

    /** While set, EditCell does nothing. */
    void SetEditingBlocked(bool blocked) { editingBlocked = blocked ? 1 : 0; }
    int32_t GetEditingColumn() const { return editingColumn; }
    XTextEditView* GetCellEditor() const { return cellEditor; }

    // Signals ------------------------------------------------------------------------------------

    /** A double click on a row, with the row and the column index. */
    XSignal<XListRow*, int32_t>& GetRowActivatedSignal() { return rowActivatedSignal; }
    /** Every SetSelectionRange, with first and last. */
    XSignal<int32_t, int32_t>& GetSelectionRangeSignal() { return selectionRangeSignal; }
    /** True when the row area takes the keyboard focus, false when it loses it. */
    XSignal<bool>& GetFlagSignal() { return flagSignal; }
    /** One row's selected state changed; (none, false) when all rows are removed. */
    XSignal<XListRow*, bool>& GetRowSelectionSignal() { return rowSelectionSignal; }
    /** Every press in the row area, with the row under the pointer (none below the last row). */
    XSignal<XListRow*>& GetRowPressedSignal() { return rowPressedSignal; }

    // Rows and columns ---------------------------------------------------------------------------

    /** Appends the row (not owned); with update, UpdateLayout. Rows are not sorted when added. */
    void AddRow(XListRow* row, bool update);
    /** Adds a column (identifier negative: the number of columns) at position (-1 appends), lays
        out and repaints; returns its display position. */
    int32_t InsertColumn(const XString& title, int32_t width, uint8_t justification, int32_t position = -1,
                         int32_t identifier = -1);
    void SetColumnWidth(int32_t position, int32_t width);
    /** Nothing without rows; else selects the range (see XListContainer::SelectRange), the anchor
        becomes first and the cursor last. */
    void SelectRange(int32_t first, int32_t last, bool exclusive);
    void SelectRow(int32_t index, bool exclusive) { SelectRange(index, index, exclusive); }
    /** Empties the rows without deleting them, forgets the selection indexes, emits (none, false)
        and SetSelectionRange(-1, -1), then UpdateLayout. */
    void RemoveAllRows();
    int32_t GetRowCount() const;
    XListRow* GetRowAt(int32_t index) const;
    int32_t IndexOfRow(const XListRow* row) const;
    /** The row at a point of the scrolled rows (row i at y i x pitch); none outside. */
    XListRow* RowAtPoint(const XPoint& point) const;
    bool IsRowSelected(int32_t index) const;
    /** The row's band in row-area coordinates; empty for a row not in the list. */
    XRect GetRowRect(const XListRow* row) const;
    /** The first selected row, -1 when none. */
    int32_t GetSelectedIndex() const;
    XListRow* GetSelectedRow() const;
    /** Empties out, then appends every selected row in row order: 0, or 0x80000002 for a missing
        array or row. */
    int32_t GetSelectedRows(std::vector<XListRow*>* out) const;
    void SortByColumn(int32_t position, bool toggle);

    // Overridable operations ---------------------------------------------------------------------

    virtual const char* ClassNameText() const { return "XListView"; }
    /** Sends the pending message, when there is one, through the invoker. */
    virtual void SendPendingMessage(int32_t first, int32_t last);
    /** Stores the range in the row area, NotifySelection, emits the selection-range signal. */
    virtual void SetSelectionRange(int32_t first, int32_t last);
    /** Row dragging is not enabled: starts nothing, false. */
    virtual bool StartRowDrag() { return false; }
    virtual void GetClassName(XString& name) const { name = ClassNameText(); }
    /** Nothing while hidden; else lays the list out and repaints it. */
    virtual void UpdateLayout();
    virtual void SetSortable(bool sortable);
    /** Takes the first selected row out (not deleting it) and relays the unchanged range. */
    virtual void RemoveSelectedRow();
    /** Selects the row at y / pitch alone, sends 20000015 and emits row-activated; true. */
    virtual bool RowDoubleClicked(const XPoint& point, int32_t column);
    /** A plain press (multiple selection, no Shift, Ctrl or toggling) selects the row at y / pitch
        alone; the other presses are left to the row area's rules. Returns OnRowClicked. */
    virtual bool RowClicked(const XPoint& point, int32_t column);
    /** A derived list's answer to a click on a row; true ends the press. false here. */
    virtual bool OnRowClicked(XListRow* row, int32_t column) { return false; }
    void EditCellOfRow(XListRow* row, int32_t column) { EditCell(IndexOfRow(row), column); }
    /** Opens the cell editor that PrepareCellEdit supplies over the cell, with the cell's text. */
    virtual void EditCell(int32_t rowIndex, int32_t columnIndex);
    /** The identifier of the column a description key names: -1 (the number of columns). */
    virtual int32_t GetColumnIdForKey(const XString& key) { return -1; }
    /** Watches the parameter instead of the bound one (null watches none); not owned. */
    virtual void SetParam(XParam* param);
    XParam* GetParam() const { return boundParam; }
    /** Shows the vertical scroll bar (made on first need) while the rows are taller than their area,
        and the horizontal one while the columns are wider than the list; hidden bars scroll back to
        the start. */
    virtual void UpdateScrollBars();
    /** Configures the editor over rect with the cell text and the list's look. */
    virtual void CreateCellView(XTextEditView* editor, const XRect& rect, const XString& text, bool timecode);
    /** A derived list supplies the editor here (SetCellEditor) and answers whether the cell is a
        time; false and no editor here, so a plain list edits nothing in place. */
    virtual bool PrepareCellEdit(int32_t columnIndex, XListRow* row) { return false; }
    /** Hides the editor and gives the keyboard focus back to the rows. */
    virtual void EndCellEdit();
    /** Sends 20000014 {nFirstRow, nLastRow} through the invoker. */
    virtual void NotifySelection(int32_t first, int32_t last);

    /** The "XListView" table, below the view's. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    // XView --------------------------------------------------------------------------------------

    void ApplyStyle() override;
    /** Shows, lays out and sorts. */
    void Show() override;
    void SetFrame(const XRect& frame) override;
    void SizeChanged(int32_t dw, int32_t dh) override;
    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void FocusChanged(bool focused) override;
    bool HasKeyFocus() override;
    void ReadAttributes(XMessage& block) override;
    /** 1004000 from the cell editor ends the edit; the rest as the view. */
    void MessageReceived(XMessage& message) override;
    /** Forgets the bound parameter when it is destroyed; the rest as the view. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    // ITextListView ------------------------------------------------------------------------------

    void ClearTextRows() override;
    void AddTextRow(const XString& text) override;
    int32_t CountTextRows() const override { return GetRowCount(); }
    void SelectTextRow(int32_t index) override;
    int32_t GetSelectedTextRow() const override { return GetSelectedIndex(); }

protected:
    /** The editor a derived list supplies in PrepareCellEdit (a view it has made; the list adds it as
        its child on first use and owns it from then on). */
    void SetCellEditor(XTextEditView* editor) { cellEditor = editor; }
    /** Places scroll bars, header and row area in the list's bounds. */
    void Layout();

private:
    /** The row index at a y of the scrolled rows, -1 outside. */
    int32_t RowIndexAtY(int32_t y) const;
    void ReadColumn(const XString& text);
    void ReadRow(const XString& text);
    void ReadHeaderFont(const XString& text);

    XSignal<XListRow*, int32_t> rowActivatedSignal;
    XSignal<int32_t, int32_t> selectionRangeSignal;
    XSignal<bool> flagSignal;
    XSignal<XListRow*, bool> rowSelectionSignal;
    XSignal<XListRow*> rowPressedSignal;
    XListHeader* header = nullptr; // a child view
    std::unique_ptr<XMessage> pendingMessage;
    bool drawFrame = false;
    bool noHeader = false;
    bool attachBottomRight = false;
    XParam* boundParam = nullptr; // not owned
    int32_t editingBlocked = 0;
    int32_t editingColumn = -1;
    XTextEditView* cellEditor = nullptr;  // a child view once editing started
    XScaler* verticalScrollBar = nullptr; // a child view
    XView* horizontalScrollBar = nullptr; // the owner's child view, when there is one
    int32_t scrollBarWidth = kDefaultScrollBarWidth;
    int32_t headerHeight = kDefaultHeaderHeight;
    std::vector<std::unique_ptr<XListRow>> ownedRows; // rows the list made itself
};
