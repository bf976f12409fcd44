#pragma once

#include "windows/SysOvvBlockPanel.h"

class XLEDMeter;

/** The input meter block of one input in the system overview: an eight-segment LED meter of the
    input's level (-52 to -1 dB). It has no copy and paste. GUI thread only. */
class SysOvvInputPanel final : public SysOvvBlockPanel
{
public:
    SysOvvInputPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);
    /** Null until built. */
    XLEDMeter* GetMeter() const { return meter; }

protected:
    void BuildChildren() override;

private:
    XLEDMeter* meter = nullptr; // child
};
