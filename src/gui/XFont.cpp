#include "gui/XFont.h"

#include "core/Log.h"
#include "core/MemoryDataIO.h"
#include "core/StringToPtrMap.h"
#include "core/StringToValueMap.h"
#include "core/XResult.h"
#include "core/XScanner.h"
#include "core/XStringConversion.h"
#include "gui/ISkinTextReader.h"
#include "platform/PlatformFonts.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

/** The cache of fonts by description, owning its fonts. Created on first use and deleted with JUCE's
    other shut-down objects (DeletedAtShutdown): the fonts hold typefaces, and those must go before
    JUCE's leak check at exit. A use after JUCE's shut-down starts a new cache. */
class FontCacheHolder final : private juce::DeletedAtShutdown
{
public:
    FontCacheHolder() = default;
    ~FontCacheHolder() override { clearSingletonInstance(); }

    StringToPtrMap<XFont> byKey;
    std::vector<std::unique_ptr<XFont>> fonts;
    /** The default JUCE font (GetDefaultFont); null until asked for. */
    std::unique_ptr<XFont> defaultFont;

    JUCE_DECLARE_SINGLETON(FontCacheHolder, false)
    JUCE_DECLARE_NON_COPYABLE(FontCacheHolder)
};

JUCE_IMPLEMENT_SINGLETON(FontCacheHolder)

/** The named fonts live for the process, emptied only by ForgetNamedFonts; their values are owned
    here. */

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

/** Sizes a font of the table may have; others are refused. */
constexpr int64_t kSmallestTableSize = 1;
constexpr int64_t kLargestTableSize = 400;

/** Reads the entries of a font table: font : NAME { KEY = VALUE ... } ... Damage costs only the
    entry it is in, and is logged with its line: a missing ':' or '{' (the entry is skipped and
    reading goes on at the next "font"), a missing "}" (the next "font :" or the end of the text ends
    the entry, which is defined as read), an unbalanced quote (it ends at its line; the entry is
    skipped when it is in the name, else ended there) and a size out of range (the pair is left
    out). A key without "=" still ends the whole load. */
class FontTableReader final
{
public:
    FontTableReader(XScanner& scannerIn, const XString& fileNameIn) : scanner(scannerIn), fileName(fileNameIn)
    {
        scanner.SetLineBoundStrings(true);
    }

    int32_t ReadAll()
    {
        XToken token = scanner.NextToken();
        bool colonRead = false; // the next entry's "font :" has been read already
        for (;;)
        {
            if (!colonRead)
            {
                if (token.type == XToken::kEnd)
                    return XFont::kResultOk;
                // A stray word between entries is skipped.
                if (!token.text.EqualsNoCase("font"))
                {
                    token = scanner.NextToken();
                    continue;
                }
                const XToken colon = scanner.NextToken();
                if (!colon.IsChar(':'))
                {
                    Log(token.line, "entry", "has no ':' after the word font; it is skipped");
                    token = colon;
                    continue;
                }
            }
            colonRead = false;
            const XToken name = scanner.NextToken();
            if (name.type == XToken::kEnd)
                return XFont::kResultOk;
            if (name.unclosedString)
            {
                Log(name.line, XString("\"") + name.text, "has an unbalanced quote; the entry is skipped");
                token = scanner.NextToken();
                continue;
            }
            const XToken brace = scanner.NextToken();
            if (!brace.IsChar('{'))
            {
                Log(name.line, name.text, "has no '{'; the entry is skipped");
                token = brace;
                continue;
            }

            XFontDescriptor description;
            const EntryEnd end = ReadPairs(name, description);
            // A malformed pair ends the whole load; that entry is not defined.
            if (end == EntryEnd::kMalformed)
                return XFont::kTableMalformed;
            XFont::DefineNamedFont(name.text, description);
            colonRead = end == EntryEnd::kNextEntry;
            if (!colonRead)
                token = scanner.NextToken();
        }
    }

private:
    enum class EntryEnd
    {
        kDone,
        /** The entry had no "}": the next entry's "font :" has been read. */
        kNextEntry,
        /** A key without "=". */
        kMalformed,
    };

