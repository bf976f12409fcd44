#pragma once

#include "core/GenericList.h"
#include "core/XPoint.h"
#include "gui/IScalerTarget.h"
#include "gui/IStyledScaler.h"
#include "gui/XControl.h"

#include <cstdint>

class XImage;

/** A scroll-and-zoom bar: its thumb shows which range of a long content its targets show; dragging
    the thumb scrolls them, dragging a thumb edge zooms them (when a target can zoom), pulling across
    the bar zooms in and out, and the optional arrow buttons step them with auto-repeat.

    It lives in the GUI foundation because the scroll pane here and the list views, which sit beside
    the widgets, both build it. It is not a view type word: its owners configure it with a
    description block ("frame", "horizontal", "buttons", "style" "useImages", "hasOverview").

    The targets are not owned; a target must be released (RemoveTarget) before it goes. The first
    target is the one asked for the range. GUI thread only. */
class XScaler : public XControl, public IStyledScaler
{
public:
    /** What a press grabbed. */
    static constexpr int32_t kPartNone = 0;
    static constexpr int32_t kPartStartEdge = 1;
    static constexpr int32_t kPartEndEdge = 2;
    static constexpr int32_t kPartThumb = 3;
    static constexpr int32_t kMinThumbLength = 24;
    /** Half the width of the grab zone round each thumb edge of a zoomable target. */
    static constexpr int32_t kEdgeZone = 5;
    /** The timer that checks the content length, and the arrows' auto-repeat. */
    static constexpr int32_t kContentCheckTimerId = 100;
    static constexpr int32_t kContentCheckPeriodMs = 1000;
    static constexpr int32_t kRepeatTimerId = 101;
    static constexpr int32_t kEndArrowRepeatMs = 50;
    static constexpr int32_t kStartArrowRepeatMs = 100;
    /** The images, by role (kImageNames). */
    static constexpr int kEndArrow = 0;
    static constexpr int kEndArrowHeld = 1;
    static constexpr int kStartArrow = 2;
    static constexpr int kStartArrowHeld = 3;
    static constexpr int kTrackTile = 4;
    static constexpr int kThumbStartCap = 5;
    static constexpr int kThumbEndCap = 6;
    static constexpr int kThumbTile = 7;
    static constexpr int kImageCount = 8;

    XScaler();
    ~XScaler() override;

    /** Appends a target unless it is already there. */
    void AddTarget(IScalerTarget* target);
    void RemoveTarget(IScalerTarget* target);
    int32_t CountTargets() const { return targets.GetCount(); }

    // Own operations ----------------------------------------------------------------------------

    bool IsVertical() const override { return !horizontal; }
    virtual bool IsHorizontal() const { return horizontal; }
    /** Every target's range starts at 0. */
    virtual void ScrollToStart();
    bool HasButtons() const override { return buttons; }
    virtual void SetHasOverview(bool overview) { hasOverview = overview; }
    virtual bool HasOverview() const { return hasOverview; }
    bool UsesImages() const { return useImages; }

    // Geometry (own coordinates) ----------------------------------------------------------------

    XRect GetTrackRect() const override;
    XRect GetThumbRect() const override;
    XRect GetStartArrowRect() const override;
    XRect GetEndArrowRect() const override;
    bool IsStartArrowHeld() const override { return startArrowHeld; }
    bool IsEndArrowHeld() const override { return endArrowHeld; }
    /** The first target's content length per track pixel; 1.0 without a target or track. */
    double GetUnitsPerPixel() const;
    /** The part at the point (kPart...). */
    int32_t HitTest(const XPoint& point) const;
    int32_t GetActivePart() const { return activePart; }

    // XView -------------------------------------------------------------------------------------

    /** The control's, then a check of the content length every second. */
    void ApplyStyle() override;
    /** The control's keys, then "horizontal", "buttons", "style" "useImages" and "hasOverview"; the
        images are loaded for the orientation. */
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    int32_t GetCursorTool(const XPoint& point) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void HandleTimer(int32_t timerId) override;

    /** The skin names of the images for an orientation, by role. */
    static const char* GetImageName(int role, bool horizontalBar);

private:
    /** Loads the eight images when useImages is set; switches it off when one is missing. */
    void LoadImages();
    void DrawWithImages(XCanvas& canvas);
    int32_t Along(const XPoint& point) const { return horizontal ? point.x : point.y; }
    int32_t Across(const XPoint& point) const { return horizontal ? point.y : point.x; }
    int32_t Thickness() const;
    int32_t StartArrowLength() const;
    IScalerTarget* FirstTarget() const;
    /** Runs the operation on every target. */
    template <typename Operation> void ForEachTarget(Operation operation);

    int32_t activePart = kPartNone;
    /** The pointer at the previous event, its along coordinate measured from the track start. */
    XPoint lastPoint;
    bool horizontal = false;
    XList<IScalerTarget> targets;
    bool dragging = false;
    bool pressed = false;
    bool endArrowHeld = false;
    bool startArrowHeld = false;
    double cachedContentLength = 1.0;
    bool buttons = false;
    bool useImages = false;
    XImage* images[kImageCount] = {};
    bool hasOverview = false;
};
