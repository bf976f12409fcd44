#pragma once

#include "core/ObjectArray.h"
#include "core/XPoint.h"
#include "core/XRect.h"
#include "gui/IScalerTarget.h"
#include "gui/XViewPort.h"

#include <cstdint>

class XPanelView;
class XScaler;

/** A scrolling stack of collapsible panels (type word "PanelContainer"): the panels sit one after
    another, top to bottom (or left to right with the style word "horizontal"), in an inner view
    port that a scaler along the side (or the bottom) scrolls. When a panel opens or closes the
    following ones move up or down so the stack stays packed; dragging a panel by its title strip
    moves it to another place in the stack.

    Panels added to the container (AddChild, as descriptions do, or AddPanel) go into the inner
    view port, which owns them as child views; the container's panel list does not own them. The
    container owns its view port and scaler as child views and is the scaler's target. With
    "hideMaxScrollbar" the scaler shows only while the panels do not fit. GUI thread only. */
class XPanelContainerView : public XViewPort, public IScalerTarget
{
public:
    static constexpr int32_t kScrollBarSize = 20;
    /** Pixels moved by one wheel or arrow step. */
    static constexpr int32_t kScrollStep = 15;
    /** Resize masks of the parts and of the panels. */
    static constexpr uint32_t kPortResizeMask = 15;
    static constexpr uint32_t kHorizontalScalerResizeMask = 11;
    static constexpr uint32_t kVerticalScalerResizeMask = 14;
    static constexpr uint32_t kHorizontalPanelResizeMask = 12;
    static constexpr uint32_t kVerticalPanelResizeMask = 3;

    XPanelContainerView();
    /** The panels and the scaler forget the container before its children go. */
    ~XPanelContainerView() override;

    /** Registers the type words "PanelContainer" and "panel" (XView::RegisterViewClass). */
    static void RegisterViewTypes();

    // Panels --------------------------------------------------------------------------------------

    /** Takes the panel into the stack after the last one; with relayout the extent is brought up
        to date. A panel already in the stack is left alone. */
    void AddPanel(XPanelView* panel, bool relayout);
    /** A panel of the stack changed its size: the stack is packed again and repainted. */
    void PanelResized(XPanelView* panel);
    /** Takes the panel out of the stack and reinserts it next to before (after it when it came from
        an earlier place, else at its place; first when before is not in the stack); then lays the
        stack out again from its start. */
    void MovePanel(XPanelView* panel, XPanelView* before);
    /** Remembers the panel being dragged, where it was grabbed (its offset along the stack from the
        panel's start) and its frame. */
    void BeginDrag(XPanelView* panel, int32_t value);
    /** Ends the drag of the remembered panel: it moves before or after the panel it was dropped on;
        dropped on itself or outside every panel it goes back to its place. */
    void DropPanel(XPanelView* panel);
    /** A panel that is being deleted leaves the stack. */
    void ForgetPanel(XPanelView* panel);
    /** Null outside 0..count - 1. */
    XPanelView* GetPanel(int32_t index) const;
    int32_t CountPanels() const { return panels.GetCount(); }
    XPanelView* GetDraggedPanel() const { return draggedPanel; }
    /** A point of the panel in the container's coordinates. */
    XPoint FromPanelPoint(const XPanelView& panel, const XPoint& point) const;

    /** The extent is the sum of the panels' sizes along the stack; then the scaler's visibility. */
    void UpdateExtent();
    /** Every panel after the first starts where the previous one ends (a dragged panel keeps
        following the pointer; its place is kept for the drop). */
    void Restack();
    /** With hideMaxScrollbar only: shows the scaler while the panels do not fit, and lets the view
        port take the scaler's place while it is hidden. */
    void UpdateScrollerVisibility();

    // Scrolling -----------------------------------------------------------------------------------

    /** The scroll position (0 or more) along the stack. The axis arguments below are the scaler's
        or the panel's, and the stack scrolls along its own axis whatever they say. */
    int32_t GetScrollPosition() const;
    /** Scrolls to value, kept within 0..extent - view size (0 while everything fits). */
    void SetScrollPosition(int32_t value, bool horizontal);
    /** Moves by kScrollStep towards the start (backwards) or the end, within the same range. */
    void ScrollStep(bool backwards, bool horizontal);

