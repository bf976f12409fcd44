#pragma once

#include "core/XPoint.h"
#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>
#include <vector>

/** A splitter bar (type word "sizer"): a thin view between two groups of sibling views, the
    top/left group and the bottom/right group. A bar wider than high is horizontal and moves up and
    down, any other vertical and moves left and right. Dragging it with the left button moves the
    shared edge of both groups, keeping every view of both at least kMinimumSize along the moving
    axis; a drag that would go further sticks until the pointer turns back.

    Descriptions name the groups' views ("addtopleft", "addbottomright"); they are looked up among
    the sizer's siblings when its style is applied, so they must be described before it. The views
    are not owned; one that is deleted drops out of its group. When the parent changes size, the
    groups are fitted to the sizer's edges again once the parent's layout is done. GUI thread only. */
class XSizer : public XView
{
public:
    /** Thickness of a drawn sizer. */
    static constexpr int32_t kThickness = 5;
    static constexpr int32_t kMinimumSize = 10;
    /** Cursor tools (XViewCursors): up-down and left-right resize. */
    static constexpr int16_t kCursorUpDown = 8;
    static constexpr int16_t kCursorLeftRight = 7;

    XSizer();
    ~XSizer() override;

    /** Fits the view to the sizer's top or left edge and adds it to the top/left group (once). */
    void AttachTopLeft(XView* view);
    /** Fits the view to the sizer's bottom or right edge and adds it to the bottom/right group. */
    void AttachBottomRight(XView* view);
    /** The movement d (negative: towards the top or left) cut so that no view of the group it
        shrinks gets smaller than the minimum. */
    int32_t LimitMovement(int32_t delta) const;
    /** Moves the top/left views' far edges and the bottom/right views' near edges by delta (the
        latter by -delta with reverse). */
    void MoveGroups(int32_t delta, bool reverse);
    /** Gives the sizer its thickness across its axis and the cursor of its axis. */
    void FitFrame();

    bool IsHorizontal() const { return horizontal; }
    bool IsDragging() const { return dragging; }
    bool IsStuck() const { return stuck; }
    int32_t CountTopLeftViews() const;
    int32_t CountBottomRightViews() const;

    // XView ---------------------------------------------------------------------------------------

    /** The style's adjustment; the axis from the frame, FitFrame, then the named views are looked
        up among the siblings and attached, and the names forgotten. */
    void ApplyStyle() override;
    /** The view's keys, then "addtopleft" and "addbottomright" (each may repeat) and "draw". */
    void ReadAttributes(XMessage& block) override;
    /** With the draw flag: the bounds in the back colour, inside a 1-pixel edge filled in the fore. */
    void Draw(XCanvas& canvas) override;
    int32_t GetCursorTool(const XPoint& point) override;
    bool WantsMouse() const override { return true; }
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    /** The view's layout by its resize mask, then, unless a drag runs, the groups are fitted to the
        sizer once the parent has laid out every child. */
    void parentSizeChanged() override;

private:
    using ViewGroup = std::vector<juce::Component::SafePointer<XView>>;

    /** The point in screen coordinates. */
    XPoint ToScreen(const XPoint& point) const;
    int32_t Along(const XPoint& point) const { return horizontal ? point.y : point.x; }
    /** Ends the groups' edges at the sizer's edges. */
    void FitGroupsToSizer();
    static void AddOnce(ViewGroup& group, XView* view);
    static int32_t CountLive(const ViewGroup& group);

    ViewGroup topLeftViews;
    ViewGroup bottomRightViews;
    std::vector<XString> topLeftNames;
    std::vector<XString> bottomRightNames;
    XPoint lastPosition{-1, -1};
    int16_t cursorKind = kCursorUpDown;
    bool dragging = false;
    bool horizontal = true;
    bool drawBar = true;
    int32_t minimumSize = kMinimumSize;
    bool stuck = false;
    /** The blocked movement went towards the top or left. */
    bool stuckTowardsTopLeft = false;
    /** Set while a fit after the parent's layout is posted. */
    bool fitPending = false;
};
