#pragma once

#include "gui/XErrorDialog.h"

#include <cstdint>

/** The error box of a file error by kind: 0 reading, 1 writing (naming the file when a name is
    given), 2 name too long, 3 bad character, 4 no name, 5 wrong extension, 6 obsolete format; any
    other kind shows an empty text. Texts are the application's "FileDialogs" labels. Made on the
    stack of the operation that shows it; GUI thread. */
class XFileErrorDialog final : public XErrorDialog
{
public:
    XFileErrorDialog(int32_t kind, const XString& name);

    /** The text the dialog shows for kind and name. */
    static XString TextFor(int32_t kind, const XString& name);
};
