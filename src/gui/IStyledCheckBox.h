#pragma once

#include "gui/IStyledButton.h"

/** What the style reads from a check box (XStyle::DrawCheckBox): a button whose main image is the
    unchecked picture, second image the checked one and third image the pressed one. Derives
    virtually from IStyledButton so that a check box class built on a button class that answers
    IStyledButton (virtually too) answers it once. */
class IStyledCheckBox : public virtual IStyledButton
{
public:
    /** True for a round (radio) box. */
    virtual bool IsRadio() const = 0;
};
