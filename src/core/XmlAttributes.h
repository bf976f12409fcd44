#pragma once

#include <cstdint>
#include <juce_core/juce_core.h>

/** Reading of numbers from XML attributes of files that come from outside the program. JUCE's
    integer read overflows a signed int on texts such as "-2147483648"; this one reads 64 bits. */
namespace XmlAttributes
{
/** The attribute's leading integer digits as a 64-bit number (saturated); fallback when the
    attribute is missing, 0 when it holds no number. */
int64_t ReadInteger(const juce::XmlElement& element, const char* name, int64_t fallback);

/** As ReadInteger, but false (and nothing written) when the attribute is missing or the number
    does not fit 32 bits. */
bool ReadInt32(const juce::XmlElement& element, const char* name, int32_t& value);
} // namespace XmlAttributes
