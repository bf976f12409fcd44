#pragma once

#include "gui/IStyledListRow.h"

#include <cstdint>

class XCanvas;
class XImage;
class XRect;
class XStyle;
class XString;
class XView;

/** One row of a list view: it gives the list its height, its cells' texts and kinds, a comparison
    with another row for sorting, and draws its cells through the style. Rows are never owned by the
    list that shows them: whoever makes a row deletes it after taking it out of the list. The list
    sets the selected state. GUI thread. */
class XListRow : public IStyledListRow
{
public:
    /** The identifier of rows made from a description. */
    static constexpr int32_t kNoIdentifier = -1;
    /** The height of a separator row and of a row asked without a view. */
    static constexpr int32_t kSeparatorHeight = 5;

    explicit XListRow(int32_t identifier) : identifier(identifier) {}
    ~XListRow() override = default;

    int32_t GetIdentifier() const { return identifier; }
    bool IsSelected() const { return selected; }
    /** Flips each time the selected state changes; the cell drawing gets it. */
    bool GetSelectionToggle() const { return selectionToggle; }
    /** Sets the selected state; a change flips the selection toggle. */
    void SetSelected(bool isSelected);

    /** kSeparatorHeight for a separator or without a view (or its font); else the height of the
        view's font. */
    virtual int32_t GetHeight(XView* list) const;
    /** Has the style draw the cell of this row (XStyle::DrawListCell); nothing without a style. */
    virtual void DrawCell(const XRect& rect, XCanvas& canvas, XStyle* style, int32_t column, bool isSelected,
                          bool toggle, bool focused, bool dividers, bool evenRow, bool flag);
    /** -1, 0 or 1: this row before, with or after other when sorting by the column. */
    virtual int16_t Compare(XListRow* other, int32_t column) = 0;
    /** Whether a press on the cell is accepted: true. */
    virtual bool MouseDownInCell(XView* columnView, const XRect& cell, int32_t column, int32_t x, int32_t y);
    bool IsSeparator() const override { return false; }
    int32_t GetCellKind(int32_t column) const override { return kCellText; }
    /** "XListRow"; the name tells rows of different classes apart. */
    virtual const char* ClassNameText() const { return "XListRow"; }
    /** The picture of a dragged row: none. */
    virtual XImage* GetDragImage() { return nullptr; }

protected:
    /** -1, 0 or 1 of comparing the column's cell texts of this row and other without regard to
        case. */
    int16_t CompareCellTexts(const XListRow& other, int32_t column) const;

private:
    bool selected = false;
    bool selectionToggle = false;
    int32_t identifier;
};