    int32_t GetExtent() const { return extent; }
    bool IsHorizontal() const { return horizontal; }
    bool UsesScalerImages() const { return useScalerImages; }
    bool HidesMaxScrollbar() const { return hideMaxScrollbar; }
    XScaler* GetScaler() const { return scaler; }
    XViewPort* GetPanelPort() const { return port; }

    // IScalerTarget: pixels along the stack ------------------------------------------------------

    double GetRangeStart(bool horizontal) override;
    double GetRangeEnd(bool horizontal) override;
    /** The extent, at least the view size. */
    double GetContentLength(bool horizontal) override;
    bool HasOverview(bool) override { return false; }
    void DrawOverview(XCanvas&, const XRect&, const XRect&, const XRect&, bool) override {}
    /** The panels are not zoomed: scrolls to start. */
    void SetRange(double start, double end, bool horizontal) override;
    void SetRangeStart(double start, bool horizontal) override;
    void Step(int flag, bool horizontal) override;
    bool CanZoom(bool) override { return false; }

    // XView -----------------------------------------------------------------------------------------

    /** The view's keys, then "style" "horizontal", "useScalerImages" and "hideMaxScrollbar". */
    void ReadAttributes(XMessage& block) override;
    /** The view's behaviour; the scaler and the view port are made once; then UpdateExtent. */
    void ApplyStyle() override;
    void Draw(XCanvas& canvas) override;
    void Show() override;
    /** The parts follow the new size first; then UpdateExtent, and the scaler goes back to the
        start when everything fits. */
    void SizeChanged(int32_t dw, int32_t dh) override;
    /** A panel goes into the stack (AddPanel); the container's own parts and other views are added
        as they are. */
    void AddChild(XView* child) override;
    using XViewPort::AddChild;
    /** While a panel is dragged: the panel follows the pointer (container coordinates). */
    bool MouseMoved(const XPoint& point, int32_t button) override;
    /** One scroll step per call, backwards for a positive step count. */
    bool MouseWheel(const XPoint& point, int32_t steps) override;

private:
    /** The view port's size along the stack. */
    int32_t GetViewSize() const;
    /** The start (left or top) of a frame along the stack, and its end and length. */
    int32_t StartOf(const XRect& frame) const { return horizontal ? frame.left : frame.top; }
    int32_t EndOf(const XRect& frame) const { return horizontal ? frame.right : frame.bottom; }
    int32_t LengthOf(const XRect& frame) const { return EndOf(frame) - StartOf(frame); }
    /** The frame moved along the stack so that it starts at start, its size kept. */
    XRect MovedAlong(const XRect& frame, int32_t start) const;
    /** Makes the scaler and the view port (once), and moves listed panels into the port. */
    void MakeParts();
    /** The panel under position (view port coordinates) other than the dragged one whose second
        half holds it; null when none. */
    XPanelView* FindDropTarget(int32_t position) const;
    /** Where the first panel starts (where it was grabbed while it is dragged). */
    int32_t GetStackStart() const;
    /** Lays every panel out one after another from start; the dragged panel stays under the
        pointer and only its place in the stack (dragFrame) moves. */
    void LayoutFrom(int32_t start);
    /** Resets the scaler to its start when everything fits, and repaints it. */
    void RefreshScaler();

    XPanelView* draggedPanel = nullptr;
    XRect dragFrame;
    int32_t dragValue = 0;
    /** The pointer along the stack during a drag, in view port coordinates. */
    int32_t dragPosition = 0;
    ObjectArray<XPanelView> panels; // not owning: the panels are child views of the port
    bool horizontal = false;
    int32_t extent = 0;
    XScaler* scaler = nullptr; // child view
    XViewPort* port = nullptr; // child view
    bool useScalerImages = true;
    bool hideMaxScrollbar = false;
    int32_t scrollBarSize = kScrollBarSize;
};
