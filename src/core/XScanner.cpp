#include "core/XScanner.h"

#include "core/DecimalListReader.h"
#include "core/IDataIO.h"

#include <cstring>

namespace
{
const XKeywordEntry kBuiltInKeywords[] = {
    {"set", 0}, {"begin", 1}, {"end", 2}, {"define", 3}, {"add", 4}, {"create", 5}, {"END_TABLE", 0},
};

const char kTableEnd[] = "END_TABLE";
const char kPunctuation[] = "*=+&[]();:,.#{}";

bool IsWhitespace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsWordChar(int c)
{
    return IsLetter(c) || IsDigit(c) || c == '_';
}

bool IsPunctuation(int c)
{
    return c > 0 && std::strchr(kPunctuation, c) != nullptr;
}

/** The table value of word (compared ignoring case) in a table, or false when absent. */
bool FindKeyword(const XKeywordEntry* table, const XString& word, int32_t& value)
{
    if (table == nullptr)
        return false;
    for (const XKeywordEntry* entry = table;
         entry->text != nullptr && std::strcmp(entry->text, kTableEnd) != 0; ++entry)
    {
        if (word.EqualsNoCase(entry->text))
        {
            value = entry->value;
            return true;
        }
    }
    return false;
}
} // namespace

XScanner::XScanner(IDataIO* inputIn, int32_t optionsIn)
    : options(optionsIn), input(inputIn), keywords(kBuiltInKeywords)
{
}

const XKeywordEntry* XScanner::GetBuiltInKeywords()
{
    return kBuiltInKeywords;
}

void XScanner::SetKeywordTable(const XKeywordEntry* table)
{
    keywords = table != nullptr ? table : kBuiltInKeywords;
}

XToken XScanner::NextToken()
{
    if (!pushedBack.IsEmpty())
    {
        current = pushedBack;
        pushedBack.Clear();
    }
    else
    {
        previous = current;
        ReadToken();
    }
    return current;
}

int XScanner::ReadByte()
{
    if (heldByte != kNoByte)
    {
        const int byte = heldByte;
        heldByte = kNoByte;
        byteLine = heldLine;
        return byte;
    }
    // The end is where the stream has no more bytes; a byte of value 255 is an ordinary byte.
    byteLine = inputLine;
    unsigned char byte = 0;
    if (input == nullptr || input->Read(&byte, 1) != 1)
        return kNoByte;
    if (byte == '\n')
        ++inputLine;
    return byte;
}

void XScanner::Finish(int32_t type)
{
    current = XToken();
    current.type = type;
    current.text = XString(gathered.c_str(), static_cast<int>(gathered.size()));
    current.line = tokenLine;
}

void XScanner::ReadToken()
{
    gathered.clear();
    for (;;)
    {
        const int c = ReadByte();
        tokenLine = byteLine;
        if (c == kNoByte)
            return Finish(XToken::kEnd);

        if (IsWhitespace(c))
        {
            if (options != 0)
                return ScanWhitespace(c);
            continue;
        }

        if (c == '/')
        {
            const int next = ReadByte();
            if (next == '*')
            {
                SkipBlockComment();
                continue;
            }
            if (next == '/')
            {
                SkipLineComment();
                continue;
            }
            // A lone slash is dropped.
            PutBack(next);
            continue;
        }

        if (IsDigit(c))
            return ScanNumber(c, false);

        if (c == '-')
        {
            const int next = ReadByte();
            if (IsDigit(next))
                return ScanNumber(next, true);
            PutBack(next);
            gathered.push_back('-');
            return ScanUnknownRun();
        }

        if (IsLetter(c) || c == '_')
            return ScanWord(c);

        if (c == '"')
            return ScanString();

        gathered.push_back(static_cast<char>(c));
        return Finish(IsPunctuation(c) ? c : XToken::kUnknown);
    }
}

void XScanner::GatherWhile(bool (*accepts)(int))
{
    int c = ReadByte();
    while (c != kNoByte && accepts(c))
    {
        gathered.push_back(static_cast<char>(c));
        c = ReadByte();
    }
    PutBack(c);
}

