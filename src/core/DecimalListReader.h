#pragma once

#include <cstdint>

/** Reads up to count comma-separated decimal integers from text into values, ignoring blanks: each
    field is read as a decimal number with an optional sign, up to the first character that is not a
    digit; a missing field or one without digits gives 0. Null text gives all zeros. Used by the
    text forms of XPoint and XRect. */
void ReadDecimalList(const char* text, int32_t* values, int count);
