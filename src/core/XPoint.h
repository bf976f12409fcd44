#pragma once

#include <cstdint>

/** A point of two int32 coordinates: the value type that messages (item type 11) and views carry. */
struct XPoint
{
    int32_t x = 0;
    int32_t y = 0;

    constexpr XPoint() = default;
    constexpr XPoint(int32_t xIn, int32_t yIn) : x(xIn), y(yIn) {}

    bool operator==(const XPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const XPoint& other) const { return !(*this == other); }

    /** Reads "x,y": blanks are ignored, each number is read as a decimal integer (a missing or
        unreadable number gives 0). Null text gives the zero point. */
    static XPoint FromText(const char* text);
};
