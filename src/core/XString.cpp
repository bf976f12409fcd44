#include "core/XString.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
constexpr int32_t kEmptyBlockCount = 0x3fffffff;
constexpr int kFormatStackSize = 256;
constexpr int kFormatMaxTries = 64;
constexpr int kNumberScratchSize = 80;
constexpr int kIntScratchSize = 64;

/** The one static empty block: a header followed by its zero text. */
struct EmptyStorage
{
    std::atomic<int32_t> refCount{kEmptyBlockCount};
    int32_t capacity = 0;
    char text[8] = {};
};
EmptyStorage emptyStorage;

int SafeLength(const char* text)
{
    return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

bool IsHexDigitChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsAlphaNumChar(char c)
{
    return IsDigitChar(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsWhiteChar(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/** Byte-order comparison giving -1, 0 or 1. */
int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

/** Compares at most count bytes ignoring case (A-Z folded to a-z), as unsigned bytes. */
int CompareFoldN(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        const int ca = static_cast<unsigned char>(ToLowerChar(a[i]));
        const int cb = static_cast<unsigned char>(ToLowerChar(b[i]));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
    return 0;
}

int CompareFold(const char* a, const char* b)
{
    return CompareFoldN(a, b, static_cast<size_t>(-1));
}

bool MatchesAt(const char* text, const char* find, int findLength, bool noCase)
{
    return noCase ? CompareFoldN(text, find, static_cast<size_t>(findLength)) == 0
                  : std::memcmp(text, find, static_cast<size_t>(findLength)) == 0;
}

/** Last position of find in the text, -1 when absent or find is null or "". */
int FindLastMatch(const char* text, int length, const char* find, bool noCase)
{
    const int findLength = SafeLength(find);
    for (int pos = length - findLength; findLength > 0 && pos >= 0; --pos)
        if (MatchesAt(text + pos, find, findLength, noCase))
            return pos;
    return -1;
}

/** Appends the UTF-8 form of one code point; invalid code points become '?'. */
int EncodeUtf8(uint32_t cp, char* out)
{
    if (cp >= 0xD800 && cp <= 0xDFFF)
        cp = '?';
    if (cp < 0x80)
    {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800)
    {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000)
    {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    if (cp < 0x110000)
    {
        out[0] = static_cast<char>(0xF0 | (cp >> 18));
        out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[3] = static_cast<char>(0x80 | (cp & 0x3F));
        return 4;
    }
    out[0] = '?';
    return 1;
}

/** Writes the truncated number text of a finite value into scratch; false when it would not fit. */
bool FormatTruncated(double value, int decimals, char* scratch, int size)
{
    const double v = std::fabs(value);
    // Room for the sign, the point and the zero.
    if (decimals > size - 4)
        return false;

    char digits[kNumberScratchSize];
    int count = 0; // digits are collected from the last one towards the front
    double scale = IntPower(10.0, decimals);
    for (int left = decimals; left > 0; --left)
    {
        if (!std::isfinite(v * scale))
            return false;
        digits[count++] = static_cast<char>('0' + static_cast<int>(std::fmod(std::trunc(v * scale), 10.0)));
        scale *= 0.1;
    }

    // The integral part from its exact value, so that rounding of the scale never drops a digit.
    char integral[kNumberScratchSize];
    const double whole = std::trunc(v);
    const int integralLength = std::snprintf(integral, sizeof integral, "%.0f", whole);
    if (integralLength <= 0 || integralLength + decimals + 2 >= size)
        return false;

    char* out = scratch;
    if (value < 0)
        *out++ = '-';
    std::memcpy(out, integral, static_cast<size_t>(integralLength));
    out += integralLength;
    *out++ = '.';
    while (count > 0)
        *out++ = digits[--count];
    *out = 0;
    return true;
}
} // namespace

// Free helpers -------------------------------------------------------------------------------------

char ToUpperChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char ToLowerChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigitChar(char c)
{
    return c >= '0' && c <= '9';
}

char* IntToText(char* end, int value)
{
    char* p = end;
    *--p = 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do
    {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    return p;
}

double IntPower(double base, int exponent)
{
    unsigned remaining =
        exponent < 0 ? 0u - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
    double result = 1.0;
    double square = base;
    while (remaining != 0)
    {
        if (remaining & 1u)
            result *= square;
        square *= square;
        remaining >>= 1;
    }
    return exponent < 0 ? 1.0 / result : result;
}

XString operator+(const char* text, const XString& s)
{
    XString result(text);
    result += s;
    return result;
}

// Blocks -------------------------------------------------------------------------------------------

XString::Block* XString::EmptyBlock()
{
    static_assert(sizeof(Block) == 8, "the empty storage mirrors the block header");
    return reinterpret_cast<Block*>(&emptyStorage);
}

void XString::AddRef(Block* b)
{
    // The empty block's count is never touched: it stays pinned at 0x3fffffff, can never reach
    // zero, and empty strings on many threads do not contend for one counter.
    if (b != EmptyBlock())
        b->refCount.fetch_add(1, std::memory_order_relaxed);
}

XString::Block* XString::Allocate(int capacity)
{
    void* memory = ::operator new(sizeof(Block) + static_cast<size_t>(capacity) + 1);
    Block* b = static_cast<Block*>(memory);
    new (&b->refCount) std::atomic<int32_t>(1);
    b->capacity = capacity;
    TextOf(b)[0] = 0;
    return b;
}

void XString::Release(Block* b)
{
    if (b != EmptyBlock() && b->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
    {
        b->refCount.~atomic();
        ::operator delete(b);
    }
}

bool XString::IsShared() const
{
    // Acquire, so that a block left private by other threads' releases is seen with their last reads done.
    return block->refCount.load(std::memory_order_acquire) >= 2;
}

void XString::MakePrivate()
{
    if (!IsShared())
        return;
    Block* copy = Allocate(block->capacity);
    std::memcpy(TextOf(copy), Text(), static_cast<size_t>(block->capacity) + 1);
    Release(block);
    block = copy;
}

void XString::TakeEmpty()
{
    Block* old = block;
    block = EmptyBlock();
    Release(old);
}

void XString::Adopt(Block* b)
{
    Block* old = block;
    block = b;
    Release(old);
}

const XString& XString::Empty()
{
    static const XString empty;
    return empty;
}

// Construction -------------------------------------------------------------------------------------

XString::XString() : block(EmptyBlock()) {}

XString::XString(const char* text) : block(EmptyBlock())
{
    const int length = SafeLength(text);
    if (length > 0)
    {
        block = Allocate(length);
        std::memcpy(Text(), text, static_cast<size_t>(length) + 1);
    }
}

XString::XString(const char* text, int count) : block(EmptyBlock())
{
    if (text == nullptr || count <= 0)
        return;
    int length = 0;
    while (length < count && text[length] != 0)
        ++length;
    if (length > 0)
    {
        block = Allocate(length);
        std::memcpy(Text(), text, static_cast<size_t>(length));
        Text()[length] = 0;
    }
}

XString::XString(const wchar_t* text) : block(EmptyBlock())
{
    if (text == nullptr || text[0] == 0)
        return;
    char unit[4];
    int length = 0;
    for (const wchar_t* w = text; *w != 0; ++w)
        length += EncodeUtf8(static_cast<uint32_t>(*w), unit);
    block = Allocate(length);
    char* out = Text();
    for (const wchar_t* w = text; *w != 0; ++w)
        out += EncodeUtf8(static_cast<uint32_t>(*w), out);
    *out = 0;
}

XString::XString(int value) : block(EmptyBlock())
{
    char scratch[kIntScratchSize];
    *this = IntToText(scratch + kIntScratchSize, value);
}

XString::XString(char c) : block(EmptyBlock())
{
    if (c != 0)
    {
        block = Allocate(1);
        Text()[0] = c;
        Text()[1] = 0;
    }
}

XString::XString(double value, int decimals) : block(EmptyBlock())
{
    char scratch[kNumberScratchSize];
    if (decimals < 1 || !std::isfinite(value) ||
        !FormatTruncated(value, decimals, scratch, kNumberScratchSize))
        std::snprintf(scratch, sizeof scratch, "%.9g", value);
    *this = scratch;
}

XString::XString(const XString& other) : block(other.block)
{
    AddRef(block);
}

XString::XString(XString&& other) noexcept : block(other.block)
{
    other.block = EmptyBlock();
}

XString::~XString()
{
    Release(block);
}

XString& XString::operator=(const XString& other)
{
    if (block != other.block)
    {
        AddRef(other.block);
        Adopt(other.block);
    }
    return *this;
}

XString& XString::operator=(XString&& other) noexcept
{
    if (this != &other)
    {
        Block* taken = other.block;
        other.block = EmptyBlock();
        Adopt(taken);
    }
    return *this;
}

XString& XString::operator=(const char* text)
{
    const int length = SafeLength(text);
    if (length == 0)
    {
        TakeEmpty();
        return *this;
    }
    const int capacity = block->capacity;
    if (!IsShared() && capacity >= length && capacity / 2 < length)
    {
        // text may point into the own block.
        std::memmove(Text(), text, static_cast<size_t>(length) + 1);
        return *this;
    }
    Block* fresh = Allocate(length);
    std::memcpy(TextOf(fresh), text, static_cast<size_t>(length) + 1);
    Adopt(fresh);
    return *this;
}

XString& XString::operator=(char c)
{
    if (c == 0)
    {
        TakeEmpty();
        return *this;
    }
    SetLength(1);
    Text()[0] = c;
    Text()[1] = 0;
    return *this;
}

XString& XString::operator=(int value)
{
    char scratch[kIntScratchSize];
    return *this = IntToText(scratch + kIntScratchSize, value);
}

XString& XString::operator=(double value)
{
    const bool integral = std::isfinite(value) && std::fabs(value) < 9.2e18 &&
                          static_cast<double>(static_cast<int64_t>(value)) == value;
    if (integral)
        return *this = XString(value, 2);
    char scratch[kNumberScratchSize];
    std::snprintf(scratch, sizeof scratch, "%.9g", value);
    return *this = scratch;
}

// Access -------------------------------------------------------------------------------------------

int XString::Length() const
{
    return static_cast<int>(std::strlen(Text()));
}

char* XString::GetBuffer()
{
    if (block == EmptyBlock())
        return Text();
    MakePrivate();
    return Text();
}

char* XString::GetBufferAt(int index)
{
    MakePrivate();
    return Text() + index;
}

void XString::CopyTo(char* buffer, int max) const
{
    if (buffer == nullptr || max < 0)
        return;
    int count = Length();
    if (count > max)
        count = max;
    std::memcpy(buffer, Text(), static_cast<size_t>(count));
    buffer[count] = 0;
}

char XString::CharAt(unsigned index) const
{
    return index < static_cast<unsigned>(Length()) ? Text()[index] : 0;
}

char XString::LastChar() const
{
    const int length = Length();
    return length == 0 ? 0 : Text()[length - 1];
}

void XString::SetCharAt(int index, char c)
{
    MakePrivate();
    Text()[index] = c;
}

void XString::Reserve(int count)
{
    if (block->capacity >= count)
        return;
    const int length = Length();
    Block* grown = Allocate(count);
    std::memcpy(TextOf(grown), Text(), static_cast<size_t>(length) + 1);
    Adopt(grown);
}

void XString::SetLength(int count)
{
    if (count <= 0)
    {
        // Keeps a private block for later reuse; never allocates for an empty text.
        if (IsShared())
            TakeEmpty();
        else
            Text()[0] = 0;
        return;
    }
    MakePrivate();
    const int capacity = block->capacity;
    if (count < capacity)
    {
        Text()[count] = 0;
        return;
    }
    if (count == capacity)
        return;
    const int length = Length();
    Block* grown = Allocate(count);
    char* text = TextOf(grown);
    std::memcpy(text, Text(), static_cast<size_t>(length));
    std::memset(text + length, ' ', static_cast<size_t>(count - length));
    text[count] = 0;
    Adopt(grown);
}

int XString::Capacity() const
{
    return block->capacity;
}

int XString::GetRefCount() const
{
    return block->refCount.load(std::memory_order_relaxed);
}

// Comparison ---------------------------------------------------------------------------------------

bool XString::operator==(const XString& other) const
{
    return block == other.block || std::strcmp(Text(), other.Text()) == 0;
}

bool XString::operator==(const char* text) const
{
    return std::strcmp(Text(), text == nullptr ? "" : text) == 0;
}

bool XString::operator<(const char* text) const
{
    return Compare(text) < 0;
}

int XString::Compare(const char* text) const
{
    return Sign(std::strcmp(Text(), text == nullptr ? "" : text));
}

int XString::CompareWithCase(const char* text, bool caseSensitive) const
{
    return caseSensitive ? Compare(text) : CompareNoCase(text);
}

int XString::CompareNoCase(const char* text) const
{
    return CompareFold(Text(), text == nullptr ? "" : text);
}

int XString::CompareNoCaseN(const char* text, int count) const
{
    if (count <= 0)
        return 0;
    return CompareFoldN(Text(), text == nullptr ? "" : text, static_cast<size_t>(count));
}

bool XString::EqualsNoCase(const char* text) const
{
    return CompareNoCase(text) == 0;
}

bool XString::EqualsNoCase(const XString& other) const
{
    return block == other.block || CompareNoCase(other.Text()) == 0;
}

// Case conversion ----------------------------------------------------------------------------------

XString XString::ToUpper() const
{
    XString result(*this);
    result.MakeUpper();
    return result;
}

XString XString::ToLower() const
{
    XString result(*this);
    result.MakeLower();
    return result;
}

void XString::MakeUpper()
{
    if (IsEmpty())
        return;
    MakePrivate();
    for (char* p = Text(); *p != 0; ++p)
        *p = ToUpperChar(*p);
}

void XString::MakeLower()
{
    if (IsEmpty())
        return;
    MakePrivate();
    for (char* p = Text(); *p != 0; ++p)
        *p = ToLowerChar(*p);
}

// Search -------------------------------------------------------------------------------------------

int XString::FindChar(char c) const
{
    if (c == 0)
        return -1;
    const char* p = std::strchr(Text(), c);
    return p == nullptr ? -1 : static_cast<int>(p - Text());
}

int XString::FindCaseSensitive(const char* text, int from) const
{
    const int length = Length();
    if (text == nullptr || text[0] == 0 || from < 0 || from >= length)
        return -1;
    const char* p = std::strstr(Text() + from, text);
    return p == nullptr ? -1 : static_cast<int>(p - Text());
}

int XString::FindNoCase(const char* text) const
{
    return FindNoCaseFrom(0, text);
}

int XString::FindNoCaseFrom(int from, const char* text) const
{
    int pos = from < 0 ? 0 : from;
    return FindFrom(text, pos, true) ? pos : -1;
}

int XString::FindLast(const char* text) const
{
    return FindLastMatch(Text(), Length(), text, false);
}

int XString::FindLastNoCase(const char* text) const
{
    return FindLastMatch(Text(), Length(), text, true);
}

bool XString::Contains(const char* text) const
{
    return text != nullptr && std::strstr(Text(), text) != nullptr;
}

bool XString::ContainsWordNoCase(const char* word) const
{
    const int wordLength = SafeLength(word);
    if (wordLength == 0)
        return false;
    const char* text = Text();
    for (int pos = Length() - wordLength; pos >= 0; --pos)
    {
        if (!MatchesAt(text + pos, word, wordLength, true))
            continue;
        const char before = pos == 0 ? ' ' : text[pos - 1];
        const char after = text[pos + wordLength];
        if (!IsAlphaNumChar(before) && !IsAlphaNumChar(after))
            return true;
    }
    return false;
}

bool XString::StartsWith(const char* text) const
{
    if (text == nullptr)
        return false;
    return std::strncmp(Text(), text, std::strlen(text)) == 0;
}

bool XString::EndsWithChar(char c) const
{
    const int length = Length();
    return length > 0 && Text()[length - 1] == c;
}

bool XString::FindFrom(const char* text, int& pos, bool noCase) const
{
    const int findLength = SafeLength(text);
    const int length = Length();
    if (findLength == 0 || length == 0 || pos > length)
        return false;
    if (pos < 0)
        pos = 0;
    for (; pos <= length - findLength; ++pos)
        if (MatchesAt(Text() + pos, text, findLength, noCase))
            return true;
    return false;
}

bool XString::Find(const char* text, int& pos, bool noCase) const
{
    pos = 0;
    return FindFrom(text, pos, noCase);
}

// Slicing ------------------------------------------------------------------------------------------

XString XString::Sub(int from, int to) const
{
    if (from < 0)
        from = 0;
    if (from >= to)
        return XString();
    const int length = Length();
    if (from >= length)
        return XString();
    if (to >= length)
    {
        if (from == 0)
            return *this;
        to = length;
    }
    return XString(Text() + from, to - from);
}

XString XString::Left(int count) const
{
    return Sub(0, count);
}

XString XString::Mid(int pos, int count) const
{
    const int64_t to = static_cast<int64_t>(pos) + count;
    return Sub(pos, to > INT32_MAX ? INT32_MAX : static_cast<int>(to));
}

XString XString::From(int pos) const
{
    if (pos < 1)
        return *this;
    const int length = Length();
    if (pos >= length)
        return XString();
    return XString(Text() + pos, length - pos);
}

XString XString::Right(int count) const
{
    return From(Length() - count);
}

XString XString::DropRight(int count) const
{
    const int keep = Length() - count;
    return keep <= 0 ? XString() : Left(keep);
}

XString XString::After(const char* text, bool keepMatch, bool caseSensitive) const
{
    const int pos = caseSensitive ? FindCaseSensitive(text, 0) : FindNoCase(text);
    if (pos < 0)
        return XString();
    return From(keepMatch ? pos : pos + SafeLength(text));
}

XString XString::AfterLast(const char* text, bool keepMatch, bool caseSensitive) const
{
    const int pos = caseSensitive ? FindLast(text) : FindLastNoCase(text);
    if (pos < 0)
        return *this;
    return From(keepMatch ? pos : pos + SafeLength(text));
}

XString XString::BeforeLast(const char* text, bool includeMatch, bool noCase) const
{
    const int pos = noCase ? FindLastNoCase(text) : FindLast(text);
    if (pos < 0)
        return *this;
    return Left(includeMatch ? pos + SafeLength(text) : pos);
}

XString XString::Splice(int pos, int count, const char* text) const
{
    const int length = Length();
    if (pos < 0)
        pos = 0;
    if (count < 0)
        count = 0;
    if (static_cast<int64_t>(pos) + count > length)
    {
        if (pos > length)
            pos = length;
        count = length - pos;
    }
    const int insertLength = SafeLength(text);
    const int tail = length - pos - count;
    const int total = pos + insertLength + tail;
    if (total == 0)
        return XString();
    if (insertLength == 0 && count == 0)
        return *this;
    XString result;
    result.Adopt(Allocate(total));
    char* out = result.Text();
    std::memcpy(out, Text(), static_cast<size_t>(pos));
    if (insertLength > 0)
        std::memcpy(out + pos, text, static_cast<size_t>(insertLength));
    std::memcpy(out + pos + insertLength, Text() + pos + count, static_cast<size_t>(tail));
    out[total] = 0;
    return result;
}

// Editing in place ---------------------------------------------------------------------------------

void XString::AppendBytes(const char* data, int count)
{
    if (count <= 0)
        return;
    const int length = Length();
    const int needed = length + count;
    if (!IsShared() && block->capacity >= needed)
    {
        // data may point into the own text.
        std::memmove(Text() + length, data, static_cast<size_t>(count));
        Text()[needed] = 0;
        return;
    }
    // A new exact block; the old one (which data may point into) is released only afterwards.
    Block* grown = Allocate(needed);
    char* text = TextOf(grown);
    std::memcpy(text, Text(), static_cast<size_t>(length));
    std::memcpy(text + length, data, static_cast<size_t>(count));
    text[needed] = 0;
    Adopt(grown);
}

XString& XString::operator+=(const char* text)
{
    AppendBytes(text, SafeLength(text));
    return *this;
}

XString& XString::operator+=(const XString& other)
{
    if (IsEmpty())
        return *this = other;
    AppendBytes(other.Text(), other.Length());
    return *this;
}

XString& XString::operator+=(int value)
{
    char scratch[kIntScratchSize];
    return *this += IntToText(scratch + kIntScratchSize, value);
}

XString& XString::operator+=(char c)
{
    AppendBytes(&c, 1);
    return *this;
}

void XString::AppendRaw(const void* data, int count)
{
    if (data != nullptr)
        AppendBytes(static_cast<const char*>(data), count);
}

void XString::AppendN(const char* text, int max)
{
    if (text == nullptr || max <= 0)
        return;
    int count = 0;
    while (count < max && text[count] != 0)
        ++count;
    AppendBytes(text, count);
}

void XString::AppendBackslash()
{
    *this += '\\';
}

void XString::AddTrailingBackslash()
{
    if (LastChar() != '\\')
        *this += '\\';
}

void XString::InsertChar(int pos, char c)
{
    const char text[2] = {c, 0};
    if (pos >= 0 && pos <= Length())
        *this = Splice(pos, 0, text);
}

void XString::Insert(int pos, const XString& text)
{
    if (pos >= 0 && pos <= Length())
        *this = Splice(pos, 0, text.CStr());
}

void XString::Remove(int pos, int count)
{
    if (pos >= 0 && pos <= Length() && count > 0)
        *this = Splice(pos, count, nullptr);
}

void XString::RemoveChar(char c)
{
    if (c == 0 || FindChar(c) < 0)
        return;
    XString result;
    result.Reserve(Length());
    for (const char* p = Text(); *p != 0; ++p)
        if (*p != c)
            result += *p;
    *this = std::move(result);
}

int XString::ReplaceChar(char from, char to)
{
    const int length = Length();
    if (length == 0 || from == 0 || FindChar(from) < 0)
        return length;
    MakePrivate();
    for (char* p = Text(); *p != 0; ++p)
        if (*p == from)
            *p = to;
    // Replacing by the zero character cuts the text.
    return Length();
}

void XString::StripExtension()
{
    const char* dot = std::strrchr(Text(), '.');
    if (dot != nullptr)
        SetLength(static_cast<int>(dot - Text()));
}

void XString::StripToColon()
{
    const int colon = FindChar(':');
    if (colon >= 0)
        *this = From(colon + 1);
}

XString& XString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
    return *this;
}

XString& XString::FormatV(const char* format, va_list args)
{
    if (format == nullptr)
    {
        TakeEmpty();
        return *this;
    }
    char stackBuffer[kFormatStackSize];
    va_list attempt;
    va_copy(attempt, args);
    int written = std::vsnprintf(stackBuffer, sizeof stackBuffer, format, attempt);
    va_end(attempt);

    if (written >= 0 && written < kFormatStackSize)
    {
        // The old block stays alive until the new text is built (it may be an argument).
        if (written == 0)
            TakeEmpty();
        else
        {
            Block* fresh = Allocate(written);
            std::memcpy(TextOf(fresh), stackBuffer, static_cast<size_t>(written) + 1);
            Adopt(fresh);
        }
        return *this;
    }

    // Did not fit. The C library reports the length it needed (it does not fail as the Windows one
    // does), so the second try gets an exact block; a fresh copy of the arguments serves each try.
    // An encoding error ends the attempts with an empty text.
    for (int tries = 0; written >= 0 && tries < kFormatMaxTries; ++tries)
    {
        Block* fresh = Allocate(written);
        const int needed = written;
        va_copy(attempt, args);
        written = std::vsnprintf(TextOf(fresh), static_cast<size_t>(needed) + 1, format, attempt);
        va_end(attempt);
        if (written >= 0 && written <= needed)
        {
            Adopt(fresh);
            return *this;
        }
        Release(fresh);
    }
    TakeEmpty();
    return *this;
}

void XString::SetHex(unsigned value)
{
    Format("%02X", value);
}

// New strings --------------------------------------------------------------------------------------

XString XString::operator+(const XString& other) const
{
    if (other.IsEmpty())
        return *this;
    if (IsEmpty())
        return other;
    XString result(*this);
    result.AppendBytes(other.Text(), other.Length());
    return result;
}

XString XString::operator+(const char* text) const
{
    XString result(*this);
    result += text;
    return result;
}

XString XString::ReplaceAll(const char* find, const char* replacement, bool noCase) const
{
    const int findLength = SafeLength(find);
    if (findLength == 0)
        return *this;
    // One pass over the original text: equal to splicing each match and searching on behind the
    // inserted replacement, since that search always resumes at the start of the untouched rest.
    int pos = 0;
    if (!FindFrom(find, pos, noCase))
        return *this;
    const char* text = Text();
    const int length = Length();
    XString result;
    int copiedUpTo = 0;
    do
    {
        result.AppendBytes(text + copiedUpTo, pos - copiedUpTo);
        result += replacement;
        pos += findLength;
        copiedUpTo = pos;
    } while (FindFrom(find, pos, noCase));
    result.AppendBytes(text + copiedUpTo, length - copiedUpTo);
    return result;
}

XString XString::ReplaceCharCopy(char from, char to) const
{
    XString result(*this);
    result.ReplaceChar(from, to);
    return result;
}

XString XString::TrimRight(char c) const
{
    const char* text = Text();
    int end = Length();
    while (end > 0 && (c == ' ' ? IsWhiteChar(text[end - 1]) : text[end - 1] == c))
        --end;
    return Left(end);
}

XString XString::KeepChars(const char* set) const
{
    if (set == nullptr || IsEmpty())
        return XString();
    XString result;
    for (const char* p = Text(); *p != 0; ++p)
        if (std::strchr(set, *p) != nullptr)
            result += *p;
    return result;
}

// Numbers ------------------------------------------------------------------------------------------

int XString::ToInt() const
{
    return std::atoi(Text());
}

float XString::ToFloat() const
{
    return static_cast<float>(std::atof(Text()));
}

int XString::HexToInt() const
{
    uint32_t value = 0;
    for (const char* p = Text(); *p != 0; ++p)
    {
        const char c = *p;
        if (c >= '0' && c <= '9')
            value = value * 16 + static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            value = value * 16 + static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + static_cast<uint32_t>(c - 'A' + 10);
    }
    return static_cast<int>(value);
}

int XString::GetTrailingNumber() const
{
    const char* text = Text();
    int start = Length();
    while (start > 0 && IsDigitChar(text[start - 1]))
        --start;
    uint32_t value = 0;
    for (const char* p = text + start; *p != 0; ++p)
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    if (start > 0 && text[start - 1] == '-')
        value = 0u - value;
    return static_cast<int>(value);
}

bool XString::IsInteger() const
{
    const char* p = Text();
    if (*p == 0)
        return false;
    if (*p == '+' || *p == '-')
        ++p;
    for (; *p != 0; ++p)
        if (!IsDigitChar(*p))
            return false;
    return true;
}

bool XString::IsDecimal() const
{
    const char* p = Text();
    if (*p == 0)
        return false;
    if (*p == '+' || *p == '-')
        ++p;
    int points = 0;
    for (; *p != 0; ++p)
    {
        if (*p == '.')
            ++points;
        else if (!IsDigitChar(*p))
            return false;
    }
    return points == 1;
}

bool XString::IsNumeric() const
{
    const char* p = Text();
    if (*p == 0)
        return false;
    if (p[0] == '0' && p[1] == 'x')
        p += 2;
    for (; *p != 0; ++p)
        if (!IsHexDigitChar(*p))
            return false;
    return true;
}

// Placeholders -------------------------------------------------------------------------------------

bool XString::FindLowestArg(int& number, int& pos) const
{
    const char* text = Text();
    int lowest = 10;
    for (int i = 0; text[i] != 0; ++i)
    {
        if (text[i] != '%' || text[i + 1] < '1' || text[i + 1] > '9')
            continue;
        const int digit = text[i + 1] - '0';
        if (digit < lowest)
        {
            lowest = digit;
            pos = i;
        }
    }
    if (lowest == 10)
        return false;
    number = lowest;
    return true;
}

XString XString::ArgInt(int value) const
{
    return Arg(XString(value));
}

XString XString::Arg(const XString& text) const
{
    int number = 0;
    int pos = 0;
    if (!FindLowestArg(number, pos))
        return *this;
    return Splice(pos, 2, text.CStr());
}

// Lines and tokens ---------------------------------------------------------------------------------

char XString::NextChar(unsigned& pos) const
{
    const unsigned length = static_cast<unsigned>(Length());
    if (pos >= length)
        return 0;
    char c = Text()[pos++];
    if (c == '\r')
    {
        if (pos >= length)
            return '\n';
        c = Text()[pos++];
    }
    return c;
}

XString XString::ReadLine(unsigned& pos) const
{
    const unsigned length = static_cast<unsigned>(Length());
    if (pos >= length)
        return XString();
    const char* text = Text();
    const char* lineFeed = std::strchr(text + pos, '\n');
    if (lineFeed == nullptr)
    {
        XString line(text + pos, static_cast<int>(length - pos));
        pos = length + 1;
        return line;
    }
    const unsigned end = static_cast<unsigned>(lineFeed - text);
    unsigned lineEnd = end;
    if (lineEnd > pos && text[lineEnd - 1] == '\r')
        --lineEnd;
    XString line(text + pos, static_cast<int>(lineEnd - pos));
    pos = end + 1;
    return line;
}

XString XString::NextToken(unsigned& pos, char sep) const
{
    if (sep == 0)
        return ReadLine(pos);
    const unsigned length = static_cast<unsigned>(Length());
    if (pos >= length)
        return XString();
    const char* text = Text();
    const char* found = std::strchr(text + pos, sep);
    const unsigned end = found == nullptr ? length : static_cast<unsigned>(found - text);
    XString token(text + pos, static_cast<int>(end - pos));
    pos = end + 1 > length ? length : end + 1;
    return token;
}

// Backslash paths ----------------------------------------------------------------------------------

void XString::GetExtension(XString& out) const
{
    const char* dot = std::strrchr(Text(), '.');
    if (dot == nullptr)
        out = XString();
    else
        out = XString(dot + 1);
}

char XString::GetDriveLetter() const
{
    const XString upper = ToUpper();
    const char* text = upper.CStr();
    const int length = upper.Length();
    if ((length == 2 && text[1] == ':') || (length >= 3 && text[1] == ':' && text[2] == '\\'))
        return text[0];
    return 0;
}

void XString::GetLastComponent(XString& out) const
{
    const XString trimmed = TrimRight('\\');
    const char* slash = std::strrchr(trimmed.CStr(), '\\');
    if (slash == nullptr)
        out = trimmed;
    else
        out = XString(slash + 1);
}

void XString::GetFileName(XString& out)
{
    ReplaceChar('/', '\\');
    const char* slash = std::strrchr(Text(), '\\');
    if (slash == nullptr)
        out = *this;
    else
        out = XString(slash + 1);
}

void XString::StripLastComponent()
{
    ReplaceChar('/', '\\');
    XString trimmed = TrimRight('\\');
    const int length = trimmed.Length();
    if (length <= 2)
        return;
    const int slash = trimmed.FindLast("\\");
    *this = slash >= 1 ? trimmed.Left(slash) : XString();
}

void XString::GetParentFolder(XString& out) const
{
    out = *this;
    out.StripLastComponent();
}

void XString::HexDump(XString& out, const void* data, int length, int group)
{
    static const char kDigits[] = "0123456789abcdef";
    if (data == nullptr || length < 1)
    {
        out = XString();
        return;
    }
    const int separators = group >= 1 ? (length - 1) / group : 0;
    XString result;
    result.Reserve(length * 2 + separators);
    char* text = result.GetBuffer();
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    int at = 0;
    for (int i = 0; i < length; ++i)
    {
        if (group >= 1 && i > 0 && i % group == 0)
            text[at++] = ' ';
        text[at++] = kDigits[bytes[i] >> 4];
        text[at++] = kDigits[bytes[i] & 0x0F];
    }
    text[at] = 0;
    out = std::move(result);
}
