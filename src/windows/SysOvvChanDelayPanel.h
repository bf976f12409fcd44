#pragma once

#include "windows/SysOvvBlockPanel.h"

/** The output delay block of one output in the system overview: the delay as a speaker on a small
    slider, in the output's colour, its value text and the bypass LED. GUI thread only. */
class SysOvvChanDelayPanel final : public SysOvvBlockPanel
{
public:
    SysOvvChanDelayPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);

protected:
    void BuildChildren() override;
};
