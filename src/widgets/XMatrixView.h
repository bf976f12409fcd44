#pragma once

#include "core/XRGB.h"
#include "core/XRect.h"
#include "gui/XView.h"

#include <cstdint>

class IMatrixSource;

/** A grid of text cells (type word "matrix") with an optional row-header column on the left and
    column-header row on top. The view sizes itself from its cell counts and cell sizes (a size of 0
    divides the room left by the headers evenly) and reports presses and clicks on cells to its data
    source (IMatrixSource), which also gives the texts and header colours. Without a source the grid
    is drawn without texts and presses go to the parent view.

    The source is not owned. GUI thread only. */
class XMatrixView : public XView
{
public:
    static constexpr XRGB kDefaultHighlightColour{255, 255, 0, 255};
    /** Headers without a colour of the source: the canvas back colour at this brightness (%). */
    static constexpr double kHeaderBrightnessPercent = 115.0;

    XMatrixView();

    void SetSource(IMatrixSource* newSource) { source = newSource; }
    IMatrixSource* GetSource() const { return source; }

    /** Each stores the value, updates the layout and repaints the parent (else the view). */
    void SetNumRows(int32_t rows);
    void SetNumCols(int32_t cols);
    void SetRowHeight(int32_t height);
    void SetColWidth(int32_t width);
    int32_t GetNumRows() const { return numRows; }
    int32_t GetNumCols() const { return numCols; }
    int32_t GetRowHeaderWidth() const { return rowHeaderWidth; }
    int32_t GetColHeaderHeight() const { return colHeaderHeight; }

    /** The row height and column width: the stored ones when above 0, else the room left by the
        headers divided evenly (0 without rows or columns). */
    void GetCellSize(int32_t& height, int32_t& width) const;
    /** A cell; column -1 is the row's header, row -1 the column's header. Empty when both are
        negative or either lies beyond its count. */
    XRect GetCellRect(int32_t column, int32_t row) const;
    /** Keeps left and top and sizes the frame to the headers and cells. */
    void UpdateLayout();

    /** Frames the cell in the highlight colour while shown. */
    void SetHighlight(bool shown, int32_t column, int32_t row);
    void SetHighlightColour(const XRGB& colour) { highlightColour = colour; }

    // XView ---------------------------------------------------------------------------------------

    /** The style's adjustment; the view becomes transparent and is laid out. */
    void ApplyStyle() override;
    /** The view's keys, then "numRows", "numCols", "rowHeight", "colWidth", "rowHeaderWidth" and
        "colHeaderHeight". */
    void ReadAttributes(XMessage& block) override;
    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    /** A press on a cell goes to the source; any other to the view. */
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool Click(const XPoint& point) override;

private:
    /** Tells the source of a press on a cell; false when the point is on no cell or there is no
        source. */
    bool ReportCell(const XPoint& point, bool isClick);
    /** Stores the value, updates the layout and repaints the parent when there is one, else the view. */
    void StoreAndLayOut(int32_t& field, int32_t value);
    /** The header colour of the source, else the canvas back colour brightened. */
    XRGB HeaderColour(bool columnHeader, const XCanvas& canvas);
    void DrawCellText(XCanvas& canvas, XRect rect, const XString& text);

    IMatrixSource* source = nullptr;
    int32_t numRows = 0;
    int32_t numCols = 0;
    int32_t rowHeaderWidth = 0;
    int32_t colHeaderHeight = 0;
    int32_t rowHeight = 0;
    int32_t colWidth = 0;
    bool highlightShown = false;
    int32_t highlightedRow = 0;
    int32_t highlightedColumn = 0;
    XRGB highlightColour = kDefaultHighlightColour;
};
