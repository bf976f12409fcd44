#pragma once

#include "widgets/QM7Style.h"

/** The program style for the delay windows' sliders: wheel and drag move in fine steps only while
    Alt is held (the program style steps finely unless Alt is held). One per window build, owned by
    the window. GUI thread only. */
class DelaySliderStyle final : public QM7Style
{
public:
    /** 1: the Alt key selects fine steps. */
    static constexpr int kAltFineKeyMode = 1;

    int GetFineWheelKeyMode() override { return kAltFineKeyMode; }
};
