#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>

class XVariant;

/** The framework's text type: an 8-bit, zero-terminated string (UTF-8 by convention) whose storage
    block is reference counted and copied on write.

    A copy costs one interlocked increment; every empty string shares one static block, so no
    operation allocates for an empty result. Blocks are sized exactly (no geometric growth): callers
    that build long texts use Reserve or Format.

    Thread safety: different XString objects that share a block may be copied, changed and destroyed
    on different threads; one XString object must not be used by two threads at once.

    Comparisons and searches that ignore case fold A-Z and a-z only; other bytes compare unchanged.
    A null plain-text argument counts as "" unless an operation says otherwise. */
class XString
{
public:
    // Construction, assignment, destruction ------------------------------------------------------

    XString();
    /** Null or "" gives the empty string. */
    XString(const char* text);
    /** At most count characters, stopping early at a zero; count <= 0 gives the empty string. */
    XString(const char* text, int count);
    /** The UTF-8 form of a wide text; code points that are not valid become '?'. */
    XString(const wchar_t* text);
    /** Decimal text of value. */
    explicit XString(int value);
    /** One character; the zero character gives the empty string. */
    explicit XString(char c);
    /** Number text: decimals < 1 gives "%.9g"; otherwise the value truncated (not rounded) to that
        many decimals, e.g. (2.999, 2) is "2.99". Infinity, NaN and texts longer than 79 characters
        fall back to "%.9g". */
    XString(double value, int decimals);
    XString(const XString& other);
    /** Takes the other's block; the other becomes empty. */
    XString(XString&& other) noexcept;
    ~XString();

    XString& operator=(const XString& other);
    XString& operator=(XString&& other) noexcept;
    /** Reuses the own block when it is private, large enough and at most about twice too large. */
    XString& operator=(const char* text);
    XString& operator=(char c);
    XString& operator=(int value);
    /** An integral value gives two decimals ("5.00"); any other value "%.9g". */
    XString& operator=(double value);
    /** The variant's text form (XVariant::ToString); defined in XStringVariant.cpp. */
    XString& operator=(const XVariant& value);

    // Access -------------------------------------------------------------------------------------

    /** Characters up to the first zero (never stored: counted on each call). */
    int Length() const;
    bool IsEmpty() const { return Text()[0] == 0; }
    const char* CStr() const { return Text(); }
    /** Writable text after making the block private; for an empty string a static empty text that
        must not be written. */
    char* GetBuffer();
    /** Writable pointer to the character at index after making the block private; no bounds check. */
    char* GetBufferAt(int index);
    /** Copies min(length, max) characters and a zero: buffer needs max + 1 bytes. */
    void CopyTo(char* buffer, int max) const;
    /** The character at index, 0 when index >= length. */
    char CharAt(unsigned index) const;
    char LastChar() const;
    /** Makes the block private, then stores c at index (no bounds check). */
    void SetCharAt(int index, char c);
    /** Grows the capacity to at least count characters (never shrinks). */
    void Reserve(int count);
    /** Cuts a longer text to count characters; beyond the capacity pads with blanks. */
    void SetLength(int count);
    /** Characters the block holds without growing, not counting the zero. */
    int Capacity() const;

    /** Number of strings that share this string's block (0x3fffffff for the empty block). */
    int GetRefCount() const;
    /** True when both strings point at the same block. */
    bool SharesBlockWith(const XString& other) const { return block == other.block; }
    /** The common empty string that operations hand out by sharing. */
    static const XString& Empty();

    // Comparison (byte order compares unsigned bytes, as strcmp) ---------------------------------

    bool operator==(const XString& other) const;
    bool operator!=(const XString& other) const { return !(*this == other); }
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator<(const char* text) const;
    bool operator<(const XString& other) const { return *this < other.CStr(); }
    /** -1, 0 or 1 in byte order. */
    int Compare(const char* text) const;
    /** caseSensitive: -1, 0 or 1; otherwise negative, zero or positive ignoring case. */
    int CompareWithCase(const char* text, bool caseSensitive) const;
    int CompareNoCase(const char* text) const;
    /** As CompareNoCase over at most count characters. */
    int CompareNoCaseN(const char* text, int count) const;
    bool EqualsNoCase(const char* text) const;
    bool EqualsNoCase(const XString& other) const;

    // Case conversion (A-Z and a-z only) ---------------------------------------------------------

