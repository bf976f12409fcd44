#include "gui/XViewLayout.h"

#include <cstdlib>

XRect XViewLayout::Apply(const XRect& frame, uint32_t mask, int32_t dw, int32_t dh, int32_t newParentWidth,
                         int32_t newParentHeight)
{
    XRect result = frame;
    ApplyAxis(result.left, result.right, (mask & kHorizontalMiddle) != 0, (mask & kLeft) != 0,
              (mask & kRight) != 0, dw, newParentWidth);
    ApplyAxis(result.top, result.bottom, (mask & kVerticalMiddle) != 0, (mask & kTop) != 0,
              (mask & kBottom) != 0, dh, newParentHeight);
    return result;
}

void XViewLayout::ApplyAxis(int32_t& low, int32_t& high, bool middle, bool lowBit, bool highBit,
                            int32_t delta, int32_t newParentSize)
{
    if (!middle)
    {
        if (highBit)
        {
            high += delta;
            if (!lowBit)
                low += delta;
        }
        return;
    }
    if (lowBit || highBit)
    {
        if (lowBit)
            high = (delta + 2 * high + 1) / 2;
        if (highBit)
        {
            low = (delta + 2 * low + 1) / 2;
            high = delta + high;
        }
        return;
    }
    const int32_t size = std::abs(newParentSize);
    const int32_t shift = size / 2 - (size - delta) / 2;
    low += shift;
    high += shift;
    if (low < 0)
        low = 0;
}
