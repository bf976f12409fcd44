#include "platform/PlatformFonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <climits>
#include <map>
#include <mutex>
#include <vector>

namespace
{
/** Windows families that skins name, with the installed families that stand in for them, best
    first. A family found nowhere here falls back to the default sans-serif family. */
struct FamilySubstitute
{
    const char* requested; // lower case
    const char* candidates[3];
};

const FamilySubstitute kFamilySubstitutes[] = {
    {"arial", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"tahoma", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"arial black", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"helvetica", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"verdana", {"DejaVu Sans", "Liberation Sans", nullptr}},
    {"times new roman", {"Liberation Serif", "DejaVu Serif", nullptr}},
    {"courier new", {"Liberation Mono", "DejaVu Sans Mono", nullptr}},
};

/** Sans-serif families tried, in order, for the default family. */
const char* const kDefaultSansCandidates[] = {"Liberation Sans", "DejaVu Sans"};

struct LoadedTypeface
{
    juce::String family;
    juce::String style;
    juce::Typeface::Ptr typeface;
};

/** The process-wide font tables; every field is guarded by lock. Created on first use and deleted
    with JUCE's other shut-down objects (DeletedAtShutdown), so that the loaded typefaces, and the
    font data they keep, go before JUCE's leak check at exit; a use after that starts afresh. */
struct FontTables final : private juce::DeletedAtShutdown
{
    FontTables() = default;
    ~FontTables() override
    {
        if (checkLibrary != nullptr)
            FT_Done_FreeType(checkLibrary);
        clearSingletonInstance();
    }

    std::mutex lock;
    bool scanned = false;
    juce::StringArray installedFamilies;
    juce::String defaultSans;
    std::map<juce::String, juce::String> resolvedByLowerName;
    std::vector<LoadedTypeface> loaded;
    /** The font engine handle used to check font data; null until first needed. */
    FT_Library checkLibrary = nullptr;

    JUCE_DECLARE_SINGLETON(FontTables, false)
    JUCE_DECLARE_NON_COPYABLE(FontTables)
};

JUCE_IMPLEMENT_SINGLETON(FontTables)

FontTables& Tables()
{
    return *FontTables::getInstance();
}

/** The installed family equal to name ignoring case, or "". Caller holds the lock. */
juce::String FindInstalled(const FontTables& tables, const juce::String& name)
{
    for (const auto& family : tables.installedFamilies)
        if (family.equalsIgnoreCase(name))
            return family;
    return {};
}

juce::String FindLoadedFamily(const FontTables& tables, const juce::String& name)
{
    for (const auto& entry : tables.loaded)
        if (entry.family.equalsIgnoreCase(name))
            return entry.family;
    return {};
}

/** Lists the installed families once and makes the default family JUCE's fallback font. Caller
    holds the lock. */
void ScanOnce(FontTables& tables)
{
    if (tables.scanned)
        return;
    tables.scanned = true;
    tables.installedFamilies = juce::Font::findAllTypefaceNames();

    for (const char* candidate : kDefaultSansCandidates)
    {
        tables.defaultSans = FindInstalled(tables, candidate);
        if (tables.defaultSans.isNotEmpty())
            break;
    }
    if (tables.defaultSans.isEmpty())
        tables.defaultSans = tables.installedFamilies.isEmpty() ? juce::Font::getDefaultSansSerifFontName()
                                                                : tables.installedFamilies[0];
    juce::Font::setFallbackFontName(tables.defaultSans);
}

/** The first installed stand-in for a missing Windows family (lower case), or "". */
juce::String FindSubstitute(const FontTables& tables, const juce::String& lowerName)
{
    for (const auto& substitute : kFamilySubstitutes)
    {
        if (lowerName != substitute.requested)
            continue;
        for (const char* candidate : substitute.candidates)
        {
            const juce::String family =
                candidate == nullptr ? juce::String() : FindInstalled(tables, candidate);
            if (family.isNotEmpty())
                return family;
        }
    }
    return {};
}

juce::String ResolveLocked(FontTables& tables, const juce::String& requested)
{
    ScanOnce(tables);
    const juce::String key = requested.trim().toLowerCase();
    if (key.isEmpty())
        return tables.defaultSans;

    const auto known = tables.resolvedByLowerName.find(key);
    if (known != tables.resolvedByLowerName.end())
        return known->second;

    juce::String family = FindLoadedFamily(tables, key);
    if (family.isEmpty())
        family = FindInstalled(tables, key);
    if (family.isEmpty())
        family = FindSubstitute(tables, key);
    if (family.isEmpty())
        family = tables.defaultSans;

    tables.resolvedByLowerName[key] = family;
    return family;
}

/** True when the font engine opens the data as a face with a character map. JUCE's loader uses the
    face and its first character map without checking either, so anything else would crash it.
    Caller holds the lock. */
bool IsUsableFontData(FontTables& tables, const void* data, size_t size)
{
    if (size > static_cast<size_t>(LONG_MAX))
        return false;
    if (tables.checkLibrary == nullptr && FT_Init_FreeType(&tables.checkLibrary) != 0)
    {
        tables.checkLibrary = nullptr;
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(tables.checkLibrary, static_cast<const FT_Byte*>(data), static_cast<FT_Long>(size),
                           0, &face) != 0)
        return false;
    const bool usable = face->num_charmaps > 0 && face->charmaps != nullptr && face->family_name != nullptr &&
                        face->family_name[0] != 0;
    FT_Done_Face(face);
    return usable;
}

juce::String StyleName(bool bold, bool italic)
{
    if (bold)
        return italic ? "Bold Italic" : "Bold";
    return italic ? "Italic" : "Regular";
}

juce::Typeface::Ptr FindLoadedLocked(const FontTables& tables, const juce::String& family, bool bold,
                                     bool italic)
{
    const juce::String wanted = StyleName(bold, italic);
    juce::Typeface::Ptr firstOfFamily;
    for (const auto& entry : tables.loaded)
    {
        if (!entry.family.equalsIgnoreCase(family))
            continue;
        if (entry.style.equalsIgnoreCase(wanted))
            return entry.typeface;
        if (firstOfFamily == nullptr)
            firstOfFamily = entry.typeface;
    }
    return firstOfFamily;
}
} // namespace

