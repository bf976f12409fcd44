#pragma once

#include "core/XRect.h"
#include "core/XString.h"

#include <cstdint>

class XMessage;

/** Where a block of a window description stands when one of its values is typed: the repetition
    being run and the array settings that move frames and number names. */
struct DescriptionIndex
{
    /** The repetition being run (0-based). */
    int32_t index = 0;
    /** Added to the index in formatted values (not in "item"). */
    int32_t baseIndex = 0;
    /** Horizontal step between repetitions. */
    int32_t arrayWidth = 100;
    /** Vertical step between repetitions; 0 steps horizontally. */
    int32_t arrayHeight = 0;
    /** Stands in for a "param" value of "%s". */
    XString paramScratch;
};

/** Turns one "keyword:value" line of a window description into typed items of a view's attribute
    message: named constants, integers, reals and booleans first, then by keyword rectangles (moved
    per repetition, with the process-wide remembered rectangle behind "next" and "down"), image
    descriptions, points, colours (the colour dictionary, then colour text) and texts formatted with
    the repetition index. Also reads the name=value lists that controls send with their messages.

    Formatting never hands a description's text to printf: one integer conversion ("%d", "%02d",
    ...) takes the number, "%%" gives '%', and anything else stays as written. Rectangle arithmetic
    stops at the int32 limits instead of overflowing. GUI thread only (the remembered rectangle is
    process-wide and unlocked). */
class DescriptionValues final
{
public:
    /** Adds the items of one line to attributes (see the class comment); keywordId is the line's id
        in the keyword table (ViewKeywords). False when the value is not of the kind its keyword
        takes (a rectangle, point or colour that does not read as written, a malformed image
        description); the items are added as the rules give them all the same. */
    static bool AddTypedValue(XMessage& attributes, const XString& keyword, int32_t keywordId,
                              const XString& value, const DescriptionIndex& at);
    /** True when value reads as a rectangle as written: "client", "next" or "down" with an optional
        ",step", or one to four comma-separated integers. */
    static bool IsRectText(const XString& value);
    /** value := the leading integer of text (as atoi reads it, limited to the int32 range); true when
        text is exactly one decimal integer within that range. */
    static bool ReadInteger(const XString& text, int32_t& value);

    /** The rectangle of a frame, framewh, textrect or constraint value: "client" (all zero), "next"
        or "down" with an optional ",step" (from the remembered rectangle), or four integers
        (left, top, width, height for framewh). Updates the remembered rectangle as those rules say. */
    static XRect RectValue(int32_t keywordId, const XString& value, const DescriptionIndex& at);
    static const XRect& GetRememberedRect();
    /** Back to the zero rectangle; for tests. */
    static void ResetRememberedRect();

    /** Reads a quoted image description ("path", name=value, ...; ending at ';' or the end) into
        description as "imagePath" and the typed pairs; false when it is malformed. */
    static bool ReadImageDescription(const XString& value, XMessage& description);

    /** format with its first integer conversion taking value and "%%" giving '%'; every other '%'
        stays literal. */
    static XString FormatWithIndex(const XString& format, int32_t value);

    /** Adds the pairs of "name=value,name=value..." to message: decimal integers and hexadecimal
        words (optionally "0x...") as int32, "true"/"false" (any case) as bool, the rest as texts;
        stops at the first empty name. Nothing for a null message. */
    static void ParseArgs(const XString& text, XMessage* message);

    DescriptionValues() = delete;
};
