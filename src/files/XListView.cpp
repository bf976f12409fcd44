#include "files/XListView.h"

#include "core/XApplication.h"
#include "core/XClassPropertyTable.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XResult.h"
#include "files/XListColumn.h"
#include "files/XListContainer.h"
#include "files/XListHeader.h"
#include "files/XListStringRow.h"
#include "gui/DescriptionItems.h"
#include "gui/XFont.h"
#include "gui/XScaler.h"
#include "gui/XStyle.h"
#include "widgets/XTextEditView.h"

#include <algorithm>
#include <string>

const XRGB XListView::kDefaultHeaderBackColor{222, 223, 216, 255};
const XRGB XListView::kDefaultHeaderForeColor{0, 0, 0, 255};

namespace
{
/** The comma fields of a description value. */
std::vector<std::string> CommaFields(const std::string& text)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;)
    {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

/** The leading integer of a text (0 when there is none), like the description's integer fields. */
int32_t LeadingInteger(const std::string& text, int32_t fallback)
{
    try
    {
        size_t used = 0;
        const long value = std::stol(text, &used);
        return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
    }
    catch (...)
    {
        return fallback;
    }
}

bool IsInteger(const std::string& text)
{
    return XString(text.c_str()).IsInteger();
}
} // namespace

XListView::XListView() : XView(), XInvoker(GetApplication())
{
    header = new XListHeader(this, XListContainer::kDefaultFlags);
    header->SetBackColor(kDefaultHeaderBackColor);
    header->SetForeColor(kDefaultHeaderForeColor);
    AddChild(header);
}

XListView::~XListView()
{
    if (verticalScrollBar != nullptr)
        verticalScrollBar->RemoveTarget(GetContainer());
    // The header with the row area and its columns go first, while the list is whole.
    if (header != nullptr)
    {
        RemoveChild(header);
        delete header;
        header = nullptr;
    }
    XParam::ForgetWatcher(this);
    boundParam = nullptr;
}

XListContainer* XListView::GetContainer() const
{
    return header != nullptr ? header->GetContainer() : nullptr;
}

void XListView::SetPendingMessage(std::unique_ptr<XMessage> message)
{
    pendingMessage = std::move(message);
}

// Rows and columns -------------------------------------------------------------------------------

void XListView::AddRow(XListRow* row, bool update)
{
    GetContainer()->AddRow(row, update);
    if (update)
        UpdateLayout();
}

int32_t XListView::InsertColumn(const XString& title, int32_t width, uint8_t justification, int32_t position,
                                int32_t identifier)
{
    XListContainer* container = GetContainer();
    if (identifier < 0)
        identifier = container->GetColumnCount();
    const int32_t result = container->AddColumn(title, width, justification, position, identifier);
    if (XListColumn* column = container->GetColumn(container->GetColumnCount() - 1))
        column->SetFont(GetFont());
    UpdateLayout();
    return result;
}

void XListView::SetColumnWidth(int32_t position, int32_t width)
{
    GetContainer()->SetColumnWidth(position, width);
    UpdateLayout();
}

void XListView::SelectRange(int32_t first, int32_t last, bool exclusive)
{
    XListContainer* container = GetContainer();
    if (container->GetRowCount() == 0)
        return;
    container->SelectRange(first, last, exclusive);
    container->SetAnchorRow(first);
    container->SetCursorRow(last);
    Invalidate();
}

void XListView::RemoveAllRows()
{
    GetContainer()->RemoveAllRows();
    rowSelectionSignal.Emit(nullptr, false);
    SetSelectionRange(kNoSelection, kNoSelection);
    UpdateLayout();
}

int32_t XListView::GetRowCount() const
{
    return GetContainer()->GetRowCount();
}

XListRow* XListView::GetRowAt(int32_t index) const
{
    return GetContainer()->GetRowAt(index);
}

int32_t XListView::IndexOfRow(const XListRow* row) const
{
    return GetContainer()->IndexOfRow(row);
}

int32_t XListView::RowIndexAtY(int32_t y) const
{
    return GetContainer()->RowIndexAtContentY(y);
}

