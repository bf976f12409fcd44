#pragma once

#include "gui/XOKCancelDialog.h"

/** Asks before a file or folder is replaced ("Confirm File Replace" / "Confirm Folder Replace");
    result 1 means replace. Made on the stack of the operation that shows it; GUI thread. */
class XOverwriteFileDialog final : public XOKCancelDialog
{
public:
    XOverwriteFileDialog(const XString& name, bool isFolder);

    /** The question's text for the name. */
    static XString TextFor(const XString& name, bool isFolder);
};
