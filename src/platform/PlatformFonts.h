#pragma once

#include <cstddef>
#include <juce_graphics/juce_graphics.h>

/** The fonts of this system as the skin names them. Skins name Windows families in any letter case
    ("arial", "Tahoma"), while JUCE here matches family names exactly and draws nothing for a family
    that is not installed. Every family therefore goes through ResolveFamily: an installed (or
    process-loaded) family of that name regardless of case, else a substitute from a table of
    Windows families, else the default sans-serif family. The first use also makes that default
    family JUCE's fallback font, so that glyphs missing from a face are drawn from it.

    Skin fonts are loaded into this process only (LoadFontFile), never installed into a system
    folder; fonts built by MakeFont use them directly.

    Thread-safe: the tables are guarded by one internal lock. */
class PlatformFonts final
{
public:
    /** The family to draw with for a requested family name (see the class comment); never empty
        while any font is installed. */
    static juce::String ResolveFamily(const juce::String& requested);

    /** A JUCE font of the resolved family with that height and style. */
    static juce::Font MakeFont(const juce::String& family, float height, bool bold, bool italic);

    /** The installed sans-serif family that stands in for missing families. */
    static juce::String GetDefaultSansFamily();

    /** Makes the default sans-serif family JUCE's fallback font (done once, also by the first
        ResolveFamily or MakeFont). */
    static void InstallFallbackFont();

    /** Loads a font file into this process. Returns its family name, or "" when the file is missing
        or not a font. A family that is already installed or loaded is not loaded twice (its name is
        returned). */
    static juce::String LoadFontFile(const juce::File& file);

    /** As LoadFontFile, from font data in memory (copied). */
    static juce::String LoadFontData(const void* data, size_t size);

    /** The process-loaded typeface of that family (ignoring case) closest to the style, or null when
        no such family was loaded; for a look-and-feel that resolves fonts by name. */
    static juce::Typeface::Ptr FindLoadedTypeface(const juce::String& family, bool bold, bool italic);

    PlatformFonts() = delete;
};
