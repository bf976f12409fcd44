#pragma once

#include "core/XParamDesc.h"

#include <cstdint>

/** The descriptor of a window-local parameter (a view selector, a check box that stands for a bit, a
    draw switch, a mirror in another unit): transient, so that changing it never marks the preset
    document modified (it is not in the document), and never sent to the unit. name may be null
    (no name). */
XParamDesc LocalParamDesc(const char* name, int32_t type, double min, double max, double def, uint32_t steps,
                          int32_t id = 0);