    XString ToUpper() const;
    XString ToLower() const;
    void MakeUpper();
    void MakeLower();

    // Search: positions are 0-based, -1 means absent ---------------------------------------------

    int FindChar(char c) const;
    /** Null or "" gives -1. */
    int FindNoCase(const char* text) const;
    /** As FindNoCase, starting at from (from <= 0 starts at 0). */
    int FindNoCaseFrom(int from, const char* text) const;
    /** Last position, case-sensitive; null or "" gives -1. */
    int FindLast(const char* text) const;
    int FindLastNoCase(const char* text) const;
    /** Case-sensitive; "" occurs in every string, null in none. */
    bool Contains(const char* text) const;
    /** True when word occurs ignoring case with no letter or digit right before or after it. */
    bool ContainsWordNoCase(const char* word) const;
    /** Case-sensitive; "" gives true, null false. */
    bool StartsWith(const char* text) const;
    bool EndsWithChar(char c) const;
    /** Tries positions pos, pos + 1, ... ; on a match returns true with pos at the match. Otherwise
        false, with pos one past the last position tried (unchanged when none was tried). */
    bool FindFrom(const char* text, int& pos, bool noCase = false) const;
    /** pos = 0, then FindFrom. */
    bool Find(const char* text, int& pos, bool noCase = false) const;

    // Slicing: new strings; a result equal to the whole text shares the block -------------------

    /** Characters from..to-1, clipped to the text; from >= to gives "". */
    XString Sub(int from, int to) const;
    XString Left(int count) const;
    XString Mid(int pos, int count) const;
    /** pos < 1: the whole text; pos >= length: ""; else from pos to the end. */
    XString From(int pos) const;
    XString Right(int count) const;
    /** The first length - count characters. */
    XString DropRight(int count) const;
    /** Text behind the first occurrence (from the occurrence itself when keepMatch); "" when absent. */
    XString After(const char* text, bool keepMatch = false, bool caseSensitive = true) const;
    /** As After for the last occurrence; the whole text when absent. */
    XString AfterLast(const char* text, bool keepMatch = false, bool caseSensitive = true) const;
    /** Text before the last occurrence (through its end when includeMatch); the whole text when
        absent. Note: noCase true ignores case. */
    XString BeforeLast(const char* text, bool includeMatch = false, bool noCase = false) const;
    /** The first pos characters, then text, then the characters after pos + count (both clipped). */
    XString Splice(int pos, int count, const char* text) const;

    // Editing in place ---------------------------------------------------------------------------

    XString& operator+=(const char* text);
    /** When this string is empty it shares the other's block. */
    XString& operator+=(const XString& other);
    XString& AppendString(const XString& other) { return *this += other; }
    XString& operator+=(int value);
    XString& AppendInt(int value) { return *this += value; }
    XString& operator+=(char c);
    /** Appends count bytes; count <= 0 does nothing. */
    void AppendRaw(const void* data, int count);
    /** Appends the characters of text up to its zero, at most max. */
    void AppendN(const char* text, int max);
    void AppendBackslash();
    /** Appends '\' unless the text already ends with one. */
    void AddTrailingBackslash();
    /** Inserts before pos; pos > length leaves the text unchanged. */
    void InsertChar(int pos, char c);
    void Insert(int pos, const XString& text);
    /** Removes count characters at pos; pos > length leaves the text unchanged. */
    void Remove(int pos, int count);
    void RemoveChar(char c);
    /** Replaces every occurrence; returns the length. */
    int ReplaceChar(char from, char to);
    /** Cuts the text at its last '.'. */
    void StripExtension();
    /** Removes everything up to and including the first ':'. */
    void StripToColon();
    /** Replaces the text with printf-style output; the own text may be one of the arguments. */
    XString& Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    XString& FormatV(const char* format, va_list args);
    /** Upper-case hexadecimal, no prefix, at least two digits ("0A", "1F4"). */
    void SetHex(unsigned value);

    // New strings --------------------------------------------------------------------------------

    /** When either side is empty the result shares the other side's block. */
    XString operator+(const XString& other) const;
    XString operator+(const char* text) const;
    /** Every occurrence of find replaced by replacement; inserted text is never searched again. */
    XString ReplaceAll(const char* find, const char* replacement, bool noCase = false) const;
    XString ReplaceCharCopy(char from, char to) const;
    /** c = ' ' removes all trailing white space; any other c the trailing run of c. */
    XString TrimRight(char c = ' ') const;
    /** Only the characters that occur in set, in their order. */
    XString KeepChars(const char* set) const;

