#pragma once

#include "core/XString.h"

#include <functional>

class XView;

/** How the GUI foundation reaches a text field that the widget layer builds ("edittext"): setting
    its text and selecting it all go through the field's own messages; reading its text goes through
    a reader that the widget layer installs at start-up (the foundation cannot see the widget's
    class). GUI thread only. */
class TextFieldAccess final
{
public:
    /** Fills out with the field's text; false when the view is no text field. */
    using Reader = std::function<bool(XView* field, XString& out)>;

    /** Installs the reader; an empty function removes it. */
    static void SetReader(Reader reader);
    /** Puts text into the field; with selectAll the whole text is then selected. */
    static void SetText(XView* field, const XString& text, bool selectAll);
    /** The field's text; false (out unchanged) without a reader or when the reader refuses. */
    static bool GetText(XView* field, XString& out);

    TextFieldAccess() = delete;
};