void XScanner::ScanWhitespace(int firstByte)
{
    gathered.push_back(static_cast<char>(firstByte));
    GatherWhile(IsWhitespace);
    Finish(XToken::kWhitespace);
}

void XScanner::SkipBlockComment()
{
    // The end of the input inside a comment leaves the next read at the end, which gives 'a'.
    int before = kNoByte;
    for (int c = ReadByte(); c != kNoByte; c = ReadByte())
    {
        if (before == '*' && c == '/')
            return;
        before = c;
    }
}

void XScanner::SkipLineComment()
{
    for (int c = ReadByte(); c != kNoByte && c != '\n'; c = ReadByte())
    {
    }
}

void XScanner::ScanNumber(int firstByte, bool negative)
{
    int32_t kind = XToken::kInteger;
    gathered.push_back(static_cast<char>(firstByte));
    for (int c = ReadByte();; c = ReadByte())
    {
        const bool takes = IsDigit(c) || (c == '.' && kind == XToken::kInteger) ||
                           (c == ',' && kind != XToken::kReal) ||
                           (c == '-' && (kind == XToken::kPoint || kind == XToken::kRect));
        if (!takes)
        {
            PutBack(c);
            break;
        }
        if (c == '.')
            kind = XToken::kReal;
        else if (c == ',')
            kind = kind == XToken::kInteger ? XToken::kPoint
                   : kind == XToken::kPoint ? XToken::kColour
                                            : XToken::kRect;
        gathered.push_back(static_cast<char>(c));
    }

    // The minus sign belongs to an integer or real only; before a point, colour or rectangle it is
    // dropped.
    const bool signedKind = kind == XToken::kInteger || kind == XToken::kReal;
    if (negative && signedKind)
        gathered.insert(gathered.begin(), '-');
    Finish(kind);
    current.minusDropped = negative && !signedKind;

    switch (kind)
    {
    case XToken::kInteger:
        current.intValue = current.text.ToInt();
        break;
    case XToken::kReal:
        current.realValue = current.text.ToFloat();
        break;
    case XToken::kPoint:
    {
        int32_t xy[2] = {0, 0};
        ReadDecimalList(current.text.CStr(), xy, 2);
        current.point = XPoint(xy[0], xy[1]);
        break;
    }
    case XToken::kColour:
        current.colour = XRGB::Parse(current.text);
        break;
    default:
    {
        int32_t edges[4] = {0, 0, 0, 0};
        ReadDecimalList(current.text.CStr(), edges, 4);
        current.rect = XRect(edges[0], edges[1], edges[2], edges[3]);
        break;
    }
    }
}

void XScanner::ScanWord(int firstByte)
{
    gathered.push_back(static_cast<char>(firstByte));
    GatherWhile(IsWordChar);

    if (gathered == "true" || gathered == "false")
    {
        Finish(XToken::kBoolean);
        current.boolValue = gathered == "true" ? 1 : 0;
        return;
    }
    Finish(XToken::kWord);
    int32_t value = 0;
    if (FindKeyword(keywords, current.text, value))
        current.type = XToken::kKeyword;
    else if (FindKeyword(secondKeywords, current.text, value))
        current.type = XToken::kSecondKeyword;
    current.keywordValue = current.type == XToken::kWord ? 0 : value;
}

void XScanner::ScanString()
{
    for (int c = ReadByte(); c != kNoByte; c = ReadByte())
    {
        if (c == '"')
            return Finish(XToken::kString);
        if (lineBoundStrings && (c == '\n' || c == '\r'))
        {
            PutBack(c);
            break;
        }
        gathered.push_back(static_cast<char>(c));
    }
    // No closing quote before the end of the input (or of the line).
    Finish(XToken::kUnknown);
    current.unclosedString = true;
}

void XScanner::ScanUnknownRun()
{
    GatherWhile([](int c) { return !IsWhitespace(c); });
    Finish(XToken::kUnknown);
}
