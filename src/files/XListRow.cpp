#include "files/XListRow.h"

#include "core/XString.h"
#include "gui/XFont.h"
#include "gui/XStyle.h"
#include "gui/XView.h"

void XListRow::SetSelected(bool isSelected)
{
    if (selected == isSelected)
        return;
    selected = isSelected;
    selectionToggle = !selectionToggle;
}

int32_t XListRow::GetHeight(XView* list) const
{
    if (IsSeparator() || list == nullptr || list->GetFont() == nullptr)
        return kSeparatorHeight;
    return list->GetFont()->GetHeight();
}

void XListRow::DrawCell(const XRect& rect, XCanvas& canvas, XStyle* style, int32_t column, bool isSelected,
                        bool toggle, bool focused, bool dividers, bool evenRow, bool flag)
{
    if (style != nullptr)
        style->DrawListCell(this, rect, canvas, column, isSelected, toggle, focused, dividers, evenRow, flag);
}

bool XListRow::MouseDownInCell(XView* columnView, const XRect& cell, int32_t column, int32_t x, int32_t y)
{
    return true;
}

int16_t XListRow::CompareCellTexts(const XListRow& other, int32_t column) const
{
    XString mine;
    XString theirs;
    GetCellText(column, mine);
    other.GetCellText(column, theirs);
    const int order = mine.CompareWithCase(theirs.CStr(), false);
    return static_cast<int16_t>(order < 0 ? -1 : (order > 0 ? 1 : 0));
}
