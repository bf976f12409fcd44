#include "gui/XColorDictionary.h"

#include "core/MemoryDataIO.h"
#include "core/XScanner.h"
#include "core/XString.h"
#include "gui/ISkinTextReader.h"

namespace
{
constexpr XRGB kMissingColour(255, 0, 0, 255);

/** The tokens whose text is a colour name: letters, digits and "_", not starting with a digit. */
bool IsIdentifier(const XToken& token)
{
    return token.type == XToken::kWord || token.type == XToken::kKeyword ||
           token.type == XToken::kSecondKeyword || token.type == XToken::kBoolean;
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
    return colour != nullptr ? kResultOk : kNotFound;
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
        return kNotFound;

    MemoryDataIO input(text.GetBuffer(), text.Length());
    XScanner scanner(&input);
    for (XToken token = scanner.NextToken(); IsIdentifier(token); token = scanner.NextToken())
    {
        const XString name = token.text;
        scanner.NextToken(); // the separator, "=" by convention
        const XToken colour = scanner.NextToken();
        if (colour.type != XToken::kColour)
            break;
        SetColor(name.CStr(), colour.colour);
    }
    return kResultOk;
}

XColorDictionary& GetColorDictionary()
{
    static auto* dictionary = new XColorDictionary();
    return *dictionary;
}
