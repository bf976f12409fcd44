#pragma once

#include "gui/IStyledView.h"

/** What the style reads from a rotary pot drawn without images (XStyle::DrawPot). */
class IStyledPot : public virtual IStyledView
{
public:
    /** False when the pointer line is switched off ("noline"). */
    virtual bool DrawsLine() const = 0;
};
