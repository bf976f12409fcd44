#pragma once

#include "core/XString.h"

#include <juce_core/juce_core.h>
#include <string>

/** Path helpers of the file tests: the framework's '\' form of a system path, and a system path as
    a juce::File for making and reading fixtures. */
namespace FileTestPaths
{
inline XString Backslashed(const std::string& path)
{
    XString text(path.c_str());
    text.ReplaceChar('/', '\\');
    return text;
}

inline juce::File At(const std::string& path)
{
    return juce::File(juce::String::fromUTF8(path.c_str()));
}
} // namespace FileTestPaths
