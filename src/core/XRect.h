#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

/** A rectangle of four int32 edges in the order left, top, right, bottom: the value type that
    messages (item type 10), views and preferences carry. A default rectangle is all zero. */
struct XRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr XRect() = default;
    constexpr XRect(int32_t leftIn, int32_t topIn, int32_t rightIn, int32_t bottomIn)
        : left(leftIn), top(topIn), right(rightIn), bottom(bottomIn)
    {
    }

    bool operator==(const XRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    bool operator!=(const XRect& other) const { return !(*this == other); }

    /** |right - left| and |bottom - top|, computed in 64 bits so extreme edges cannot overflow. */
    int32_t Width() const { return static_cast<int32_t>(std::llabs(int64_t{right} - left)); }
    int32_t Height() const { return static_cast<int32_t>(std::llabs(int64_t{bottom} - top)); }
    /** The smallest rectangle that holds both: the smaller left and top, the larger right and
        bottom. */
    XRect Union(const XRect& other) const
    {
        return XRect(std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                     std::max(bottom, other.bottom));
    }
    /** The common part: the larger left and top, the smaller right and bottom (empty, possibly
        inverted, when they do not meet). */
    XRect Intersect(const XRect& other) const
    {
        return XRect(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                     std::min(bottom, other.bottom));
    }

    /** True unless left < right and top < bottom: a rectangle that covers no pixel. */
    bool IsEmpty() const { return !(left < right && top < bottom); }

    /** True when right >= left and bottom >= top. */
    bool IsValid() const { return right >= left && bottom >= top; }

    /** Reads "left,top,right,bottom": blanks are ignored, each number is read as a decimal integer (a
        missing or unreadable number gives 0). A result that is not valid becomes all zero, as does
        null text. */
    static XRect FromText(const char* text);
};
