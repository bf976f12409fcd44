#pragma once

#include "core/XRect.h"

class XCanvas;

/** A view that an XScaler scrolls and zooms: it reports which range of its content is visible and
    how long the content is, in its own units, and moves or stretches that range when asked. Every
    operation takes the scaler's axis (true for a horizontal scaler). A target must stay alive while
    a scaler holds it, or be released from it first. GUI thread only. */
class IScalerTarget
{
public:
    /** The flags that XScaler passes to Step. */
    static constexpr int kStepTowardsEnd = 0;
    static constexpr int kStepTowardsStart = 1;

    virtual ~IScalerTarget() = default;

    virtual double GetRangeStart(bool horizontal) = 0;
    virtual double GetRangeEnd(bool horizontal) = 0;
    virtual double GetContentLength(bool horizontal) = 0;
    /** True when the target draws an overview of its content into the scaler. */
    virtual bool HasOverview(bool horizontal) = 0;
    /** Draws the overview into area of the scaler's canvas; thumb and track in the same coordinates. */
    virtual void DrawOverview(XCanvas& canvas, const XRect& area, const XRect& thumb, const XRect& track,
                              bool horizontal) = 0;
    /** Shows the range start..end. */
    virtual void SetRange(double start, double end, bool horizontal) = 0;
    /** Scrolls so that the visible range starts at start. */
    virtual void SetRangeStart(double start, bool horizontal) = 0;
    /** One arrow or wheel step: kStepTowardsEnd or kStepTowardsStart. */
    virtual void Step(int flag, bool horizontal) = 0;
    /** True when the range can be stretched (zoomed). */
    virtual bool CanZoom(bool horizontal) = 0;
    /** A gesture of the scaler starts or ends; nothing by default. */
    virtual void BeginScaling(bool horizontal) {}
    virtual void EndScaling(bool horizontal) {}
};
