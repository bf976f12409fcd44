#pragma once

#include "gui/XView.h"

/** The file manager's view as window descriptions create it ("filemanager"): a plain view from its
    default constructor, configured by ReadAttributes (the base view's keys). Owned by its parent
    view. GUI thread. */
class XFileManager : public XView
{
public:
    XFileManager();
    ~XFileManager() override;
};
