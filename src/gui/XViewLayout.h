#pragma once

#include "core/XRect.h"

#include <cstdint>

/** The resize-mask rule by which a view follows its parent's size: given the view's frame in the
    parent, its mask and the parent's change of size, the frame it moves to. A pure function. */
class XViewLayout
{
public:
    /** Mask bits (XView's resize mask). */
    static constexpr uint32_t kLeft = 0x1;
    static constexpr uint32_t kRight = 0x2;
    static constexpr uint32_t kTop = 0x4;
    static constexpr uint32_t kBottom = 0x8;
    static constexpr uint32_t kAll = 0xF;
    static constexpr uint32_t kHorizontalMiddle = 0x10;
    static constexpr uint32_t kVerticalMiddle = 0x20;
    /** Stored and written, no effect on layout. */
    static constexpr uint32_t kSpecial = 0x40;

    /** The frame after the parent changed by dw, dh to the new size (parent width and height as
        taken from its visible frame). Without a middle bit, a right (bottom) bit moves the right
        (bottom) edge by the change and the left (top) edge too unless its bit is set; with the
        middle bit the edges follow half the change, and with no edge bit the view stays centred
        (its left or top edge kept at 0 or more). Integer divisions truncate toward zero. */
    static XRect Apply(const XRect& frame, uint32_t mask, int32_t dw, int32_t dh, int32_t newParentWidth,
                       int32_t newParentHeight);

private:
    static void ApplyAxis(int32_t& low, int32_t& high, bool middle, bool lowBit, bool highBit, int32_t delta,
                          int32_t newParentSize);
};
