#pragma once

#include "core/XRGB.h"

/** The colour dialog behind ChooseSystemColour (GuiHelpers.h): shows a colour for the user to
    change and says whether the user confirmed. The program's chooser is JUCEColourChooser; tests
    inject their own with SetColourChooser. GUI thread; modal. */
class IColourChooser
{
public:
    virtual ~IColourChooser() = default;
    /** True and the chosen colour in chosen when the user confirms; false (chosen unchanged) when
        the user cancels or closes the dialog. */
    virtual bool Choose(const XRGB& initial, XRGB& chosen) = 0;
};