XListRow* XListView::RowAtPoint(const XPoint& point) const
{
    return GetRowAt(RowIndexAtY(point.y));
}

bool XListView::IsRowSelected(int32_t index) const
{
    const XListRow* row = GetRowAt(index);
    return row != nullptr && row->IsSelected();
}

XRect XListView::GetRowRect(const XListRow* row) const
{
    const XListContainer* container = GetContainer();
    const int32_t index = IndexOfRow(row);
    if (index < 0)
        return XRect();
    const int32_t top = index * container->GetPitch() + container->GetScrollPosition().y;
    return XRect(0, top, container->GetTotalColumnWidth(), top + container->GetRowHeight());
}

int32_t XListView::GetSelectedIndex() const
{
    return GetContainer()->GetFirstSelectedIndex();
}

XListRow* XListView::GetSelectedRow() const
{
    return GetRowAt(GetSelectedIndex());
}

int32_t XListView::GetSelectedRows(std::vector<XListRow*>* out) const
{
    if (out == nullptr)
        return XResult::kNullArgument;
    out->clear();
    for (int32_t index = 0; index < GetRowCount(); ++index)
    {
        XListRow* row = GetRowAt(index);
        if (row == nullptr)
            return XResult::kNullArgument;
        if (row->IsSelected())
            out->push_back(row);
    }
    return 0;
}

void XListView::SortByColumn(int32_t position, bool toggle)
{
    GetContainer()->SortByColumn(position, toggle);
}

// Overridable operations -------------------------------------------------------------------------

void XListView::SendPendingMessage(int32_t, int32_t)
{
    if (pendingMessage != nullptr)
        Invoke(pendingMessage.get());
}

void XListView::SetSelectionRange(int32_t first, int32_t last)
{
    GetContainer()->SetSelectedRange(first, last);
    NotifySelection(first, last);
    selectionRangeSignal.Emit(first, last);
}

void XListView::NotifySelection(int32_t first, int32_t last)
{
    XMessage message(kSelectionMessage);
    message.AddInt32("nFirstRow", first);
    message.AddInt32("nLastRow", last);
    Invoke(&message);
}

void XListView::UpdateLayout()
{
    if (!IsVisible())
        return;
    Layout();
    Invalidate();
}

void XListView::SetSortable(bool sortable)
{
    GetContainer()->SetSortable(sortable);
}

void XListView::RemoveSelectedRow()
{
    XListContainer* container = GetContainer();
    const int32_t index = GetSelectedIndex();
    if (index == kNoSelection)
        return;
    container->RemoveRowAt(index);
    SetSelectionRange(container->GetFirstSelected(), container->GetLastSelected());
    UpdateLayout();
}

bool XListView::RowDoubleClicked(const XPoint& point, int32_t column)
{
    const int32_t index = RowIndexAtY(point.y);
    SelectRange(index, index, true);
    XMessage message(kRowDoubleClickedMessage);
    message.AddInt32("rowIndex", index);
    message.AddInt32("column", column);
    Invoke(&message);
    rowActivatedSignal.Emit(GetRowAt(index), column);
    return true;
}

bool XListView::RowClicked(const XPoint& point, int32_t column)
{
    const int32_t index = RowIndexAtY(point.y);
    if (!GetContainer()->PressFollowsSelectionRules())
        SelectRange(index, index, true);
    return OnRowClicked(GetRowAt(index), column);
}

