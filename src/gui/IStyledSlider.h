#pragma once

#include "gui/IStyledView.h"

class XImage;

/** What the style reads from a linear slider (XStyle::DrawSlider). Images belong to the skin
    resource manager; any of them may be null. */
class IStyledSlider : public virtual IStyledView
{
public:
    virtual XImage* GetTrackImage() const = 0;
    /** The knob as currently shown (its focus or normal picture). */
    virtual XImage* GetKnobImage() const = 0;
    virtual XImage* GetPressedKnobImage() const = 0;
};
