#pragma once

#include "core/StringToStringMap.h"
#include "core/XString.h"
#include "gui/DescriptionText.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XViewCursors.h"

#include <juce_core/juce_core.h>
#include <set>
#include <string>
#include <vector>

/** The generated skin of the build (build/System) as the tests see it: where it is, the rows of its
    image manifest, and a log of the resources that descriptions ask for and the skin lacks. */
namespace SkinTestSupport
{
/** The skin folder the program uses. */
constexpr const char* kSkinFolder = "QM7";

/** The build's System folder, found as the program finds it: walking up from build/bin. */
inline juce::File BuiltSystemFolder()
{
    return juce::File(XResourceManager::FindSystemFolder(KRX_BIN_DIR).CStr());
}

inline juce::File ManifestFile()
{
    return juce::File(KRX_SOURCE_DIR).getChildFile("tools/skingen/ImageManifest.txt");
}

/** The fields of a manifest row that tests check: name, size, accent and sequence length. */
struct ManifestRow
{
    std::string name;
    int width = 0;
    int height = 0;
    int frames = 1;
    int line = 0;
    std::string accent; ///< the colour name the picture is drawn in, "-" for the kind's own
};

/** Reads the rows of the checked-in manifest (name WIDTHxHEIGHT kind accent frames ...). */
inline std::vector<ManifestRow> ReadManifestRows()
{
    std::vector<ManifestRow> rows;
    juce::StringArray lines;
    lines.addLines(ManifestFile().loadFileAsString());
    for (int index = 0; index < lines.size(); ++index)
    {
        const juce::String line = lines[index].trim();
        // Caption lines belong to the image row above them.
        if (line.isEmpty() || line.startsWithChar('#') || line.startsWith("caption"))
            continue;
        juce::StringArray fields;
        fields.addTokens(line, " \t", "\"");
        fields.removeEmptyStrings();
        ManifestRow row;
        row.line = index + 1;
        row.name = fields[0].toStdString();
        row.width = fields[1].upToFirstOccurrenceOf("x", false, false).getIntValue();
        row.height = fields[1].fromFirstOccurrenceOf("x", false, false).getIntValue();
        row.accent = fields[3].toStdString();
        row.frames = fields[4].getIntValue();
        rows.push_back(row);
    }
    return rows;
}

/** Makes the program's colour dictionary and named fonts those of the built skin. */
inline bool LoadSkinTables(const juce::File& systemFolder)
{
    const XString colours(systemFolder.getChildFile("GlobalColors.dat").getFullPathName().toRawUTF8());
    const XString fonts(systemFolder.getChildFile("GlobalFonts.dat").getFullPathName().toRawUTF8());
    return GetColorDictionary().Load(colours) == XColorDictionary::kResultOk &&
           XFont::LoadFontTable(fonts) == XFont::kResultOk;
}

/** Empties the program's colour dictionary and named fonts and the style's caches of them, as
    before any skin table was read: for tests that check what holds without a skin, whatever tests
    ran before them in the process. */
inline void ForgetSkinTables()
{
    GetColorDictionary().RemoveAll();
    XFont::ForgetNamedFonts();
    XStyle::ResetGlobalCaches();
}

/** Loads the built skin's colour and font tables and makes its images those of the program's
    resource manager; false when the tables do not load. */
inline bool UseBuiltSkin()
{
    const juce::File system = BuiltSystemFolder();
    if (!LoadSkinTables(system))
        return false;
    XResourceManager& resources = GetResourceManager();
    resources.SetBaseFolder(system.getFullPathName().toRawUTF8());
    if (resources.CountSkinFolders() == 0)
        resources.AddSkinFolder(kSkinFolder);
    return true;
}

/** A test-only log of what the skin lacks: texts a description reads (itself, its includes, macros
    and addtoview files), images it names, colour names of its colour keywords that the colour
    dictionary lacks, named fonts that are not defined, and cursor pictures of the base view.
    Uses the given resource manager; the colour dictionary and font table must be loaded. */
class SkinMissLog
{
public:
    explicit SkinMissLog(XResourceManager& resourceManager) : resources(resourceManager) {}

    /** Logs every resource of the description file (skin-relative name) that the skin lacks. */
    void CheckDescription(const XString& name, int depth = 0)
    {
        const DescriptionText::TextReader reader = [this](const XString& file, XString& text)
        {
            const bool found = resources.GetText(file, text);
            if (!found)
                misses.push_back(std::string("text ") + file.CStr());
            return found;
        };
        XString text;
        if (!reader(name, text))
            return;
        StringToStringMap macroArguments;
        const XString expanded = DescriptionText::Preprocess(text, reader, macroArguments);
        juce::StringArray lines;
        lines.addLines(juce::String::fromUTF8(expanded.CStr()));
        for (const juce::String& line : lines)
        {
            if (line.startsWith("//") || line.startsWithIgnoreCase("comment") || !line.containsChar(':'))
                continue;
            CheckLine(line.upToFirstOccurrenceOf(":", false, false),
                      line.fromFirstOccurrenceOf(":", false, false).trim(), depth);
        }
    }

    /** Logs every cursor picture of the base view that the skin lacks. The manager must not have
        loaded cursors before (a loaded cursor is told by the cache growing). */
    void CheckCursors()
    {
        for (int index = 0; index < XViewCursors::kImageCount; ++index)
        {
            const XCursorImage& cursor = XViewCursors::GetImage(index);
            const int before = resources.CountCachedCursors();
            resources.GetCursor(cursor.fileName, cursor.hotSpotX, cursor.hotSpotY);
            if (resources.CountCachedCursors() == before)
                misses.push_back(std::string("cursor ") + cursor.fileName);
        }
    }

    const std::vector<std::string>& GetMisses() const { return misses; }

private:
    static constexpr int kMaxNesting = 8;

    void CheckLine(const juce::String& keyword, const juce::String& value, int depth)
    {
        static const std::set<std::string> kColourKeywords = {
            "hiliteforecolor", "hilitebackcolor", "forecolor", "backcolor", "textcolor", "textlitcolor",
            "effectcolor",     "color1",          "color2",    "color3",    "color4",    "colorkey"};
        const std::string key = keyword.toStdString();
        if (key == "addtoview" && depth < kMaxNesting)
            CheckDescription(value.toRawUTF8(), depth + 1);
        else if (key == "imagename")
        {
            const juce::String image = value.startsWithChar('"')
                                           ? value.fromFirstOccurrenceOf("\"", false, false)
                                                 .upToFirstOccurrenceOf("\"", false, false)
                                           : value;
            if (resources.GetImage(image.toRawUTF8()) == nullptr)
                misses.push_back("image " + image.toStdString());
        }
        else if (kColourKeywords.count(key) != 0 && !juce::CharacterFunctions::isDigit(value[0]))
        {
            XRGB colour;
            if (GetColorDictionary().FindColor(value.toRawUTF8(), colour) != XColorDictionary::kResultOk)
                misses.push_back("colour " + value.toStdString());
        }
        else if (key == "font" && !value.containsChar(',') &&
                 XFont::FindNamedFontDescriptor(value.toRawUTF8()) == nullptr)
            misses.push_back("font " + value.toStdString());
    }

    XResourceManager& resources;
    std::vector<std::string> misses;
};
} // namespace SkinTestSupport
