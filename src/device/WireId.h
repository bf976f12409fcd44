#pragma once

#include <cstdint>

/** The wire-identifier space of the unit's parameters: ids 0..571, in four kinds of blocks. A
    parameter's wire id is its block's base plus its id inside its group:
    - kind 0, the main group: wire ids 0..50 (one block);
    - kind 1, the preset group: 51..63;
    - kind 2, inputs A and B: 64 + 98 * input + id, offsets 0..97;
    - kind 3, outputs 1..6: 260 + 52 * output + id, offsets 0..51. */
struct WireIdSpace
{
    static constexpr int kCount = 572;

    enum Kind : int
    {
        kMain = 0,
        kPreset = 1,
        kInput = 2,
        kOutput = 3
    };

    static constexpr int kMainBase = 0;
    static constexpr int kPresetBase = 51;
    static constexpr int kInputBase = 64;
    static constexpr int kInputStride = 98;
    static constexpr int kInputCount = 2;
    static constexpr int kOutputBase = 260;
    static constexpr int kOutputStride = 52;
    static constexpr int kOutputCount = 6;
};

/** Splits a wire id into kind, block and offset (null outputs are skipped); false, with nothing
    written, for ids outside 0..571. */
bool DecodeWireId(int wireId, int* kind, int* block, int* offset);

/** The wire id of an offset in a block of a kind; -1 when the offset or block lies outside it. */
int EncodeWireId(int kind, int block, int offset);

/** Wire ids 51..59: the preset names, dates, author and revision, each packing four characters
    or a date into one int32, applied from the exact integer. */
bool IsPackedIntWireId(int wireId);

/** Whether a value of this parameter type (unit code) travels as float32; integers (1), switches
    (2), times (1000) and texts (1001) travel as int32. */
bool IsFloatParamType(int32_t paramType);

/** False for the ids that are never sent to the unit: the main group's MSState, CurrentPreset,
    ContactsValue, DSPLoad and GlobalDirty; the preset group's delay bases; the input meters; the
    output meters and gain reductions. False also for ids outside 0..571; true for all others. */
bool IsWireIdSent(int wireId);

/** The flags byte of a value on the wire: parameter flag 0x80 is wire flag 4, 0x40 is wire flag 8. */
uint8_t WireFlagsFromParamFlags(int32_t paramFlags);

/** A parameter's flags after the wire flags of a value from the unit: the device bits 0x80 and
    0x40 replaced by those that the wire flags carry, every other bit kept. */
int32_t ParamFlagsFromWireFlags(int32_t paramFlags, uint8_t wireFlags);
