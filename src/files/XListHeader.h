#pragma once

#include "gui/IScalerTarget.h"
#include "gui/XViewPort.h"

#include <cstdint>

class XListContainer;
class XListView;

/** The header line of a list view ("header_view") and the view port that holds the list's row area
    (XListContainer, its child, placed under the line). It draws the column titles; a press within
    kEdgeZone pixels of a column's right edge resizes that column, a press elsewhere on the line
    drags the column to a new place or, released without moving, sorts by it. As the list's
    horizontal scroll target (IScalerTarget) it scrolls the line and the rows together across
    max(its width, the columns' width), kStepSize pixels a step; vertical requests answer 0 and
    change nothing. Owned by the list through the view tree. GUI thread. */
class XListHeader final : public XViewPort, public IScalerTarget
{
public:
    static constexpr int32_t kDefaultHeight = 20;
    static constexpr int32_t kStepSize = 10;
    /** A press this close to a column's right edge resizes the column. */
    static constexpr int32_t kEdgeZone = 4;
    /** The narrowest column and the room a resized column leaves at the header's right end. */
    static constexpr int32_t kMinColumnWidth = 3;
    static constexpr int32_t kRightEndGap = 3;
    static constexpr uint32_t kResizeMask = 5;
    static constexpr uint8_t kGhostOpacity = 150;
    static constexpr const char* kName = "header_view";

    XListHeader(XListView* owner, uint32_t containerFlags);
    ~XListHeader() override;

    XListContainer* GetContainer() const { return container; }
    XListView* GetOwner() const { return owner; }
    /** The height of the header line (0 without one). */
    int32_t GetHeightInUse() const { return heightInUse; }
    /** Takes the frame and the line's height and places the row area under the line. */
    void Place(const XRect& frame, int32_t lineHeight);
    /** The columns' total width or the header's width, whichever is larger. */
    int32_t GetContentWidth() const;
    /** How far header and rows are scrolled to the left, 0..GetMaxScrollOffset. */
    int32_t GetScrollOffset() const { return -GetScrollPosition().x; }
    /** The content width less the visible width, not below 0. */
    int32_t GetMaxScrollOffset() const;
    /** The display position of the column being resized or pressed, -1 for none. */
    int32_t GetResizingColumn() const { return resizingColumn; }
    int32_t GetPressedColumn() const { return pressedColumn; }
    /** The display position of the column whose header cell holds x (header coordinates); -1 when
        none does. */
    int32_t ColumnAtX(int32_t x) const;
    /** The column's left and right edges in header coordinates. */
    XRect GetColumnCell(int32_t position) const;

    // XView --------------------------------------------------------------------------------------

    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    /** The left-right resize cursor near a column's right edge on the line, else the normal one. */
    int32_t GetCursorTool(const XPoint& point) override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    void mouseDown(const juce::MouseEvent& event) override;
    void FocusChanged(bool focused) override;
    bool HasKeyFocus() override;
    /** The row area keeps its place under the line. */
    void SizeChanged(int32_t dw, int32_t dh) override;

    // IScalerTarget (horizontal) -----------------------------------------------------------------

    double GetRangeStart(bool horizontal) override;
    double GetRangeEnd(bool horizontal) override;
    double GetContentLength(bool horizontal) override;
    bool HasOverview(bool) override { return false; }
    void DrawOverview(XCanvas&, const XRect&, const XRect&, const XRect&, bool) override {}
    void SetRange(double start, double end, bool horizontal) override;
    void SetRangeStart(double start, bool horizontal) override;
    void Step(int flag, bool horizontal) override;
    bool CanZoom(bool) override { return false; }

private:
    /** Scrolls header and rows so that offset pixels are hidden on the left. */
    void ScrollToOffset(int32_t offset);
    /** Places the row area under the line, across the scrolled content. */
    void PlaceContainer();
    void ResizeTo(const XPoint& point);
    void DragTo(const XPoint& point);
    void ResetPress();

    XListView* owner;
    XListContainer* container; // a child view
    int32_t resizingColumn = -1;
    int32_t pressedColumn = -1;
    int32_t dragOffset = -1;
    XRect ghost;
    XPoint lastPoint;
    int32_t heightInUse = kDefaultHeight;
    bool pressed = false;
    bool clamped = false;
    bool clampedRight = false;
    bool moved = false;
};
