#pragma once

#include <cstdint>

class XString;

/** What the style reads from one row of a list to draw its cells (XStyle::DrawListCell); the
    list rows of the file views implement it. */
class IStyledListRow
{
public:
    /** Cell kinds: plain text, or the name of a skin image to draw instead. */
    static constexpr int32_t kCellText = 0;
    static constexpr int32_t kCellImage = 1;
    /** A cell whose text names a small drawn mark (".renderCircle", ".renderArrow"). */
    static constexpr int32_t kCellMark = 2;

    virtual ~IStyledListRow() = default;

    /** True for a separator row, drawn as a line. */
    virtual bool IsSeparator() const = 0;
    /** The cell's text in the column; empty when there is no such cell. */
    virtual void GetCellText(int32_t column, XString& out) const = 0;
    /** The cell's kind in the column (kCellText when there is no such cell). */
    virtual int32_t GetCellKind(int32_t column) const = 0;
};
