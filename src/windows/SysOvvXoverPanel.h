#pragma once

#include "windows/SysOvvBlockPanel.h"

/** The crossover block of one output in the system overview: the two-band curve of the output's
    high-pass and low-pass filters (types and Q as the crossover window draws them) and the polarity
    LED. GUI thread only. */
class SysOvvXoverPanel final : public SysOvvBlockPanel
{
public:
    SysOvvXoverPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);

protected:
    void BuildChildren() override;
};
