#pragma once

#include <juce_core/juce_core.h>

class XMessage;

/** The words of every "style" entry of a description block: each entry is a comma-separated list,
    and the widgets compare its words without regard to case. */
class StyleWords final
{
public:
    /** All words of all "style" entries, trimmed, in the order written. */
    static juce::StringArray Read(const XMessage& block);
    /** Whether the words hold word, ignoring case. */
    static bool Has(const juce::StringArray& words, const char* word);

    StyleWords() = delete;
};