    // Numbers ------------------------------------------------------------------------------------

    int ToInt() const;
    float ToFloat() const;
    /** Accumulates the hexadecimal digits from left to right, skipping every other character. */
    int HexToInt() const;
    /** The run of digits at the end (0 when none), negative when a '-' stands before it. */
    int GetTrailingNumber() const;
    /** Non-empty, all digits; the first may be '+' or '-'. */
    bool IsInteger() const;
    /** Non-empty, digits and exactly one '.'; the first may be '+' or '-'. */
    bool IsDecimal() const;
    /** Non-empty, all hexadecimal digits after an optional leading "0x". */
    bool IsNumeric() const;

    // Placeholders '%1' to '%9' -------------------------------------------------------------------

    /** Finds the placeholder with the lowest digit (the first among equals). */
    bool FindLowestArg(int& number, int& pos) const;
    /** Copy with the lowest placeholder replaced by the decimal text of value. */
    XString ArgInt(int value) const;
    XString Arg(const XString& text) const;

    // Lines and tokens (pos is kept by the caller) -----------------------------------------------

    /** The character at pos, pos advanced; CR LF reads as one '\n'; 0 at the end. */
    char NextChar(unsigned& pos) const;
    /** The text up to the next line feed (or CR LF); pos moves behind the line end, to length + 1
        after the last line. */
    XString ReadLine(unsigned& pos) const;
    /** sep = 0 reads a line; else the text up to the next sep, pos behind it (at most the length). */
    XString NextToken(unsigned& pos, char sep) const;

    // Backslash paths ----------------------------------------------------------------------------

    /** The text behind the last '.', "" when there is none. */
    void GetExtension(XString& out) const;
    /** The upper-case drive letter of "c:" or "c:\..."; else 0. */
    char GetDriveLetter() const;
    /** The text behind the last '\' after trailing backslashes are dropped. */
    void GetLastComponent(XString& out) const;
    /** Turns every '/' into '\' in place; out = the text behind the last '\'. */
    void GetFileName(XString& out);
    /** In place: "C:\dir\file" -> "C:\dir", "C:\dir\" -> "C:", "C:\" stays, "name" -> "". */
    void StripLastComponent();
    /** out = a copy with StripLastComponent applied. */
    void GetParentFolder(XString& out) const;

    // Whole files (XStringFile.cpp) ----------------------------------------------------------------

    /** Replaces the text with the file's bytes (up to its first zero byte). False and "" when the
        file cannot be opened, is too large or cannot be read; false with the text unchanged for an
        empty file. */
    bool LoadFromFile(const char* path);
    /** Writes the characters (no zero) to the file, created anew. False for an empty text, a failed
        open or when not every character could be written. */
    bool SaveToFile(const char* path) const;

    /** Two lower-case hex digits per byte; group >= 1 puts a blank between groups of that many
        bytes. length < 1 gives "". */
    static void HexDump(XString& out, const void* data, int length, int group);

private:
    struct Block
    {
        std::atomic<int32_t> refCount;
        int32_t capacity;
    };

    static Block* EmptyBlock();
    static Block* Allocate(int capacity);
    static void AddRef(Block* b);
    static char* TextOf(Block* b)
    {
        return reinterpret_cast<char*>(b + 1);
    }
    static void Release(Block* b);

    const char* Text() const
    {
        return TextOf(block);
    }
    char* Text()
    {
        return TextOf(block);
    }
    bool IsShared() const;
    void MakePrivate();
    void TakeEmpty();
    void Adopt(Block* b);
    void AppendBytes(const char* data, int count);
    int FindCaseSensitive(const char* text, int from) const;

    Block* block;
};

/** Plain text then the string. */
XString operator+(const char* text, const XString& s);

/** a-z to A-Z; other bytes unchanged. */
char ToUpperChar(char c);
/** A-Z to a-z; other bytes unchanged. */
char ToLowerChar(char c);
bool IsDigitChar(char c);

/** Writes a zero at end[-1] and the decimal digits of value backwards before it ('-' for negatives);
    returns the first character. end points one past the caller's scratch area (12 bytes suffice). */
char* IntToText(char* end, int value);

/** base to an integer power by repeated squaring; a negative exponent gives the reciprocal. */
double IntPower(double base, int exponent);
