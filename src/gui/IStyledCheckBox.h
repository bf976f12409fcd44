#pragma once

#include "gui/IStyledButton.h"

/** What the style reads from a check box (XStyle::DrawCheckBox): a button whose main image is the
    unchecked picture, second image the checked one and third image the pressed one. */
class IStyledCheckBox : public IStyledButton
{
public:
    /** True for a round (radio) box. */
    virtual bool IsRadio() const = 0;
};
