#pragma once

#include "windows/SysOvvBlockPanel.h"

class XEQView;

/** The input PEQ block of one input in the system overview: the curve of the high-pass filter and
    nine bands, drawn with the input PEQ window's draw types, and the LEDs of the high-pass filter
    and of the whole equaliser. GUI thread only. */
class SysOvvMstrPEQPanel final : public SysOvvBlockPanel
{
public:
    SysOvvMstrPEQPanel(const XPoint& position, int32_t channel, SysOvvShared& shared);
    /** Null until built. */
    XEQView* GetCurve() const { return curve; }
    /** The draw type of band 0..9 of input 0..1 ("PEQDrawCh<A|B>\DrawTypeBand<n>", kept in step by
        the input PEQ window); unitType when there is none. */
    static XParam* DrawTypeOf(int32_t input, int32_t band, XParam* unitType);

protected:
    void BuildChildren() override;

private:
    XEQView* curve = nullptr; // child
};
