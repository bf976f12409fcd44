#pragma once

#include "core/XString.h"

class XView;

/** The check of a text entry: the text prompt asks it before it accepts an entry. A validator that
    refuses a text tells the user itself (over dialog) and returns false. Not owned by the prompts
    that hold it. */
class XTextValidator
{
public:
    virtual ~XTextValidator() = default;
    virtual bool Check(const XString& text, XView* dialog) = 0;
};
