#pragma once

#include "core/XMessageCodes.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>

class OutputPanel;
class XPopupMenu;
class XText;

/** The "Limiters and Levels" window: one strip per output (OutputPanel) with gain, meters, mute and
    the limiter's settings, and the drop-down of "global\ThresholdUnits" that shows every threshold
    in dBu or volts. Choosing a unit re-notifies the six thresholds, so that each field redraws its
    text in the new unit without a change of value.

    Compare-mode covers lie over everything but the mute buttons while "QM7\lockUIForEditCompare"
    is 0. Created hidden by the application; builds its content on the first show; the strips are
    children of the content. GUI thread only. */
class OutputLevelsWindow final : public SubWindow
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kCoverCount = 8;
    static constexpr int32_t kThresholdUnitsKey = static_cast<int32_t>(FourCharCode("thnt"));

    OutputLevelsWindow();
    ~OutputLevelsWindow() override;

    /** 'thnt': every output's limitThreshold notifies its watchers with the same code; then the base. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "OutputLevelsWindow"; }

    /** Null until the content is built, or outside 0..5. */
    OutputPanel* GetPanel(int32_t output) const;
    XPopupMenu* GetThresholdUnitsMenu() const { return unitsMenu; }
    /** The covers: 0 the top, 1..6 the gain fields of outputs 1..6, 7 the bottom; null outside. */
    XText* GetCompareCover(int32_t index) const;

protected:
    void BuildContent() override;

private:
    void BuildCovers();

    std::array<OutputPanel*, kOutputCount> panels{}; // children, null until built
    std::array<XText*, kCoverCount> covers{};
    XPopupMenu* unitsMenu = nullptr;
};
