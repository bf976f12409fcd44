#pragma once

#include "core/XToken.h"

#include <cstdint>
#include <string>

class IDataIO;

/** One entry of a keyword table; a table is an array of entries ending with the text "END_TABLE"
    (which is never itself a keyword). */
struct XKeywordEntry
{
    const char* text;
    int32_t value;
};

/** The table lexer: cuts 8-bit text into typed tokens (XToken) for the framework's small table
    languages (the colour file, the font table, view descriptions). It reads the input one byte at a
    time and knows integers, reals, points ("x,y"), colours ("r,g,b"), rectangles ("l,t,r,b"), quoted
    strings (no escapes), words, keywords of up to two tables, the booleans "true" and "false" and the
    punctuation of "*=+&[]();:,.#{}"; block comments (slash-star to star-slash) and line comments
    ("//") are skipped. Any other byte
    becomes an unknown token; nothing stops the scan but the end of the input, which yields end tokens
    for ever. Every token carries the line it starts on, for readers that report where a text is
    wrong.

    The input is not owned and must outlive the scanner. One thread at a time. */
class XScanner
{
public:
    /** Options non-zero: runs of whitespace are returned as tokens instead of being skipped. */
    explicit XScanner(IDataIO* input, int32_t options = 0);

    /** The pushed-back token when there is one (the slot empties); otherwise the current token becomes
        the previous one and a new token is read. Returns a copy of the new current token. */
    XToken NextToken();
    /** Reads one token from the input into the current token. */
    void ReadToken();
    /** Makes token the next one that NextToken returns. */
    void PushBack(const XToken& token) { pushedBack = token; }

    const XToken& GetCurrentToken() const { return current; }
    const XToken& GetPreviousToken() const { return previous; }

    /** Null restores the built-in table ("set" 0, "begin" 1, "end" 2, "define" 3, "add" 4,
        "create" 5). Tables are not copied and must outlive the scanner. */
    void SetKeywordTable(const XKeywordEntry* table);
    /** A second table whose words give second-table keyword tokens; null for none. */
    void SetSecondKeywordTable(const XKeywordEntry* table) { secondKeywords = table; }
    /** On: a string whose closing quote is not on its own line ends at the line's end (an unknown
        token, XToken::unclosedString), so that one missing quote costs only its line; off (the
        default): it runs to the next quote anywhere, or to the end of the input. */
    void SetLineBoundStrings(bool on) { lineBoundStrings = on; }
    static const XKeywordEntry* GetBuiltInKeywords();

private:
    static constexpr int kNoByte = -1;

    /** The next byte (0..255), or kNoByte at the end of the input; byteLine becomes its line. */
    int ReadByte();
    /** The next ReadByte returns byte (of line byteLine) again. */
    void PutBack(int byte)
    {
        heldByte = byte;
        heldLine = byteLine;
    }

    void SkipBlockComment();
    void SkipLineComment();
    void ScanNumber(int firstByte, bool negative);
    void ScanWord(int firstByte);
    void ScanString();
    void ScanUnknownRun();
    void ScanWhitespace(int firstByte);
    /** Appends bytes to the token while accepts says so; the first other byte is put back. */
    void GatherWhile(bool (*accepts)(int));
    /** Ends the current token with that type and the gathered text. */
    void Finish(int32_t type);

    XToken previous;
    XToken current;
    XToken pushedBack;
    int32_t options;
    IDataIO* input;
    const XKeywordEntry* keywords;
    const XKeywordEntry* secondKeywords = nullptr;
    int heldByte = kNoByte;
    int32_t heldLine = 1;
    /** The line of the next byte that the input gives. */
    int32_t inputLine = 1;
    /** The line of the byte ReadByte returned last. */
    int32_t byteLine = 1;
    /** The line of the first byte of the token being read. */
    int32_t tokenLine = 1;
    bool lineBoundStrings = false;
    /** Bytes of the token being read, gathered before they become the token's text. */
    std::string gathered;
};
