#pragma once

#include "core/LongArray.h"
#include "core/XStringArray.h"
#include "files/XListRow.h"

/** A row of text cells in column order, each with one integer that is its cell kind (kCellText, or
    kCellImage for a cell naming a skin image). Made by descriptions ("addrow") and by code. Sorts by
    the column's text without regard to case. GUI thread. */
class XListStringRow : public XListRow
{
public:
    explicit XListStringRow(int32_t identifier) : XListRow(identifier) {}

    /** Appends a cell; a null text counts as "". */
    virtual void AddCell(const char* text, int32_t data);
    /** Replaces cell index (text and data); an index at or past the end appends instead, a negative
        one does nothing; a null text counts as "". */
    virtual void SetCell(int32_t index, const char* text, int32_t data);
    virtual void RemoveAllCells();
    int32_t GetCellCount() const { return cells.GetCount(); }

    /** The cell's text; "" when there is no such cell. */
    void GetCellText(int32_t column, XString& out) const override;
    /** The cell's data; 0 when there is no such cell. */
    int32_t GetCellKind(int32_t column) const override;
    int16_t Compare(XListRow* other, int32_t column) override;
    const char* ClassNameText() const override { return "XListStringRow"; }

private:
    XStringArray cells;
    LongArray cellData; // parallel to cells
};
