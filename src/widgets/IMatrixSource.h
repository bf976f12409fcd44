#pragma once

#include "core/XRGB.h"
#include "core/XString.h"

#include <cstdint>

class XMatrixView;
class XMessage;

/** What an XMatrixView shows and whom it tells of clicks: the texts of its cells and headers, the
    header colours, and the cells pressed. The owner of the matrix implements it and must outlive the
    matrix or detach itself first (XMatrixView::SetSource(nullptr)). GUI thread only. */
class IMatrixSource
{
public:
    virtual ~IMatrixSource() = default;

    virtual void GetCellText(XString& text, XMatrixView* view, int32_t column, int32_t row) = 0;
    virtual void GetColumnTitle(XString& text, XMatrixView* view, int32_t column) = 0;
    virtual void GetRowTitle(XString& text, XMatrixView* view, int32_t row) = 0;
    /** False: the matrix uses its default header colour. */
    virtual bool GetColumnHeaderColour(XMatrixView* view, XRGB& colour) = 0;
    virtual bool GetRowHeaderColour(XMatrixView* view, XRGB& colour) = 0;
    /** A cell was pressed (isClick false) or clicked (true); the message carries the point item
        "clickedPos" in window coordinates. */
    virtual void CellClicked(XMatrixView* view, int32_t column, int32_t row, bool isClick,
                             XMessage& message) = 0;
};
