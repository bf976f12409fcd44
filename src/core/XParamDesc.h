#pragma once

#include "core/XString.h"

#include <cstdint>

class XParam;
struct XParamEvent;

/** Text of a value; replaces the unit-code text. */
using ParamTextCallback = XString (*)(XParam* param, double value, int32_t user);
/** Asked at the begin of an edit (phase 0), before a user change (phase 1: may rewrite *value;
    false refuses the change) and at the end of an edit (phase 2). */
using ParamVetoCallback = bool (*)(XParam* param, double* value, int32_t user, int32_t phase);
/** Replaces the built-in step mapping: direction 0 computes *value from *index, 1 *index from
 *value. */
using ParamIndexCallback = void (*)(XParam* param, double* value, int32_t* index, int32_t direction);
/** The value that GetValue reports for a stored value. */
using ParamValueMapCallback = double (*)(XParam* param, double stored, int32_t user);
/** Sees every edit event first; false refuses it. */
using ParamEventCallback = bool (*)(XParam* param, XParamEvent* event, int32_t user);
/** Display text of a value; replaces the value text in GetDisplayTextOf. */
using ParamFormatCallback = XString (*)(XParam* param, double value, int32_t user, int32_t extra);

/** An edit event of a parameter. extra is 0 in the events that parameters make themselves. */
struct XParamEvent
{
    static constexpr int32_t kBeginEdit = 0;
    static constexpr int32_t kSetValue = 1;
    static constexpr int32_t kSetStepIndex = 2;
    static constexpr int32_t kSetPosition = 3;
    static constexpr int32_t kAddDelta = 4;
    static constexpr int32_t kMoveSteps = 5;
    static constexpr int32_t kEndEdit = 6;

    int32_t type = kBeginEdit;
    float value = 0.0f;
    uint32_t tick = 0;
    int32_t extra = 0;
};

/** The optional callback block of a descriptor; every entry may be null. */
struct XParamDescExt
{
    ParamTextCallback textCallback = nullptr;
    int32_t textUser = 0;
    ParamVetoCallback vetoCallback = nullptr;
    int32_t vetoUser = 0;
    ParamIndexCallback indexCallback = nullptr;
    ParamValueMapCallback valueMapCallback = nullptr;
    int32_t valueMapUser = 0;
    ParamEventCallback eventCallback = nullptr;
    int32_t eventUser = 0;

    /** Every entry null or 0. */
    void Clear() { *this = XParamDescExt(); }
};

/** The fixed record that describes one parameter: the unit's parameter tables are arrays of it, and a
    group creates each parameter from one. An empty name ends a table.

    The type is a unit code for numeric parameters (see the kType constants) or one of the kinds
    kTypeTime, kTypeText and kTypeProxy. count is the number of steps the step index runs over; it is
    unsigned because a 0..2147483647 bit mask counts 2147483648 steps. */
struct XParamDesc
{
    static constexpr int kNameSize = 52;

    // Unit codes that change the behaviour of numeric parameters.
    static constexpr int32_t kTypeInteger = 1;
    static constexpr int32_t kTypeOnOff = 2;
    static constexpr int32_t kTypePercent = 3;
    static constexpr int32_t kTypeSeconds = 4;
    static constexpr int32_t kTypeMilliseconds = 5;
    static constexpr int32_t kTypeFrequency = 9;
    static constexpr int32_t kTypeGain = 14;
    static constexpr int32_t kTypeFaderGain = 18;
    static constexpr int32_t kTypePan = 19;
    // Parameter kinds other than numeric.
    static constexpr int32_t kTypeTime = 1000;
    static constexpr int32_t kTypeText = 1001;
    static constexpr int32_t kTypeProxy = 1002;

    // Flag bits.
    static constexpr int32_t kFlagTransient = 0x01;
    static constexpr int32_t kFlagPreference = 0x20;
    static constexpr int32_t kFlagDevice8 = 0x40;
    static constexpr int32_t kFlagDevice4 = 0x80;
    static constexpr int32_t kFlagCopiedToOtherInput = 0x100;
    /** Set on every region parameter while the current preset carries its lock flag. */
    static constexpr int32_t kFlagLockedByPreset = 0x200;
    static constexpr int32_t kFlagRegionMask = 0xFF0000;
    static constexpr int32_t kFlagLocked = static_cast<int32_t>(0x80000000);

    int32_t id = 0;
    char name[kNameSize] = {};
    int32_t type = 0;
    double min = 0.0;
    double max = 1.0;
    double def = 0.0;
    uint32_t count = 1;
    int32_t flags = 0;
    /** Not owned; null when the parameter has no callbacks. */
    const XParamDescExt* ext = nullptr;

    /** Empty name, type 0, range 0..1, default 0, count 1, flags 0, no ext; the id is kept. */
    void Init();
    /** Copies the whole record of other (null: nothing). */
    void Copy(const XParamDesc* other);
    /** Stores text as the name, cut to the field's size less its two last bytes, padded with zeros. */
    void SetName(const char* text);
};
