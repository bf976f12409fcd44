#pragma once

#include "core/XRGB.h"
#include "gui/IColourChooser.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's colour dialog: JUCE's ColourSelector (colour space, hue and RGB sliders, no alpha)
    in a modal dialog with "OK" and "Cancel" buttons and a row of 16 custom colours that the user
    keeps between calls for the life of the process. Closing the dialog counts as cancelling.
    GUI thread; runs a modal loop. */
class JUCEColourChooser final : public IColourChooser
{
public:
    static constexpr int kCustomColourCount = 16;
    /** Component names of the dialog's parts, by which tests find them. */
    static constexpr const char* kSelectorName = "colourSelector";
    static constexpr const char* kOkButtonName = "OK";
    static constexpr const char* kCancelButtonName = "Cancel";
    static constexpr const char* kDialogTitle = "Color";

    bool Choose(const XRGB& initial, XRGB& chosen) override;

    /** The process-wide custom colours (opaque white until the user sets one). */
    static XRGB GetCustomColour(int index);
};
