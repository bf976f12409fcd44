#include "files/XListContainer.h"

void XListContainer::SetHorizontalOffset(int32_t offset)
{
    if (offset == horizontalOffset)
        return;
    horizontalOffset = offset;
    Invalidate();
}
