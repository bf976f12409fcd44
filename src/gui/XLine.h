#pragma once

#include "core/XPoint.h"
#include "gui/XView.h"

/** One line of width 1 in the fore colour between two points (type word "line"). The description
    gives the points in the parent's coordinates ("location" twice); the frame becomes their
    bounding box, never empty, and the points are kept in the view's coordinates. GUI thread only. */
class XLine : public XView
{
public:
    XLine();

    XPoint GetStart() const { return start; }
    XPoint GetEnd() const { return end; }

    /** The view's keys, then the two "location" points. */
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;

private:
    XPoint start;
    XPoint end;
};