juce::String PlatformFonts::ResolveFamily(const juce::String& requested)
{
    auto& tables = Tables();
    const std::lock_guard<std::mutex> hold(tables.lock);
    return ResolveLocked(tables, requested);
}

juce::Font PlatformFonts::MakeFont(const juce::String& family, float height, bool bold, bool italic)
{
    auto& tables = Tables();
    juce::Typeface::Ptr loaded;
    juce::String resolved;
    {
        const std::lock_guard<std::mutex> hold(tables.lock);
        resolved = ResolveLocked(tables, family);
        loaded = FindLoadedLocked(tables, resolved, bold, italic);
    }
    if (loaded != nullptr)
    {
        juce::Font font(loaded);
        font.setHeight(height);
        return font;
    }
    const int styleFlags = (bold ? juce::Font::bold : 0) | (italic ? juce::Font::italic : 0);
    return juce::Font(resolved, height, styleFlags);
}

juce::String PlatformFonts::GetDefaultSansFamily()
{
    auto& tables = Tables();
    const std::lock_guard<std::mutex> hold(tables.lock);
    ScanOnce(tables);
    return tables.defaultSans;
}

void PlatformFonts::InstallFallbackFont()
{
    auto& tables = Tables();
    const std::lock_guard<std::mutex> hold(tables.lock);
    ScanOnce(tables);
}

juce::String PlatformFonts::LoadFontFile(const juce::File& file)
{
    juce::MemoryBlock data;
    if (!file.existsAsFile() || !file.loadFileAsData(data) || data.getSize() == 0)
        return {};
    return LoadFontData(data.getData(), data.getSize());
}

juce::String PlatformFonts::LoadFontData(const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return {};
    auto& tables = Tables();
    const std::lock_guard<std::mutex> hold(tables.lock);
    if (!IsUsableFontData(tables, data, size))
        return {};
    juce::Typeface::Ptr typeface = juce::Typeface::createSystemTypefaceFor(data, size);
    if (typeface == nullptr || typeface->getName().isEmpty())
        return {};

    const juce::String family = typeface->getName();
    const juce::String style = typeface->getStyle();
    ScanOnce(tables);
    if (FindInstalled(tables, family).isNotEmpty())
        return family;
    for (const auto& entry : tables.loaded)
        if (entry.family.equalsIgnoreCase(family) && entry.style.equalsIgnoreCase(style))
            return entry.family;

    tables.loaded.push_back({family, style, typeface});
    // Earlier answers may have substituted this family while it was missing.
    tables.resolvedByLowerName.clear();
    return family;
}

juce::Typeface::Ptr PlatformFonts::FindLoadedTypeface(const juce::String& family, bool bold, bool italic)
{
    auto& tables = Tables();
    const std::lock_guard<std::mutex> hold(tables.lock);
    return FindLoadedLocked(tables, family, bold, italic);
}
