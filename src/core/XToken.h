#pragma once

#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XString.h"

#include <cstdint>

/** One token of the table lexer (XScanner): its type, its text and the value that its type carries.
    The type is a character code; only the field of that type is meaningful, the others keep their
    defaults (the colour of a non-colour token is opaque black). A plain value: copies copy every
    field. */
class XToken
{
public:
    static constexpr int32_t kEnd = 'a';
    static constexpr int32_t kReal = 'q';
    static constexpr int32_t kInteger = 'c';
    static constexpr int32_t kString = 'd';
    static constexpr int32_t kWord = 'e';
    static constexpr int32_t kSecondKeyword = 'f';
    static constexpr int32_t kKeyword = 'h';
    static constexpr int32_t kUnknown = 'j';
    /** Marks an empty token slot. */
    static constexpr int32_t kEmpty = 'k';
    static constexpr int32_t kWhitespace = 'l';
    static constexpr int32_t kBoolean = 'm';
    static constexpr int32_t kRect = 'n';
    static constexpr int32_t kPoint = 'o';
    static constexpr int32_t kColour = 'p';

    int32_t type = kEmpty;
    /** The characters of the token; a string token without its quotes. */
    XString text;
    int32_t intValue = 0;
    /** 1 for "true", 0 for "false". */
    int32_t boolValue = 0;
    float realValue = 0.0f;
    XRGB colour;
    XRect rect;
    XPoint point;
    /** The table value of a keyword of either table. */
    int32_t keywordValue = 0;
    /** The line (from 1) on which the token starts; 0 for a token that no scanner read. */
    int32_t line = 0;
    /** A '-' stood directly before this point, colour or rectangle and was dropped. */
    bool minusDropped = false;
    /** An unknown token that is a string without its closing quote. */
    bool unclosedString = false;

    bool IsEmpty() const { return type == kEmpty; }
    /** True for the punctuation token of c (such as '=' or '{'). */
    bool IsChar(char c) const { return type == static_cast<unsigned char>(c); }
    /** A word, keyword or string: the tokens that may name something. */
    bool IsName() const
    {
        return type == kWord || type == kKeyword || type == kSecondKeyword || type == kString;
    }
    /** Back to an empty slot. */
    void Clear() { *this = XToken(); }
};
