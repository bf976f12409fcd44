#pragma once

#include "gui/IStyledView.h"

/** What the style reads from a collapsible panel (XStyle::DrawPanel). */
class IStyledPanel : public virtual IStyledView
{
public:
    virtual bool IsOpen() const = 0;
    /** The disclosure box that opens and closes the panel. */
    virtual XRect GetOpenClickRect() const = 0;
};
