#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <cstdint>

/** The process-wide tables that every window-description build reads: the 38 description keywords
    with their ids (exact, case-sensitive) and the named integer constants that description values
    may name (exact, case-sensitive).

    The keyword table is fixed. Named constants are added at GUI start-up (RegisterViewKeywords and
    the set-up steps that follow it) and afterwards only through RegisterNamedConstant. GUI thread
    only; no lock. */
class ViewKeywords final
{
public:
    /** Keyword ids; kNone for a keyword that is not in the table (an ordinary attribute). */
    enum Id : int32_t
    {
        kNone = 0,
        kName = 1,
        kFrame,
        kFrameWH,
        kTextRect,
        kGeometry,
        kConstraint,
        kLabel,
        kImageName,
        kLocation,
        kCenter,
        kHiliteForeColor,
        kHiliteBackColor,
        kForeColor,
        kBackColor,
        kTextColor,
        kTextLitColor,
        kEffectColor,
        kColor1,
        kColor2,
        kColor3,
        kColor4,
        kColorKey,
        kParam,
        kBasePath,
        kView,
        kPushParent,
        kPopParent,
        kArrayWidth,
        kArrayHeight,
        kArraySize,
        kArrayBaseIndex,
        kScratchStr,
        kParamScratchStr,
        kCommandName,
        kItem,
        kMenu,
        kCreateParam,
        kAddToView,
    };

    static constexpr int32_t kKeywordCount = kAddToView;
    static constexpr int32_t kResultOk = 0;

    /** The id of a keyword written exactly as in the table; kNone otherwise. */
    static int32_t FindKeyword(const XString& keyword);
    /** The keyword text of an id; "" for kNone or an unknown id. */
    static const char* KeywordText(int32_t id);
    /** The twelve colour keywords (hiliteforecolor .. colorkey). */
    static bool IsColourKeyword(int32_t id) { return id >= kHiliteForeColor && id <= kColorKey; }
    /** frame, framewh, textrect and constraint. */
    static bool IsRectKeyword(int32_t id)
    {
        return id == kFrame || id == kFrameWH || id == kTextRect || id == kConstraint;
    }

    /** True and the value when a constant of exactly that name exists. */
    static bool FindNamedConstant(const char* name, int32_t& value);
    static int32_t CountNamedConstants();
    /** Forgets every named constant; for tests. */
    static void ResetNamedConstants();

    ViewKeywords() = delete;
};

/** Adds a named constant for description values: 0, or 0x80000001 with nothing changed when the
    name is already present (or empty). */
int32_t RegisterNamedConstant(const char* name, int32_t value);

/** The description interpreter's start-up tables: adds the twelve profiling and thread constants
    ("PROPID_PROFILE_TOTAL_MICROS" 1 ... "THREAD_CTSW" 5) where they are absent. */
void RegisterViewKeywords();
