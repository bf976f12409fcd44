#include "gui/XFont.h"

#include "core/MemoryDataIO.h"
#include "core/StringToPtrMap.h"
#include "core/StringToValueMap.h"
#include "core/XScanner.h"
#include "core/XStringConversion.h"
#include "gui/ISkinTextReader.h"
#include "platform/PlatformFonts.h"

#include <cstring>
#include <memory>

namespace
{
/** Families that skins name, with the typeface that stands for them (compared lower-cased). */
struct FamilyAlias
{
    const char* requested;
    const char* used;
};

const FamilyAlias kFamilyAliases[] = {
    {"geneva", "arial"},           {"espy", "tahoma"}, {"charcoal", "tahoma"}, {"lcd", "TarnwellLCD"},
    {"arialblack", "arial black"},
};

/** The size of a named font that is asked for before it is defined. */
constexpr int32_t kCreatedNamedFontSize = 10;

/** The registries live for the process and are never emptied; their values are owned here. */
StringToPtrMap<XFont>& FontCache()
{
    static auto* cache = new StringToPtrMap<XFont>();
    return *cache;
}

StringToValueMap<XFontDescriptor>& NamedFonts()
{
    static auto* named = new StringToValueMap<XFontDescriptor>();
    return *named;
}

XString AliasOf(const XString& family)
{
    const XString lower = family.ToLower();
    for (const auto& alias : kFamilyAliases)
        if (lower == alias.requested)
            return XString(alias.used);
    return family;
}

/** Reads the entries of a font table: font : NAME { KEY = VALUE ... } ... */
class FontTableReader final
{
public:
    explicit FontTableReader(XScanner& scannerIn) : scanner(scannerIn) {}

    int32_t ReadAll()
    {
        for (XToken token = scanner.NextToken(); token.type != XToken::kEnd; token = scanner.NextToken())
        {
            // A stray word between entries is skipped.
            if (!token.text.EqualsNoCase("font"))
                continue;
            if (!scanner.NextToken().IsChar(':'))
                return XFont::kResultOk;
            const XToken name = scanner.NextToken();
            if (name.type == XToken::kEnd || !scanner.NextToken().IsChar('{'))
                return XFont::kResultOk;

            XFontDescriptor description;
            // A malformed pair ends the whole load; that entry is not defined.
            const int32_t result = ReadPairs(description);
            if (result != XFont::kResultOk)
                return result;
            XFont::DefineNamedFont(name.text, description);
        }
        return XFont::kResultOk;
    }

private:
    /** Applies KEY = VALUE pairs up to '}', the end of the text or a value of the wrong kind. */
    int32_t ReadPairs(XFontDescriptor& description)
    {
        for (;;)
        {
            const XToken key = scanner.NextToken();
            if (key.IsChar('}') || key.type == XToken::kEnd)
                return XFont::kResultOk;
            if (!scanner.NextToken().IsChar('='))
                return XFont::kTableMalformed;
            if (!Apply(key.text, scanner.NextToken(), description))
                return XFont::kResultOk;
        }
    }

    /** False when the value has the wrong kind for the key, which ends the entry. */
    static bool Apply(const XString& key, const XToken& value, XFontDescriptor& description)
    {
        const auto startsWith = [&key](const char* prefix)
        { return key.CompareNoCaseN(prefix, static_cast<int>(std::strlen(prefix))) == 0; };

        if (startsWith("fa"))
        {
            if (!value.IsName())
                return false;
            description.family = value.text;
        }
        else if (startsWith("si") || startsWith("po") || startsWith("pt"))
        {
            if (value.type != XToken::kInteger)
                return false;
            description.size = value.intValue;
        }
        else if (startsWith("bo"))
            return ApplyFlag(value, description.bold);
        else if (startsWith("it"))
            return ApplyFlag(value, description.italic);
        else if (startsWith("un"))
            return ApplyFlag(value, description.underline);
        else if (key.EqualsNoCase("copy") || startsWith("dup"))
        {
            if (!value.IsName())
                return false;
            if (const XFontDescriptor* source = XFont::FindNamedFontDescriptor(value.text))
                description = *source;
        }
        return true;
    }

    static bool ApplyFlag(const XToken& value, uint8_t& flag)
    {
        if (value.type != XToken::kBoolean)
            return false;
        flag = value.boolValue != 0 ? 1 : 0;
        return true;
    }

    XScanner& scanner;
};
} // namespace

XFont::XFont()
{
    PlatformFonts::InstallFallbackFont();
}

XFont::XFont(const XString& family, int32_t size, int32_t weight, bool italic)
    : font(PlatformFonts::MakeFont(ToJuceString(family),
                                   static_cast<float>(static_cast<int64_t>(size) * 12 / 10),
                                   weight == kWeightBold, italic))
{
}

int XFont::GetStringWidth(const XString& text) const
{
    if (text.IsEmpty())
        return 0;
    return font.getStringWidth(ToJuceString(text));
}

int XFont::GetHeight() const
{
    return static_cast<int>(font.getHeight());
}

XFont* XFont::GetFont(const XString& family, int32_t size, bool bold, bool italic, bool underline)
{
    XString key;
    key.Format("%s,%d,%d,%d,%d", family.CStr(), size, bold ? 1 : 0, italic ? 1 : 0, underline ? 1 : 0);
    auto& cache = FontCache();
    if (XFont* cached = cache.Find(key.CStr()))
        return cached;

    auto font = std::make_unique<XFont>(AliasOf(family), size, bold ? kWeightBold : kWeightNormal, italic);
    if (!cache.Add(key.CStr(), font.get()))
        return nullptr;
    return font.release();
}

void XFont::DefineNamedFont(const XString& name, const XFontDescriptor& description)
{
    NamedFonts().Set(name.ToUpper().CStr(), description);
}

const XFontDescriptor* XFont::FindNamedFontDescriptor(const XString& name)
{
    return NamedFonts().Find(name.ToUpper().CStr());
}

XFont* XFont::FindNamedFont(const XString& name, bool create)
{
    if (const XFontDescriptor* description = FindNamedFontDescriptor(name))
        return GetFont(description->family, description->size, description->bold != 0,
                       description->italic != 0, description->underline != 0);
    if (create)
    {
        XFontDescriptor created;
        created.size = kCreatedNamedFontSize;
        DefineNamedFont(name, created);
    }
    return nullptr;
}

int32_t XFont::LoadFontTable(const XString& resourceName)
{
    XString text;
    if (!GetSkinTextReader().LoadTextFile(resourceName, text))
        return kTableMissing;

    MemoryDataIO input(text.GetBuffer(), text.Length());
    XScanner scanner(&input);
    FontTableReader reader(scanner);
    return reader.ReadAll();
}
