#include "widgets/XLCDView.h"

#include "core/XMessage.h"
#include "gui/DescriptionItems.h"
#include "gui/JUCECanvas.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr char kFirstPrintable = 32;
constexpr char kLastPrintable = 126;
const XRGB kNoCanvasColour(255, 0, 0, 255);

} // namespace

XLCDView::XLCDView() = default;

XLCDView::~XLCDView() = default;

// Geometry and fields ---------------------------------------------------------------------------------

bool XLCDView::InRange(int32_t column, int32_t row) const
{
    return row >= 0 && column >= 0 && static_cast<uint32_t>(row) < rows &&
           static_cast<uint32_t>(column) < columns;
}

int32_t XLCDView::FieldIndex(int32_t column, int32_t row) const
{
    const uint32_t perField = fields == 0 ? 0 : columns / fields;
    if (perField == 0)
        return -1;
    // Columns left over when the row does not divide evenly belong to the row's last field, never
    // to the next row's first.
    const uint32_t inRow = std::min(static_cast<uint32_t>(column) / perField, fields - 1);
    return static_cast<int32_t>(static_cast<uint32_t>(row) * fields + inRow);
}

bool XLCDView::IsFieldLit(int32_t field) const
{
    return field >= 0 && litFields.GetAt(field) != 0;
}

bool XLCDView::IsInverted(int32_t row, int32_t column) const
{
    return InRange(column, row) &&
           inverted.IsSet(static_cast<int>(static_cast<uint32_t>(row) * columns + column));
}

int32_t XLCDView::CellHeight() const
{
    XFont* font = canvas != nullptr ? canvas->GetFont() : nullptr;
    return font != nullptr ? font->GetHeight() : kHeightWithoutFont;
}

XRect XLCDView::GetCellRect(int32_t column, int32_t row) const
{
    const int32_t height = CellHeight();
    const int32_t top = topIndent + (height + lineSpacing) * row;
    const float x = std::floor(textWidth * static_cast<float>(column)) + static_cast<float>(leftIndent);
    return XRect(static_cast<int32_t>(x), top, static_cast<int32_t>(x + textWidth) + 1, top + height);
}

// Canvas ----------------------------------------------------------------------------------------------

void XLCDView::SyncCanvas()
{
    PrepareCanvas(*canvas);
}

void XLCDView::UpdateAutomaticWidth()
{
    if (!automaticWidth || canvas == nullptr)
        return;
    const int32_t room = canvas->GetWidth() - leftIndent;
    textWidth = room > 0 && columns > 0 ? static_cast<float>(room) / static_cast<float>(columns) : 0.0f;
}

void XLCDView::BuildCanvas()
{
    const int32_t length = static_cast<int32_t>(rows * columns);
    std::string screen(text.CStr(), static_cast<size_t>(std::min(text.Length(), length)));
    screen.resize(static_cast<size_t>(length), kBlank);
    text = XString(screen.c_str(), length);
    canvas.reset();
    canvas = NewOffscreenCanvas(std::abs(GetWidth()), std::abs(GetHeight()));
    canvas->Reset();
    Redraw();
}

void XLCDView::ApplyStyle()
{
    XView::ApplyStyle();
    BuildCanvas();
}

void XLCDView::SizeChanged(int32_t dw, int32_t dh)
{
    XView::SizeChanged(dw, dh);
    if (canvas != nullptr)
        BuildCanvas();
}

void XLCDView::FontChanged()
{
    XView::FontChanged();
    UpdateAutomaticWidth();
}

// Drawing characters ------------------------------------------------------------------------------------

void XLCDView::DrawChar(char character, int32_t column, int32_t row, bool invalidate, bool brightenField)
{
    if (!InRange(column, row) || canvas == nullptr)
        return;
    SyncCanvas();
    const int32_t pos = row * static_cast<int32_t>(columns) + column;
    if (pos >= text.Length())
        return;
    if (character < kFirstPrintable || character > kLastPrintable)
        character = kBlank;
    text.SetCharAt(pos, character);

    const XRect cell = GetCellRect(column, row);
    if (brightenField && brighten && FieldIndex(column, row) >= 0)
    {
        BrightenField(column, row);
        // The field's other characters were drawn meanwhile, perhaps inverted: set the colours anew.
        SyncCanvas();
        canvas->SetForeColor(litColor);
    }
    if (inverted.IsSet(pos))
    {
        canvas->SetForeColor(GetBackColor());
        canvas->SetBackColor(GetForeColor());
    }
    canvas->EraseRect(cell);
    canvas->DrawText(cell, XString(character), XCanvas::kJustifyCentred);
    if (invalidate)
        Invalidate();
}

