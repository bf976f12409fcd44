#include "widgets/XMatrixView.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"
#include "widgets/IMatrixSource.h"

#include <cstdlib>

XMatrixView::XMatrixView() = default;

// Layout ------------------------------------------------------------------------------------------------

void XMatrixView::GetCellSize(int32_t& height, int32_t& width) const
{
    height =
        rowHeight > 0 ? rowHeight : (numRows == 0 ? 0 : std::abs((GetHeight() - colHeaderHeight) / numRows));
    width = colWidth > 0 ? colWidth : (numCols == 0 ? 0 : std::abs((GetWidth() - rowHeaderWidth) / numCols));
}

XRect XMatrixView::GetCellRect(int32_t column, int32_t row) const
{
    if ((column < 0 && row < 0) || column < -1 || row < -1 || column >= numCols || row >= numRows)
        return XRect();
    int32_t height = 0;
    int32_t width = 0;
    GetCellSize(height, width);
    if (column == -1)
        return XRect(1, colHeaderHeight + row * height + 1, rowHeaderWidth - 1,
                     colHeaderHeight + (row + 1) * height - 1);
    const int32_t x = rowHeaderWidth + column * width;
    if (row == -1)
        return XRect(x + 1, 1, x + width - 1, colHeaderHeight - 1);
    const int32_t top = colHeaderHeight + row * height;
    return XRect(x, top, x + width, top + height);
}

void XMatrixView::UpdateLayout()
{
    int32_t height = 0;
    int32_t width = 0;
    GetCellSize(height, width);
    const XRect old = GetFrame();
    const XRect laidOut(old.left, old.top, old.left + rowHeaderWidth + numCols * width,
                        old.top + colHeaderHeight + numRows * height);
    if (laidOut == old)
        return;
    if (XView* parent = GetParentView())
        parent->RepaintRect(old);
    else
        Invalidate();
    SetFrame(laidOut);
}

void XMatrixView::StoreAndLayOut(int32_t& field, int32_t value)
{
    field = value;
    UpdateLayout();
    if (XView* parent = GetParentView())
        parent->Invalidate();
    else
        Invalidate();
}

void XMatrixView::SetNumRows(int32_t rows)
{
    StoreAndLayOut(numRows, rows);
}

void XMatrixView::SetNumCols(int32_t cols)
{
    StoreAndLayOut(numCols, cols);
}

void XMatrixView::SetRowHeight(int32_t height)
{
    StoreAndLayOut(rowHeight, height);
}

void XMatrixView::SetColWidth(int32_t width)
{
    StoreAndLayOut(colWidth, width);
}

void XMatrixView::SetHighlight(bool shown, int32_t column, int32_t row)
{
    highlightShown = shown;
    highlightedColumn = column;
    highlightedRow = row;
    Invalidate();
}

void XMatrixView::ApplyStyle()
{
    XView::ApplyStyle();
    SetTransparent(true);
    UpdateLayout();
}

void XMatrixView::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    int32_t value = 0;
    if (block.FindInt32("numRows", value) == 0)
        SetNumRows(value);
    if (block.FindInt32("numCols", value) == 0)
        SetNumCols(value);
    if (block.FindInt32("rowHeight", value) == 0)
        SetRowHeight(value);
    if (block.FindInt32("colWidth", value) == 0)
        SetColWidth(value);
    const bool hasRowHeader = block.FindInt32("rowHeaderWidth", value) == 0;
    if (hasRowHeader)
        rowHeaderWidth = value;
    const bool hasColumnHeader = block.FindInt32("colHeaderHeight", value) == 0;
    if (hasColumnHeader)
        colHeaderHeight = value;
    if (hasRowHeader || hasColumnHeader)
    {
        UpdateLayout();
        Invalidate();
    }
}

// Mouse -------------------------------------------------------------------------------------------------

