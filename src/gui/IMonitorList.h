#pragma once

#include "core/XRect.h"

#include <vector>

/** The display monitors that the GUI helpers place windows on: their work areas in screen
    coordinates (left, top, right, bottom), the primary monitor first. The program's list asks
    JUCE's displays; tests inject their own with SetMonitorList (GuiHelpers.h). GUI thread. */
class IMonitorList
{
public:
    virtual ~IMonitorList() = default;
    virtual std::vector<XRect> GetWorkAreas() = 0;
};
