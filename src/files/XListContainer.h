#pragma once

#include "gui/XView.h"

#include <cstdint>

/** The view that holds a list view's rows under its header. Made and owned by the list's
    XListHeader, which scrolls it across together with itself. GUI thread. */
class XListContainer : public XView
{
public:
    XListContainer() = default;

    /** How far the rows are scrolled to the left, in pixels (0 or more); repaints on a change. */
    void SetHorizontalOffset(int32_t offset);
    int32_t GetHorizontalOffset() const { return horizontalOffset; }

private:
    int32_t horizontalOffset = 0;
};
