#pragma once

#include <cstdint>

class XComboBox;
class XParam;
class XView;

/** Adds the delay windows' shared controls at the top of parent: the delay units menu on units, the
    two temperature unit radio buttons on tempUnits (1 = Celsius, 0 = Fahrenheit) and one temperature
    box per unit (shown by tempUnits), the boxes' left edge at tempBoxLeft. Any parameter may be null,
    leaving its controls unbound. The views are owned by parent. Main thread only. */
void AddDelayUnitControls(XView& parent, XParam* units, XParam* tempUnits, int32_t tempBoxLeft);

/** Widens a built delay field's text and its picture up to its spinner: the box leaves a square for
    the spinner, wider than the delay fields' narrow one, and the longest distance texts (such as
    "-2702.4 inches") need the room. Call once, after the box is added to its parent. */
void WidenDelayFieldToSpinner(XComboBox& box);
