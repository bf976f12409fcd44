#pragma once

#include "core/XString.h"

#include <cstddef>

/** Helpers of the tables' text callbacks. */
namespace ParamListText
{
/** The list entry of a value truncated toward zero; other for values outside the list. */
template <size_t N> XString Entry(const char* const (&texts)[N], double value, const char* other)
{
    if (!(value > -1.0 && value < static_cast<double>(N)))
        return other;
    return texts[static_cast<size_t>(value)];
}

/** A value formatted with one printf conversion of a double. */
inline XString Formatted(const char* format, double value)
{
    XString text;
    text.Format(format, value);
    return text;
}
} // namespace ParamListText
