#pragma once

#include "windows/SysOvvBlockPanel.h"

/** The routing block of one output in the system overview: a picture of where the output takes its
    signal from (input A, input B or both), following the output's source. GUI thread only. */
class SingleOutputRoutingPanel final : public SysOvvBlockPanel
{
public:
    SingleOutputRoutingPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);

protected:
    void BuildChildren() override;
};
