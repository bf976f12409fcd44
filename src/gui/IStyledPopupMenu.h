#pragma once

#include "gui/IStyledView.h"

/** What the style reads from a drop-down chooser drawn without images (XStyle::DrawPopupMenu). */
class IStyledPopupMenu : public virtual IStyledView
{
public:
    /** False when the view hides its value text ("noTitle"). */
    virtual bool IsTitleShown() const = 0;
    /** The text of the current value. */
    virtual XString GetDisplayText() const = 0;
    /** False when the view hides its down arrow ("noarrow"). */
    virtual bool IsArrowShown() const { return true; }
    /** False when the view hides its outline ("noframe"). */
    virtual bool IsFrameShown() const { return true; }
};
