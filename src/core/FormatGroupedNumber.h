#pragma once

#include "core/XString.h"

#include <cstdint>

/** out = value with decimals decimals (outside 0..9: 2) and a "," between every group of three
    digits of the integer part ("1,234,567.89"); a negative value, even one that rounds to zero,
    keeps its "-" ("-0.00"). With trim and more than two decimals, decimals beyond the second are cut
    when they are all zero ("1.2500" -> "1.25", "1.2340" stays). Infinity and NaN are written as
    "%f" writes them. */
void FormatGroupedNumber(XString& out, double value, int32_t decimals, bool trim);