void XListView::EditCell(int32_t rowIndex, int32_t columnIndex)
{
    XListContainer* container = GetContainer();
    XListRow* row = GetRowAt(rowIndex);
    XListColumn* column = container->GetColumn(columnIndex);
    if (row == nullptr || column == nullptr || editingBlocked != 0)
        return;
    XString text;
    row->GetCellText(column->GetIdentifier(), text);
    const bool timecode = PrepareCellEdit(columnIndex, row);
    if (cellEditor == nullptr)
        return;
    // The cell in list coordinates: the row area lies in the header, the column in the row area.
    const XRect headerFrame = header->GetFrame();
    const XRect containerFrame = container->GetFrame();
    const XRect columnFrame = column->GetFrame();
    const int32_t left = headerFrame.left + containerFrame.left + columnFrame.left;
    int32_t right = left + columnFrame.Width();
    if (verticalScrollBar != nullptr && verticalScrollBar->IsVisible())
        right = std::min(right, verticalScrollBar->GetFrame().left);
    right = std::min(right, GetWidth());
    const int32_t pitch = container->GetPitch();
    const int32_t top =
        headerFrame.top + containerFrame.top + rowIndex * pitch + container->GetScrollPosition().y;
    editingColumn = columnIndex;
    CreateCellView(cellEditor, XRect(left, top, right, top + pitch), text, timecode);
    cellEditor->SetTarget(this, nullptr);
    cellEditor->SelectAll();
    if (cellEditor->GetParentView() != this)
        AddChild(cellEditor);
    cellEditor->Show();
    cellEditor->toFront(false);
    cellEditor->FocusChanged(true);
}

void XListView::CreateCellView(XTextEditView* editor, const XRect& rect, const XString& text, bool timecode)
{
    XMessage block;
    block.AddRect("frame", rect);
    block.AddString("label", text.CStr());
    block.AddString("text", text.CStr());
    block.AddColor("forecolor", XRGB(255, 255, 255, 255));
    block.AddColor("backcolor", XRGB(50, 50, 50, 255));
    block.AddColor("hilitebackcolor", XRGB(80, 80, 80, 255));
    block.AddColor("hiliteforecolor", XRGB(0, 0, 0, 255));
    block.AddString("style", "simpleframe");
    block.AddBool("defaultFocus", true);
    block.AddPointer("font", GetFont());
    if (timecode)
        block.AddString("timeformat", "SMPTE");
    editor->ReadAttributes(block);
}

void XListView::EndCellEdit()
{
    editingColumn = -1;
    if (cellEditor != nullptr)
        cellEditor->Hide();
    GetContainer()->FocusChanged(true);
}

void XListView::SetParam(XParam* param)
{
    if (param == boundParam)
        return;
    if (boundParam != nullptr && boundParam != GetShowParam())
        boundParam->RemoveWatcher(this);
    boundParam = param;
    if (param != nullptr)
        param->AddWatcher(this, 0, false);
}

void XListView::UpdateScrollBars()
{
    XListContainer* container = GetContainer();
    if (header == nullptr || container == nullptr)
        return;
    const int64_t rowAreaHeight = GetHeight() - GetHeaderHeightInUse();
    if (rowAreaHeight < int64_t{container->GetPitch()} * container->GetRowCount())
    {
        if (verticalScrollBar == nullptr)
        {
            const XRect bounds = GetBounds();
            XMessage block;
            block.AddBool("buttons", true);
            block.AddRect("frame", XRect(bounds.right - scrollBarWidth, bounds.bottom - scrollBarWidth,
                                         bounds.right, bounds.bottom));
            block.AddBool("horizontal", false);
            verticalScrollBar = new XScaler();
            verticalScrollBar->ReadAttributes(block);
            AddChild(verticalScrollBar);
            verticalScrollBar->AddTarget(container);
        }
        else if (!verticalScrollBar->IsVisible())
        {
            verticalScrollBar->Show();
        }
    }
    else if (verticalScrollBar != nullptr && verticalScrollBar->IsVisible())
    {
        verticalScrollBar->ScrollToStart();
        verticalScrollBar->Hide();
    }

    if (horizontalScrollBar == nullptr)
        return;
    if (GetWidth() < container->GetTotalColumnWidth())
    {
        if (!horizontalScrollBar->IsVisible())
            horizontalScrollBar->Show();
    }
    else if (horizontalScrollBar->IsVisible())
    {
        if (auto* scaler = dynamic_cast<XScaler*>(horizontalScrollBar))
            scaler->ScrollToStart();
        horizontalScrollBar->Hide();
    }
}

