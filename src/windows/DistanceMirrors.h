#pragma once

#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/DelayUnits.h"

#include <array>
#include <cstddef>
#include <cstdint>

/** The distance mirrors of a delay that the delay windows keep in their own groups: the delay shown
    in centimetres, metres, inches, feet and microseconds, converted at the speed of sound of
    global\Temp (DelayUnits.h). Each mirror's descriptor carries the unit's text and the window's
    veto, with the unit as the veto's user word, so that one veto serves every unit.

    Conversions, and the one step both windows take when the temperature changes; the windows own
    the mirrors and decide what an entry does. Any thread. */
class DistanceMirrors final
{
public:
    /** The mirror units; a veto's user word is one of them. */
    enum Unit : int32_t
    {
        kCentimetres = 0,
        kMetres,
        kInches,
        kFeet,
        kMicroseconds,
        kUnitCount
    };

    using Exts = std::array<XParamDescExt, kUnitCount>;

    DistanceMirrors() = delete;

    /** Milliseconds of a mirror's value in unit (anything else counts as microseconds). */
    static double ToMs(int32_t unit, double value);
    /** A mirror's value in unit for a delay in milliseconds. */
    static double FromMs(int32_t unit, double ms);
    /** The descriptor extensions of the five units, by unit: text, veto, veto user word = unit.
        Kept in static storage by the caller, since descriptors point at them. */
    static constexpr Exts MakeExts(ParamVetoCallback veto)
    {
        constexpr ParamTextCallback kTexts[kUnitCount] = {&CentimetersText, &MetersText, &InchesText,
                                                          &FeetText, &MicrosecondsText};
        Exts exts{};
        for (int32_t unit = 0; unit < kUnitCount; ++unit)
        {
            XParamDescExt& ext = exts[static_cast<size_t>(unit)];
            ext.textCallback = kTexts[unit];
            ext.vetoCallback = veto;
            ext.vetoUser = unit;
        }
        return exts;
    }
    /** Sets delay (ms) to the distance in metres at today's speed of sound, within the delay's range;
        notifies when the value stays, so that its views show it again. Either may be null. */
    static void SetDelayFromMetres(XParam* delay, const XParam* metres);
    /** The mirror takes the delay's flags (so its lock) and is told 1000008; it stays transient, so
        that its changes never mark the document as modified. Either may be null. */
    static void TakeFlags(XParam* mirror, const XParam* delay);
    /** Whether unit is one of the five. */
    static bool IsUnit(int32_t unit) { return unit >= kCentimetres && unit < kUnitCount; }
};
