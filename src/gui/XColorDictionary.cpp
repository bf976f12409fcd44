#include "gui/XColorDictionary.h"

#include "core/Log.h"
#include "core/MemoryDataIO.h"
#include "core/XResult.h"
#include "core/XScanner.h"
#include "core/XString.h"
#include "gui/ISkinTextReader.h"

namespace
{
constexpr XRGB kMissingColour(255, 0, 0, 255);
constexpr int kColourComponents = 3;
constexpr int kLargestComponent = 255;

/** The tokens whose text is a colour name: letters, digits and "_", not starting with a digit. */
bool IsIdentifier(const XToken& token)
{
    return token.type == XToken::kWord || token.type == XToken::kKeyword ||
           token.type == XToken::kSecondKeyword || token.type == XToken::kBoolean;
}

/** Why token is not a colour of the file (three decimal components from 0 to 255); null when it is
    one. */
const char* ColourProblem(const XToken& token)
{
    if (token.unclosedString)
        return "has an unbalanced quote";
    if (token.type == XToken::kEnd)
        return "has no colour";
    if (token.type != XToken::kColour)
        return "is not red,green,blue";
    if (token.minusDropped)
        return "has a negative component";
    unsigned pos = 0;
    for (int component = 0; component < kColourComponents; ++component)
    {
        const XString part = token.text.NextToken(pos, ',');
        if (part.IsEmpty())
            return "has an empty component";
        int value = 0;
        for (const char* digit = part.CStr(); *digit != 0; ++digit)
        {
            if (*digit < '0' || *digit > '9')
                return "has a negative component";
            value = value * 10 + (*digit - '0');
            if (value > kLargestComponent)
                return "has a component above 255";
        }
    }
    return nullptr;
}

/** The first token after line (the end token when there is none). */
XToken FirstTokenAfter(XScanner& scanner, int32_t line)
{
    XToken token = scanner.NextToken();
    while (token.type != XToken::kEnd && token.line <= line)
        token = scanner.NextToken();
    return token;
}

void LogSkippedEntry(const XString& fileName, int32_t line, const XString& what, const char* problem)
{
    LogFormatted(nullptr, "XColorDictionary: %s, line %d: %s %s; the entry is skipped", fileName.CStr(), line,
                 what.CStr(), problem);
}
} // namespace

XColorDictionary::~XColorDictionary() = default;

XRGB XColorDictionary::GetColor(const char* name) const
{
    XRGB colour;
    FindColor(name, colour);
    return colour;
}

int32_t XColorDictionary::FindColor(const char* name, XRGB& out) const
{
    const XRGB* colour = entries.Find(XString(name).ToUpper().CStr());
    out = colour != nullptr ? *colour : kMissingColour;
    return colour != nullptr ? kResultOk : XResult::kFailed;
}

XRGB XColorDictionary::GetColorOr(const char* name, const XRGB& fallback) const
{
    XRGB colour;
    return FindColor(name, colour) == kResultOk ? colour : fallback;
}

void XColorDictionary::SetColor(const char* name, const XRGB& colour)
{
    entries.Set(XString(name).ToUpper().CStr(), colour);
}

int32_t XColorDictionary::Load(const XString& fileName)
{
    XString text;
    if (!GetSkinTextReader().LoadTextFile(fileName, text))
        return XResult::kFailed;

    MemoryDataIO input(text.GetBuffer(), text.Length());
    XScanner scanner(&input);
    scanner.SetLineBoundStrings(true);
    XToken token = scanner.NextToken();
    while (token.type != XToken::kEnd)
    {
        if (!IsIdentifier(token))
        {
            if (token.unclosedString)
                LogSkippedEntry(fileName, token.line, XString("\"") + token.text, "has an unbalanced quote");
            else
                LogSkippedEntry(fileName, token.line, token.text, "is not a colour name");
            token = FirstTokenAfter(scanner, token.line);
            continue;
        }
        const XToken name = token;
        const XToken separator = scanner.NextToken(); // "=" by convention
        const XToken colour = scanner.NextToken();
        const char* problem = ColourProblem(colour);
        if (problem == nullptr)
        {
            SetColor(name.text.CStr(), colour.colour);
            token = scanner.NextToken();
            continue;
        }
        LogSkippedEntry(fileName, name.line, name.text, problem);
        // Reading goes on at the line after the bad entry's name; when the entry was cut short
        // there, the tokens already read belong to the entries that follow.
        if (separator.line > name.line)
        {
            scanner.PushBack(colour);
            token = separator;
        }
        else if (colour.line > name.line)
            token = colour;
        else
            token = FirstTokenAfter(scanner, name.line);
    }
    return kResultOk;
}

XColorDictionary& GetColorDictionary()
{
    static auto* dictionary = new XColorDictionary();
    return *dictionary;
}
