#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <cstdint>
#include <juce_graphics/juce_graphics.h>

/** The description of a font by family, nominal size and style flags, as the font table defines
    named fonts. */
struct XFontDescriptor
{
    /** The typeface family as written, before aliases. */
    XString family = "arial";
    /** The nominal size; the drawing height is derived from it (XFont). */
    int32_t size = 12;
    uint8_t bold = 0;
    uint8_t italic = 0;
    /** Part of the cache key only. */
    uint8_t underline = 0;
};

/** A font of the skin: one JUCE font built from a family, a nominal size (drawn 1.2 times as high)
    and style. XFont also keeps the program's two font registries: the cache of fonts by description,
    where every distinct description is built once and kept until JUCE shuts down (so views compare
    XFont pointers to see a change), and the named fonts ("small", "medium", ...) that the
    skin's font table defines and widgets ask for by name, regardless of case.

    Fonts are created and looked up on the GUI thread only; the registries have no lock. Pointers
    returned by GetFont, GetDefaultFont and FindNamedFont stay valid until JUCE shuts down
    (shutdownJuce_GUI) and must not be deleted. */
class XFont
{
public:
    static constexpr int32_t kWeightNormal = 40;
    static constexpr int32_t kWeightBold = 70;
    /** Results of LoadFontTable. */
    static constexpr int32_t kResultOk = 0;
    static constexpr int32_t kTableMalformed = static_cast<int32_t>(0x8000000B);

    /** The default JUCE font. */
    XFont();
    /** The family drawn at height truncate(size * 12 / 10); bold for weight 70, plain otherwise. */
    XFont(const XString& family, int32_t size, int32_t weight, bool italic);
    virtual ~XFont() = default;

    juce::Font GetJuceFont() const { return font; }
    /** 0 for an empty text, else the width of the (UTF-8) text in this font. */
    int GetStringWidth(const XString& text) const;
    /** The drawing height, truncated. */
    int GetHeight() const;

    /** The one cached font of this description (family as requested, then the alias table), built on
        the first request. */
    static XFont* GetFont(const XString& family, int32_t size, bool bold, bool italic, bool underline);
    /** The one cached default JUCE font, kept with the cache. */
    static XFont* GetDefaultFont();

    /** Stores (or replaces) the named font's description under the name regardless of case. */
    static void DefineNamedFont(const XString& name, const XFontDescriptor& description);
    /** The font of a named font, null when the name was never defined. With create, an unknown name
        is defined as arial 10 for later requests (this request still gets null). */
    static XFont* FindNamedFont(const XString& name, bool create);
    static XFont* GetNamedFont(const XString& name, bool create) { return FindNamedFont(name, create); }
    /** The description of a named font, null when the name was never defined. */
    static const XFontDescriptor* FindNamedFontDescriptor(const XString& name);
    /** Forgets every named font, as before the first font table; descriptions found before are
        gone. */
    static void ForgetNamedFonts();

    /** Reads a font table (the skin text at that path) and defines its named fonts: 0 when read to
        the end, 0x80000001 when the text is missing or empty (nothing changes), 0x8000000B when a key
        is not followed by "=" (entries before it stay defined). A missing ':', '{' or '}', an
        unbalanced quote or a size outside 1..400 is logged with its line and costs at most its
        entry. */
    static int32_t LoadFontTable(const XString& resourceName);

private:
    juce::Font font;
};
