#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "windows/SysOvvBlockPanel.h"

class XQM7FrontPanelLEDMeter;

/** The limiter and level block of one output in the system overview: the output gain's fader and
    value, the mute LED (the one child that takes clicks: it mutes and unmutes), the output's level
    meter with its clip indicator, and the limiter LED, lit while the limiter reduces the gain (a
    gain reduction below 0 dB). The limiter LED's parameter is the block's own, never sent. GUI
    thread only. */
class SysOvvOutputLevelsPanel final : public SysOvvBlockPanel
{
public:
    static constexpr int32_t kGainReductionKey = static_cast<int32_t>(FourCharCode("gr  "));

    /** Watches the output's gain reduction (told at once). */
    SysOvvOutputLevelsPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);
    ~SysOvvOutputLevelsPanel() override;

    /** 1 while the limiter acts, else 0. */
    FloatParam& GetLimiterParam() { return limiter; }
    /** Null until built. */
    XQM7FrontPanelLEDMeter* GetMeter() const { return meter; }

    /** The button's handling; then a gain reduction below 0 sets the limiter parameter to 1, any
        other to 0 (a change with notification). */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    void BuildChildren() override;

private:
    FloatParam limiter;
    XQM7FrontPanelLEDMeter* meter = nullptr; // child
};