void XLCDView::WriteText(const XString& newText, int32_t row, int32_t column)
{
    if (row < 0 || static_cast<uint32_t>(row) >= rows)
        return;
    XString shown = newText;
    if (static_cast<int64_t>(column) + shown.Length() > static_cast<int64_t>(columns))
        shown = shown.Left(std::max<int32_t>(0, static_cast<int32_t>(columns) - column));
    const int32_t length = shown.Length();
    for (int32_t i = 0; i < length; ++i)
        DrawChar(shown.CharAt(static_cast<unsigned>(i)), column + i, row, false, true);
    Invalidate();
}

void XLCDView::ClearRow(int32_t row)
{
    for (uint32_t column = 0; column < columns; ++column)
        DrawChar(kBlank, static_cast<int32_t>(column), row, false, true);
    Invalidate();
}

void XLCDView::ClearAllRows()
{
    for (uint32_t row = 0; row < rows; ++row)
        ClearRow(static_cast<int32_t>(row));
}

void XLCDView::ClearAndRedraw()
{
    ClearAllRows();
    Redraw();
    Invalidate();
}

void XLCDView::SetRowText(const XString& newText, int32_t row)
{
    if (row < 0 || static_cast<uint32_t>(row) >= rows)
        return;
    if (static_cast<uint32_t>(newText.Length()) < columns)
        ClearRow(row);
    WriteText(newText, row, 0);
    Invalidate();
}

void XLCDView::Redraw()
{
    if (canvas == nullptr)
        return;
    SyncCanvas();
    canvas->FillRectColour(XRect(0, 0, canvas->GetWidth(), canvas->GetHeight()), GetBackColor());
    UpdateAutomaticWidth();
    const int32_t perRow = static_cast<int32_t>(columns);
    for (uint32_t row = 0; row < rows; ++row)
        SetRowText(text.Mid(static_cast<int32_t>(row) * perRow, perRow), static_cast<int32_t>(row));
}

void XLCDView::SetInverted(int32_t row, int32_t firstColumn, int32_t count, bool on)
{
    if (row == -1)
    {
        inverted.RemoveAll();
        return;
    }
    if (row < 0 || static_cast<uint32_t>(row) >= rows || firstColumn < 0 || count < 0 ||
        static_cast<int64_t>(firstColumn) + count > static_cast<int64_t>(columns))
        return;
    const int32_t start = row * static_cast<int32_t>(columns) + firstColumn;
    for (int32_t i = 0; i < count; ++i)
        inverted.Set(start + i, on);
    Redraw();
}

// Brightening -------------------------------------------------------------------------------------------

void XLCDView::DrawField(int32_t field, bool brightenField)
{
    const uint32_t perField = fields == 0 ? 0 : columns / fields;
    if (perField == 0 || field < 0)
        return;
    const uint32_t inRow = static_cast<uint32_t>(field) % fields;
    const int32_t row = static_cast<int32_t>(static_cast<uint32_t>(field) / fields);
    const uint32_t first = perField * inRow;
    const uint32_t end = inRow + 1 == fields ? columns : first + perField;
    for (uint32_t column = first; column < end; ++column)
    {
        const uint32_t pos = static_cast<uint32_t>(row) * columns + column;
        DrawChar(text.CharAt(pos), static_cast<int32_t>(column), row, true, brightenField);
    }
}

