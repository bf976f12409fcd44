#pragma once

#include "gui/IStyledView.h"

/** What the style reads from a self-drawn framed window to place its title-bar boxes
    (XStyle::GetCloseBoxRect and the other box and title-text metrics). */
class IStyledWindow : public virtual IStyledView
{
public:
    virtual bool HasCloseBox() const = 0;
    virtual bool HasMaximizeBox() const = 0;
    virtual bool HasMinimizeBox() const = 0;
};
