#pragma once

#include "core/StringToValueMap.h"
#include "core/XRGB.h"
#include "core/XResult.h"

#include <cstdint>

class XString;

/** The colour dictionary: colour names of the skin ("buttonLit", "popupText", ...) to colours, so
    that widgets ask by name instead of hard-coding colours. Names are compared regardless of case
    (stored upper-cased). An unknown name gives opaque red, which shows in the window that a colour
    is missing.

    The program's dictionary (GetColorDictionary) is loaded once from "GlobalColors.dat" at GUI
    start-up. Used on the GUI thread only; no lock. */
class XColorDictionary
{
public:
    static constexpr int32_t kResultOk = 0;

    XColorDictionary() = default;
    XColorDictionary(const XColorDictionary&) = delete;
    XColorDictionary& operator=(const XColorDictionary&) = delete;
    virtual ~XColorDictionary();

    /** The colour of that name, or opaque red when the name is unknown. */
    XRGB GetColor(const char* name) const;
    /** 0 and the colour when the name is known; 0x80000001 and opaque red in out when not. */
    int32_t FindColor(const char* name, XRGB& out) const;
    /** The colour of that name, or fallback when the name is unknown. */
    XRGB GetColorOr(const char* name, const XRGB& fallback) const;
    /** Inserts or replaces the colour of that name. */
    void SetColor(const char* name, const XRGB& colour);
    int GetCount() const { return entries.GetCount(); }
    /** Forgets every colour, as before the first Load. */
    void RemoveAll() { entries.RemoveAll(); }

    /** Reads a colour file (the skin text at that path) and sets each colour it names: entries
        NAME separator r,g,b (each component 0 to 255), with comments anywhere between tokens. An
        entry that does not fit (another count of numbers, a component out of range, an unbalanced
        quote) is logged with its line and skipped together with the rest of that line; the entries
        of the lines after it still load. 0x80000001 when the file is missing or empty, else 0. */
    int32_t Load(const XString& fileName);

private:
    /** Upper-cased name to colour. */
    StringToValueMap<XRGB> entries;
};

/** The program's colour dictionary, created on first use and kept for the life of the process. */
XColorDictionary& GetColorDictionary();
