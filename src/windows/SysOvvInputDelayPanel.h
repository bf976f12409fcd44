#pragma once

#include "windows/SysOvvBlockPanel.h"

class XSlider;

/** The input delay block of one input in the system overview: the delay as a speaker on a small
    slider (orange for input A, cyan for input B), its value text and the bypass LED. GUI thread
    only. */
class SysOvvInputDelayPanel final : public SysOvvBlockPanel
{
public:
    SysOvvInputDelayPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);
    /** Null until built. */
    XSlider* GetSlider() const { return slider; }

protected:
    void BuildChildren() override;

private:
    XSlider* slider = nullptr; // child
};
