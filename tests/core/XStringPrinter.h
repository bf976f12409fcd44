#pragma once

#include "core/XString.h"

#include <ostream>

/** Lets GoogleTest show an XString as its text in failure messages. */
inline void PrintTo(const XString& text, std::ostream* out)
{
    *out << '"' << text.CStr() << '"';
}
