#pragma once

#include "core/XRGB.h"

#include <cstdint>
#include <juce_core/juce_core.h>

class XMessage;
class XParam;

/** Reading the loosely typed items of a description block that several views share: flags written
    as booleans or numbers, words of the "style" entries, and colours written as colour items, names
    of the colour dictionary or colour text, and parameters written as pointers or paths. Repeated
    keys are read by index. */
class DescriptionItems final
{
public:
    /** A boolean item, or an integer one that is not 0; false (flag unchanged) when absent. */
    static bool FindFlag(const XMessage& block, const char* key, bool& flag);
    /** The comma-separated words of every "style" entry, trimmed, in the order written. */
    static juce::StringArray StyleWords(const XMessage& block);
    /** Whether a comma-separated word of any "style" entry is word, ignoring case. */
    static bool HasStyleWord(const XMessage& block, const char* word);
    /** The index-th colour item of key, else the index-th text of key as a dictionary colour name
        or colour text; false (colour unchanged) when absent. */
    static bool FindColour(const XMessage& block, const char* key, XRGB& colour, int32_t index = 0);
    /** The index-th parameter of key, given as a pointer item or as a text path; null when neither
        is there or the path names no parameter. */
    static XParam* FindParamItem(const XMessage& block, const char* key, int32_t index = 0);

    DescriptionItems() = delete;
};