bool XMatrixView::ReportCell(const XPoint& point, bool isClick)
{
    if (source == nullptr || point.x < rowHeaderWidth || point.y < colHeaderHeight)
        return false;
    int32_t height = 0;
    int32_t width = 0;
    GetCellSize(height, width);
    // Cells of no size cannot be hit.
    if (height <= 0 || width <= 0)
        return false;
    const int32_t row = (point.y - colHeaderHeight) / height;
    const int32_t column = (point.x - rowHeaderWidth) / width;
    if (row >= numRows || column >= numCols)
        return false;
    XView* window = GetWindow();
    const juce::Point<int> inWindow = window->getLocalPoint(this, juce::Point<int>(point.x, point.y));
    XMessage message;
    message.AddPoint("clickedPos", XPoint(inWindow.x, inWindow.y));
    source->CellClicked(this, column, row, isClick, message);
    return true;
}

bool XMatrixView::MouseDown(const XPoint& point, int32_t button)
{
    return ReportCell(point, false) || XView::MouseDown(point, button);
}

bool XMatrixView::Click(const XPoint& point)
{
    return ReportCell(point, true) || XView::Click(point);
}

// Drawing -----------------------------------------------------------------------------------------------

XRGB XMatrixView::HeaderColour(bool columnHeader, const XCanvas& canvas)
{
    XRGB colour;
    if (source != nullptr && (columnHeader ? source->GetColumnHeaderColour(this, colour)
                                           : source->GetRowHeaderColour(this, colour)))
        return colour;
    colour = canvas.GetBackColor();
    colour.ScaleBrightness(kHeaderBrightnessPercent);
    return colour;
}

void XMatrixView::DrawCellText(XCanvas& canvas, XRect rect, const XString& text)
{
    XFont* font = canvas.GetFont();
    const int32_t fontHeight = font != nullptr ? font->GetHeight() : 0;
    if (fontHeight > 0 && rect.Height() > fontHeight)
    {
        rect.top += (rect.Height() - fontHeight) / 2;
        rect.bottom = rect.top + fontHeight;
    }
    canvas.DrawText(rect, text, XCanvas::kUseCanvasJustification);
}

void XMatrixView::Draw(XCanvas& canvas)
{
    XView::Draw(canvas);
    if (!IsVisible())
        return;
    const XRect bounds = GetBounds();
    PrepareCanvas(canvas);
    canvas.EraseRect(bounds);
    canvas.FillRectColour(XRect(rowHeaderWidth, 0, bounds.right, colHeaderHeight),
                          HeaderColour(true, canvas));
    canvas.FillRectColour(XRect(0, colHeaderHeight, rowHeaderWidth, bounds.bottom),
                          HeaderColour(false, canvas));

    PrepareCanvas(canvas);
    canvas.FrameRect(bounds);
    const XRect inner(bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1);
    canvas.FrameRect(inner);

    int32_t height = 0;
    int32_t width = 0;
    GetCellSize(height, width);
    for (int32_t k = 0; k < numCols; ++k)
    {
        const int32_t x = rowHeaderWidth + k * width;
        canvas.DrawLine(x, inner.top, x, inner.bottom - 1, 1, 1);
    }
    for (int32_t k = 0; k < numRows; ++k)
    {
        const int32_t y = colHeaderHeight + k * height;
        canvas.DrawLine(inner.left, y, inner.right - 1, y, 1, 1);
    }

    if (source != nullptr)
    {
        canvas.SetForeColor(GetTextColor());
        XString text;
        if (colHeaderHeight > 0)
        {
            for (int32_t column = 0; column < numCols; ++column)
            {
                text = XString::Empty();
                source->GetColumnTitle(text, this, column);
                DrawCellText(canvas, GetCellRect(column, -1), text);
            }
        }
        if (rowHeaderWidth > 0)
        {
            for (int32_t row = 0; row < numRows; ++row)
            {
                text = XString::Empty();
                source->GetRowTitle(text, this, row);
                DrawCellText(canvas, GetCellRect(-1, row), text);
            }
        }
        for (int32_t row = 0; row < numRows; ++row)
        {
            for (int32_t column = 0; column < numCols; ++column)
            {
                text = XString::Empty();
                source->GetCellText(text, this, column, row);
                DrawCellText(canvas, GetCellRect(column, row), text);
            }
        }
    }

    if (highlightShown)
    {
        canvas.SetForeColor(highlightColour);
        canvas.FrameRect(GetCellRect(highlightedColumn, highlightedRow));
    }
}
