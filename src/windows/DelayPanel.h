#pragma once

#include "gui/XView.h"

#include <array>
#include <cstdint>

class XButton;
class XComboBox;
class XPict;
class XText;

/** The panel of one output below the output delay window's sliders: the output's colour block and
    name, its input assignment, its delay in each of the six units (the one of
    "global\OutDelayUnits" shown) and its delay bypass. Builds its children when its style is first
    applied. Parameters are not owned. GUI thread only. */
class DelayPanel final : public XView
{
public:
    static constexpr int32_t kUnitCount = 6;

    /** output: 0..5. */
    explicit DelayPanel(int32_t output);

    int32_t GetOutput() const { return output; }
    /** The value box of a unit (0 ms, 1 us, 2 ft, 3 in, 4 m, 5 cm); null before the build. */
    XComboBox* GetDelayBox(int32_t unit) const;
    XButton* GetBypassButton() const { return bypass; }

    void ApplyStyle() override;

private:
    void Build();

    const int32_t output;
    bool built = false;
    std::array<XComboBox*, kUnitCount> delayBoxes{}; // child views
    XButton* bypass = nullptr;                       // child view
};
