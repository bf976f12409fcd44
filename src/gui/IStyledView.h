#pragma once

#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XString.h"

/** What the style reads from any view it draws: the views answer these from their own fields.
    The interfaces of the single kinds (IStyledButton, IStyledPot, ...) derive from it virtually,
    so a view class that derives virtually from it too answers these once for all of them.

    Queries only; the style never changes a view through it. GUI thread only. */
class IStyledView
{
public:
    virtual ~IStyledView() = default;

    /** True when the view draws no background of its own (the style then erases nothing). */
    virtual bool IsTransparent() const = 0;
    virtual XRGB GetTextColor() const = 0;
    virtual XString GetLabel() const = 0;
    /** The view's frame moved to 0, 0 (left, top, right, bottom). */
    virtual XRect GetBounds() const = 0;
};