void XListView::Layout()
{
    XListContainer* container = GetContainer();
    if (header == nullptr || container == nullptr)
        return;
    UpdateScrollBars();
    XRect content = GetBounds();
    if (drawFrame && !content.IsEmpty())
        content = XRect(content.left + kFrameInset, content.top + kFrameInset, content.right - kFrameInset,
                        content.bottom - kFrameInset);
    const bool vertical = verticalScrollBar != nullptr && verticalScrollBar->IsVisible();
    const bool horizontal = horizontalScrollBar != nullptr && horizontalScrollBar->IsVisible();
    const int32_t right = content.right;
    const int32_t bottom = content.bottom;
    if (horizontal)
    {
        const int32_t barHeight = horizontalScrollBar->GetHeight();
        content.bottom -= barHeight;
        horizontalScrollBar->SetFrame(XRect(content.left, bottom - barHeight, right, bottom));
    }
    if (vertical)
    {
        content.right -= scrollBarWidth;
        verticalScrollBar->SetFrame(XRect(right - scrollBarWidth, content.top, right, content.bottom));
    }
    if (XFont* font = GetFont())
        container->SetRowHeight(std::max(container->GetRowHeight(), static_cast<int32_t>(font->GetHeight())));
    header->Place(content, GetHeaderHeightInUse());
}

XClassPropertyTable* XListView::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XListView", XView::GetClassPropertyTable());
    return table;
}

// XView ------------------------------------------------------------------------------------------

void XListView::ApplyStyle()
{
    XView::ApplyStyle();
    Layout();
}

void XListView::Show()
{
    XView::Show();
    Layout();
    GetContainer()->Sort();
}

void XListView::SetFrame(const XRect& frame)
{
    XView::SetFrame(frame);
    Layout();
}

void XListView::SizeChanged(int32_t dw, int32_t dh)
{
    XView::SizeChanged(dw, dh);
    Layout();
}

void XListView::Draw(XCanvas& canvas)
{
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawListBackground(canvas, GetBounds());
}

bool XListView::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    // A key from the header or the rows was offered to the rows on its way up.
    XView* focus = GetWindow()->GetFocusView();
    if (focus != nullptr && (focus == header || header->isParentOf(focus)))
        return false;
    return GetContainer()->HandleKeyFromAbove(keyCode, modifiers);
}

bool XListView::MouseWheel(const XPoint& point, int32_t steps)
{
    return GetContainer()->MouseWheel(point, steps);
}

void XListView::FocusChanged(bool focused)
{
    XView::FocusChanged(focused);
    Invalidate();
}

bool XListView::HasKeyFocus()
{
    return XView::HasKeyFocus() || (header != nullptr && header->HasKeyFocus());
}

void XListView::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    XListContainer* container = GetContainer();

    for (const juce::String& word : DescriptionItems::StyleWords(block))
    {
        if (word.equalsIgnoreCase("noheader"))
            noHeader = true;
        else if (word.equalsIgnoreCase("attachbottomright"))
        {
            attachBottomRight = true;
            SetResizeMask(kAttachBottomRightMask);
        }
        else if (word.equalsIgnoreCase("drawdividers"))
            container->SetDrawDividers(true);
        else if (word.equalsIgnoreCase("nosort"))
            container->SetSortable(false);
        else if (word.equalsIgnoreCase("drawframe"))
            drawFrame = true;
        else if (word.equalsIgnoreCase("toggleselections"))
            container->SetToggleSelections(true);
        // "noscrollbarimages", "forceHorizScrollBar" and other words change nothing.
    }

    const char* text = nullptr;
    for (int32_t index = 0; block.FindString("insertcolumn", text, index) == 0; ++index)
        ReadColumn(XString(text));
    for (int32_t index = 0; block.FindString("addrow", text, index) == 0; ++index)
        ReadRow(XString(text));

    int32_t number = 0;
    if (block.FindInt32("sortColumn", number) == 0)
        if (const XListColumn* column = container->GetColumnAt(number))
            container->SetSortColumn(column->GetIdentifier());
    if (block.FindInt32("rowHeight", number) == 0 && number > 0)
        container->SetRowHeight(number);

    XRGB colour = header->GetBackColor();
    if (DescriptionItems::FindColour(block, "color1", colour))
        header->SetBackColor(colour);
    colour = header->GetForeColor();
    if (DescriptionItems::FindColour(block, "color2", colour))
        header->SetForeColor(colour);
    // "color3" is accepted and changes nothing.

    if (block.FindString("headerfont", text) == 0)
        ReadHeaderFont(XString(text));
    else
        header->SetFont(GetFont());
    if (block.FindInt32("headerHeight", number) == 0)
        headerHeight = number;

    container->SetBackColor(GetBackColor());
    container->SetForeColor(GetForeColor());
    container->SetFont(GetFont());
    for (int32_t index = 0; index < container->GetColumnCount(); ++index)
    {
        XListColumn* column = container->GetColumn(index);
        column->SetBackColor(GetBackColor());
        column->SetForeColor(GetForeColor());
    }
    Layout();
}