    /** Applies KEY = VALUE pairs up to '}', the end of the text, the next entry or a value of the
        wrong kind. */
    EntryEnd ReadPairs(const XToken& name, XFontDescriptor& description)
    {
        for (;;)
        {
            const XToken key = scanner.NextToken();
            if (key.IsChar('}'))
                return EntryEnd::kDone;
            if (key.type == XToken::kEnd)
            {
                Log(name.line, name.text, "has no closing }");
                return EntryEnd::kDone;
            }
            if (key.unclosedString)
            {
                Log(key.line, name.text, "has an unbalanced quote; the entry ends there");
                return EntryEnd::kDone;
            }
            const XToken separator = scanner.NextToken();
            if (key.text.EqualsNoCase("font") && separator.IsChar(':'))
            {
                Log(name.line, name.text, "has no closing }");
                return EntryEnd::kNextEntry;
            }
            if (!separator.IsChar('='))
                return EntryEnd::kMalformed;
            if (!Apply(name, key.text, scanner.NextToken(), description))
                return EntryEnd::kDone;
        }
    }

    /** False when the value has the wrong kind for the key, which ends the entry. */
    bool Apply(const XToken& name, const XString& key, const XToken& value, XFontDescriptor& description)
    {
        const auto startsWith = [&key](const char* prefix)
        { return key.CompareNoCaseN(prefix, static_cast<int>(std::strlen(prefix))) == 0; };

        if (value.unclosedString)
        {
            Log(value.line, name.text, "has an unbalanced quote; the entry ends there");
            return false;
        }
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
            // The token's own number wraps beyond 32 bits: the text is read again.
            const long long size = std::strtoll(value.text.CStr(), nullptr, 10);
            if (size < kSmallestTableSize || size > kLargestTableSize)
            {
                Log(value.line, name.text,
                    XString().Format("size %s is not from %d to %d; left out", value.text.CStr(),
                                     static_cast<int>(kSmallestTableSize),
                                     static_cast<int>(kLargestTableSize)));
                return true;
            }
            description.size = static_cast<int32_t>(size);
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

    void Log(int32_t line, const XString& fontName, const XString& problem) const
    {
        LogFormatted(nullptr, "XFont: %s, line %d: font %s %s", fileName.CStr(), line, fontName.CStr(),
                     problem.CStr());
    }

    XScanner& scanner;
    XString fileName;
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
    FontCacheHolder& cache = *FontCacheHolder::getInstance();
    if (XFont* cached = cache.byKey.Find(key.CStr()))
        return cached;

    auto font = std::make_unique<XFont>(AliasOf(family), size, bold ? kWeightBold : kWeightNormal, italic);
    if (!cache.byKey.Add(key.CStr(), font.get()))
        return nullptr;
    cache.fonts.push_back(std::move(font));
    return cache.fonts.back().get();
}

XFont* XFont::GetDefaultFont()
{
    FontCacheHolder& cache = *FontCacheHolder::getInstance();
    if (cache.defaultFont == nullptr)
        cache.defaultFont = std::make_unique<XFont>();
    return cache.defaultFont.get();
}

void XFont::DefineNamedFont(const XString& name, const XFontDescriptor& description)
{
    NamedFonts().Set(name.ToUpper().CStr(), description);
}

const XFontDescriptor* XFont::FindNamedFontDescriptor(const XString& name)
{
    return NamedFonts().Find(name.ToUpper().CStr());
}

void XFont::ForgetNamedFonts()
{
    NamedFonts().RemoveAll();
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
        return XResult::kFailed;

    MemoryDataIO input(text.GetBuffer(), text.Length());
    XScanner scanner(&input);
    FontTableReader reader(scanner, resourceName);
    return reader.ReadAll();
}