void XLCDView::BrightenField(int32_t column, int32_t row)
{
    if (!brighten)
        return;
    const int32_t field = FieldIndex(column, row);
    if (field < 0 || IsFieldLit(field))
        return;
    litFields.SetAt(field, 1);
    DrawField(field, true);
    // Setting the timer replaces a pending one of the same id. (A StopTimer first would post a
    // removal for a timer that has already fired, and that removal would take the new one too.)
    StartTimer(kLitTimerBase + field, brightTimeMs, true);
}

void XLCDView::HandleTimer(int32_t timerId)
{
    if (timerId >= kLitTimerBase && timerId <= kLitTimerBase + litFields.GetCount())
    {
        const int32_t field = timerId - kLitTimerBase;
        litFields.SetAt(field, 0);
        if (brighten && fields != 0)
            DrawField(field, false);
    }
    XView::HandleTimer(timerId);
}

// Screen ------------------------------------------------------------------------------------------------

void XLCDView::Draw(XCanvas& screen)
{
    if (!IsVisible())
        return;
    const XRect bounds = GetBounds();
    if (canvas == nullptr)
    {
        screen.FillRectColour(bounds, kNoCanvasColour);
        return;
    }
    screen.DrawCanvas(canvas.get(), bounds, bounds, XCanvas::kRopCopy);
}

// Description and messages ------------------------------------------------------------------------------

void XLCDView::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    int32_t value = 0;
    if (block.FindInt32("numRows", value) == 0 && value >= 0)
    {
        rows = static_cast<uint32_t>(value);
        litFields.Clear();
        for (uint32_t field = 0; field < fields * rows; ++field)
            litFields.Add(0);
    }
    if (block.FindInt32("numCols", value) == 0 && value >= 0)
        columns = static_cast<uint32_t>(value);
    if (block.FindInt32("leftIndent", value) == 0)
        leftIndent = value;
    if (block.FindInt32("topIndent", value) == 0)
        topIndent = value;
    if (block.FindInt32("lineSpacing", value) == 0)
        lineSpacing = value;
    if (block.FindInt32("textWidth", value) == 0)
    {
        textWidth = static_cast<float>(value);
        automaticWidth = false;
    }
    if (block.FindInt32("numFields", value) == 0 && value >= 0)
        fields = static_cast<uint32_t>(value);
    DescriptionItems::FindFlag(block, "brighten", brighten);
    if (block.FindInt32("brightTimeout", value) == 0)
        brightTimeMs = value;
    XRGB colour;
    if (DescriptionItems::FindColour(block, "litColor", colour))
        litColor = colour;
}

void XLCDView::MessageReceived(XMessage& message)
{
    switch (message.GetWhat())
    {
    case kSetCharMessage:
    {
        int32_t wide = 0;
        const char character = message.FindItem("lcd_char", XMessage::kTypeInt8) != nullptr
                                   ? static_cast<char>(message.GetInt8("lcd_char"))
                                   : static_cast<char>(message.FindInt32("lcd_char", wide) == 0 ? wide : 0);
        DrawChar(character, message.GetInt32("col"), message.GetInt32("row"), true, true);
        return;
    }
    case kSetRowMessage:
        SetRowText(message.GetString("lcd_text"), message.GetInt32("row"));
        return;
    case kSetStringMessage:
    {
        const XString newText(message.GetString("lcd_text"));
        const int32_t row = message.GetInt32("row");
        const int32_t column = message.GetInt32("col");
        WriteText(newText, row, column);
        SetInverted(row, column, newText.Length(), message.GetBool("doInvert"));
        return;
    }
    case kSetColumnsMessage:
    {
        // A negative count would make the unsigned column count huge; such a message is ignored.
        const int32_t newColumns = message.GetInt32("numLCDCols");
        if (newColumns >= 0)
        {
            columns = static_cast<uint32_t>(newColumns);
            ClearAndRedraw();
        }
        break;
    }
    case kClearMessage:
        ClearAllRows();
        break;
    case kInvertMessage:
        SetInverted(message.GetInt32("row"), message.GetInt32("startCol"), message.GetInt32("len"),
                    message.GetBool("doInvert"));
        break;
    case kTextWidthMessage:
        textWidth = static_cast<float>(message.GetInt32("textWidth"));
        ClearAndRedraw();
        break;
    default:
        break;
    }
    XView::MessageReceived(message);
}
