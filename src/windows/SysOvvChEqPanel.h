#pragma once

#include "windows/SysOvvBlockPanel.h"

/** The output EQ block of one output in the system overview: the five-band curve of the output's
    parametric equaliser, drawn with the output EQ window's draw types, and an LED per band. GUI
    thread only. */
class SysOvvChEqPanel final : public SysOvvBlockPanel
{
public:
    SysOvvChEqPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);

protected:
    void BuildChildren() override;
};
