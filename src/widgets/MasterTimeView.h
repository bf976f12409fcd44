#pragma once

#include "widgets/XTimeView.h"

#include <cstdint>

/** The time view that reports every committed time to the application ("mastertimeedit"): after the
    time view's commit it sends 1001506 with "timestamp" (the time in seconds, the bits of a double in
    a 64-bit item) to the handler the application has for that code. A wheel turn steps the bound
    parameter and commits at once. It never shows sub-frames. GUI thread only. */
class MasterTimeView : public XTimeView
{
public:
    static constexpr uint32_t kTimestampMessage = 1001506;
    static constexpr const char* kTimestampItem = "timestamp";

    MasterTimeView() = default;

    bool MouseWheel(const XPoint& point, int32_t steps) override;
    void CommitText() override;
    bool GetDisplaySubframes() const override { return false; }
};
