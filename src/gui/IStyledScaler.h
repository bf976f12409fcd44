#pragma once

#include "gui/IStyledView.h"

/** What the style reads from a scroll-and-zoom bar drawn without images (XStyle::DrawScaler). The
    rectangles are in the scaler's own coordinates; the arrow rectangles are empty without buttons. */
class IStyledScaler : public virtual IStyledView
{
public:
    virtual bool IsVertical() const = 0;
    virtual bool HasButtons() const = 0;
    virtual XRect GetTrackRect() const = 0;
    virtual XRect GetThumbRect() const = 0;
    /** The arrow at the left or top end and the one at the right or bottom end. */
    virtual XRect GetStartArrowRect() const = 0;
    virtual XRect GetEndArrowRect() const = 0;
    /** True while the arrow is held down (it is then drawn flat). */
    virtual bool IsStartArrowHeld() const = 0;
    virtual bool IsEndArrowHeld() const = 0;
};