void XListView::ReadColumn(const XString& text)
{
    const std::string value(text.CStr());
    const std::vector<std::string> fields = CommaFields(value);
    const std::string title = fields[0];
    const int32_t width = fields.size() > 1 ? LeadingInteger(fields[1], 0) : 0;
    const juce::String justificationWord =
        fields.size() > 2 ? juce::String(fields[2]).trim().toLowerCase() : juce::String();
    const uint8_t justification = justificationWord == "center"  ? kJustifyCentred
                                  : justificationWord == "right" ? kJustifyRight
                                                                 : kJustifyLeft;
    std::string key;
    if (fields.size() > 3)
    {
        size_t start = 0;
        for (int comma = 0; comma < 3; ++comma)
            start = value.find(',', start) + 1;
        key = value.substr(start);
    }
    if (key.empty())
        key = title;
    InsertColumn(XString(title.c_str()), width, justification, -1, GetColumnIdForKey(XString(key.c_str())));
}

void XListView::ReadRow(const XString& text)
{
    auto row = std::make_unique<XListStringRow>(XListRow::kNoIdentifier);
    AddRow(row.get(), false);
    for (const std::string& cell : CommaFields(text.CStr()))
    {
        if (cell.empty())
            break;
        row->AddCell(cell.c_str(), 0);
    }
    ownedRows.push_back(std::move(row));
}

void XListView::ReadHeaderFont(const XString& text)
{
    const std::vector<std::string> fields = CommaFields(text.CStr());
    const auto flag = [&fields](size_t index)
    { return fields.size() > index && IsInteger(fields[index]) && LeadingInteger(fields[index], 0) != 0; };
    const int32_t size =
        fields.size() > 1 && IsInteger(fields[1]) ? LeadingInteger(fields[1], 0) : kDefaultHeaderFontSize;
    XFont* font = XFont::GetFont(XString(fields[0].c_str()), size, flag(2), flag(3), flag(4));
    header->SetFont(font != nullptr ? font : GetFont());
}

void XListView::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == kTextCommittedMessage)
    {
        void* source = nullptr;
        if (cellEditor != nullptr && message.FindPointer("texteditview", source) == 0 &&
            source == static_cast<void*>(cellEditor))
        {
            EndCellEdit();
            return;
        }
    }
    XView::MessageReceived(message);
}

void XListView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && param == boundParam && code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
        boundParam = nullptr;
    XView::ParamChanged(code, param, key);
}

// ITextListView ----------------------------------------------------------------------------------

void XListView::ClearTextRows()
{
    RemoveAllRows();
    ownedRows.clear();
}

void XListView::AddTextRow(const XString& text)
{
    auto row = std::make_unique<XListStringRow>(XListRow::kNoIdentifier);
    row->AddCell(text.CStr(), 0);
    AddRow(row.get(), true);
    ownedRows.push_back(std::move(row));
}

void XListView::SelectTextRow(int32_t index)
{
    if (GetRowAt(index) != nullptr)
        SelectRow(index, true);
    else
        SelectRange(kNoSelection, kNoSelection, true);
}
