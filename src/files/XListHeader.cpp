#include "files/XListHeader.h"

#include "files/XListContainer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
/** A range value as a pixel offset: truncated, NaN as 0, kept inside int32. */
int32_t ToPixels(double value)
{
    if (std::isnan(value))
        return 0;
    const double limited = std::clamp(value, static_cast<double>(std::numeric_limits<int32_t>::min()),
                                      static_cast<double>(std::numeric_limits<int32_t>::max()));
    return static_cast<int32_t>(limited);
}
} // namespace

XListHeader::XListHeader(const XRect& frame) : XView(frame), container(std::make_unique<XListContainer>()) {}

XListHeader::~XListHeader() = default;

void XListHeader::SetContentWidth(int32_t width)
{
    contentWidth = std::max(0, width);
    if (scrollOffset > GetMaxScrollOffset())
        ScrollTo(GetMaxScrollOffset());
}

int32_t XListHeader::GetMaxScrollOffset() const
{
    return std::max(0, contentWidth - GetWidth());
}

void XListHeader::SetStepSize(int32_t pixels)
{
    stepSize = std::max(1, pixels);
}

double XListHeader::GetRangeStart(bool horizontal)
{
    return horizontal ? static_cast<double>(scrollOffset) : 0.0;
}

double XListHeader::GetRangeEnd(bool horizontal)
{
    return horizontal ? static_cast<double>(scrollOffset) + GetWidth() : 0.0;
}

double XListHeader::GetContentLength(bool horizontal)
{
    return horizontal ? static_cast<double>(contentWidth) : 0.0;
}

void XListHeader::SetRange(double start, double end, bool horizontal)
{
    if (horizontal)
        ScrollTo(std::max(0, ToPixels(start)));
}

void XListHeader::SetRangeStart(double start, bool horizontal)
{
    if (horizontal)
        ScrollTo(std::clamp(ToPixels(start), 0, GetMaxScrollOffset()));
}

void XListHeader::Step(int flag, bool horizontal)
{
    if (!horizontal)
        return;
    const int64_t delta = flag == kStepTowardsStart ? -stepSize : stepSize;
    const int64_t target = std::clamp<int64_t>(scrollOffset + delta, 0, GetMaxScrollOffset());
    ScrollTo(static_cast<int32_t>(target));
}

void XListHeader::ScrollTo(int32_t offset)
{
    if (offset == scrollOffset)
        return;
    scrollOffset = offset;
    container->SetHorizontalOffset(offset);
    Invalidate();
}
