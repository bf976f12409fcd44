#pragma once

#include <cstdint>

class XListRow;
class XListView;

/** Receives presses, drags and releases on the cells of a list before the list handles them; an
    owner installs it in the row area (not owned there). Each answer is true when it handled the
    event. GUI thread. */
class IListCellMouse
{
public:
    virtual ~IListCellMouse() = default;

    virtual bool PressCell(XListView* list, XListRow* row, int32_t columnPosition) = 0;
    virtual bool DragCell(XListView* list, XListRow* row, int32_t columnPosition) = 0;
    virtual bool ReleaseCell(XListView* list, XListRow* row, int32_t columnPosition) = 0;
};
