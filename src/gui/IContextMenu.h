#pragma once

#include "core/XPoint.h"

class IViewContainer;

/** A menu that a view pops up on a right click (XView::SetContextMenu); the framework's menu view
    implements it. The view does not own its menu. GUI thread only. */
class IContextMenu
{
public:
    virtual ~IContextMenu() = default;

    /** Shows the menu at the point in screen coordinates on behalf of owner (modal: returns after
        the choice). */
    virtual void Popup(const XPoint& screenPoint, IViewContainer* owner) = 0;
};
