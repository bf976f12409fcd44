#pragma once

#include "windows/SysOvvBlockPanel.h"

class XEQView;

/** The input GEQ block of one input in the system overview: the curve of the 31 graphic bands, each a
    peaking band of fixed Q at its centre frequency, and the equaliser's LED. GUI thread only. */
class SysOvvMstrGEQPanel final : public SysOvvBlockPanel
{
public:
    SysOvvMstrGEQPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);
    /** Null until built. */
    XEQView* GetCurve() const { return curve; }

protected:
    void BuildChildren() override;

private:
    XEQView* curve = nullptr; // child
};
