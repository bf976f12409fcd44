#include "core/DecimalListReader.h"

#include <limits>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/** Reads one field from text up to the next ',' or the end; returns the position after the field
    (at its ',' or the end). Digits beyond the int32 range saturate. */
const char* ReadField(const char* text, int32_t& value)
{
    while (*text != 0 && IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '-' || *text == '+')
    {
        negative = *text == '-';
        ++text;
    }
    int64_t magnitude = 0;
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    for (;; ++text)
    {
        if (IsBlank(*text))
            continue;
        if (*text < '0' || *text > '9')
            break;
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int32_t>(signedValue > std::numeric_limits<int32_t>::max()
                                     ? std::numeric_limits<int32_t>::max()
                                     : signedValue);
    while (*text != 0 && *text != ',')
        ++text;
    return text;
}
} // namespace

void ReadDecimalList(const char* text, int32_t* values, int count)
{
    for (int i = 0; i < count; ++i)
        values[i] = 0;
    if (text == nullptr)
        return;
    for (int i = 0; i < count && *text != 0; ++i)
    {
        text = ReadField(text, values[i]);
        if (*text == ',')
            ++text;
    }
}
