#include "core/XRegistry.h"

#include <cstdio>

namespace RegistryPath
{
bool FormatV(XString& out, const char* format, va_list args)
{
    out = "";
    if (format == nullptr)
        return false;
    char buffer[kMaxLength + 1];
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (length < 0 || length > kMaxLength)
        return false;
    out = buffer;
    return true;
}

void Split(const XString& path, XString& first, XString& rest)
{
    const int separator = path.FindChar(kSeparator);
    if (separator < 0)
    {
        first = path;
        rest = "";
        return;
    }
    first = path.Left(separator);
    rest = path.From(separator + 1);
}

bool IsWellFormed(const XString& path)
{
    const char* text = path.CStr();
    if (text[0] == 0)
        return false;
    char previous = kSeparator;
    for (; *text != 0; ++text)
    {
        if (*text == kSeparator && previous == kSeparator)
            return false;
        previous = *text;
    }
    return previous != kSeparator;
}
} // namespace RegistryPath
