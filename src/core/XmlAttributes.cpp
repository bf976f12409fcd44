#include "core/XmlAttributes.h"

#include <cstdlib>
#include <limits>

namespace XmlAttributes
{
int64_t ReadInteger(const juce::XmlElement& element, const char* name, int64_t fallback)
{
    if (!element.hasAttribute(name))
        return fallback;
    const juce::String text = element.getStringAttribute(name);
    const char* start = text.toRawUTF8();
    char* end = nullptr;
    const long long value = std::strtoll(start, &end, 10); // saturates at the 64-bit limits
    return end == start ? 0 : value;
}

bool ReadInt32(const juce::XmlElement& element, const char* name, int32_t& value)
{
    if (!element.hasAttribute(name))
        return false;
    const int64_t wide = ReadInteger(element, name, 0);
    if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(wide);
    return true;
}
} // namespace XmlAttributes
