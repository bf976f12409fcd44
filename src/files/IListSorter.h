#pragma once

#include <cstdint>

class XListContainer;

/** A sort that an owner installs in a list's row area in place of the built-in one. Before each
    call the row area fills in container and the display position of the sort column; Sort must
    leave the container's rows in the new order. Not owned by the row area. GUI thread. */
class IListSorter
{
public:
    virtual ~IListSorter() = default;

    virtual void Sort(int32_t count) = 0;

    XListContainer* container = nullptr;
    int32_t sortColumnPosition = 0;
};
