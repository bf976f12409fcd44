#pragma once

#include "core/XRGB.h"

class XMessage;

/** Reading the loosely typed items of a description block that several views share: flags written
    as booleans or numbers, words of the "style" entries, and colours written as colour items, names
    of the colour dictionary or colour text. */
class DescriptionItems final
{
public:
    /** A boolean item, or an integer one that is not 0; false (flag unchanged) when absent. */
    static bool FindFlag(const XMessage& block, const char* key, bool& flag);
    /** Whether a comma-separated word of any "style" entry is word, ignoring case. */
    static bool HasStyleWord(const XMessage& block, const char* word);
    /** A colour item, else a dictionary colour name or colour text; false (colour unchanged) when
        absent. */
    static bool FindColour(const XMessage& block, const char* key, XRGB& colour);

    DescriptionItems() = delete;
};
