#include "files/XListStringRow.h"

void XListStringRow::AddCell(const char* text, int32_t data)
{
    cells.Add(text != nullptr ? text : "");
    cellData.SetAt(cells.GetCount() - 1, data);
}

void XListStringRow::SetCell(int32_t index, const char* text, int32_t data)
{
    if (index < 0)
        return;
    if (index >= cells.GetCount())
    {
        AddCell(text, data);
        return;
    }
    cells.SetAt(index, XString(text));
    cellData.SetAt(index, data);
}

void XListStringRow::RemoveAllCells()
{
    cells.RemoveAll();
    cellData.Clear();
}

void XListStringRow::GetCellText(int32_t column, XString& out) const
{
    out = column >= 0 && column < cells.GetCount() ? cells.GetAt(column) : XString();
}

int32_t XListStringRow::GetCellKind(int32_t column) const
{
    return column >= 0 && column < cells.GetCount() ? cellData.GetAt(column) : 0;
}

int16_t XListStringRow::Compare(XListRow* other, int32_t column)
{
    return other != nullptr ? CompareCellTexts(*other, column) : 0;
}
