#pragma once

#include "core/XString.h"

#include <juce_core/juce_core.h>

/** The one conversion each way between the framework's strings, which hold UTF-8 bytes, and JUCE's. */
inline juce::String ToJuceString(const XString& text)
{
    return juce::String::fromUTF8(text.CStr());
}

inline XString ToXString(const juce::String& text)
{
    return XString(text.toRawUTF8());
}
