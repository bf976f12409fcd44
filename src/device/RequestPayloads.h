#pragma once

#include "core/XResult.h"

#include <cstdint>

class TWMsgBuf;

/** Encoders of the payloads that the editor sends to the unit, from plain values, so that every
    byte of a request can be checked apart from the parameters and the link. Each writes at the
    buffer's write position (normally a fresh buffer) and returns 0, or 0x80000001 with nothing
    written for an argument that the unit cannot be sent.

    Commands without payload (1, 7, 18) need no encoder. */
class RequestPayloads final
{
public:
    /** Presets 1..20 are user presets, 21..80 factory presets; 0 is the unit's edit buffer. */
    static constexpr int kLastUserPreset = 20;
    static constexpr int kLastPreset = 80;

    RequestPayloads() = delete;

    /** Command 5: uint16 wire id; for a float-typed parameter uint8 1 and the value as float32,
        otherwise uint8 0 and the value truncated toward zero as int32 (saturated, NaN as 0); uint8
        wire flags from the parameter flags. Refuses wire ids outside 0..571. */
    static int32_t SetParamValue(TWMsgBuf& out, int wireId, int32_t paramType, double value,
                                 int32_t paramFlags);

    /** Command 6: uint16 wire id (0..571). */
    static int32_t ParamId(TWMsgBuf& out, int wireId);

    /** Commands 3 and 12: int32 value. */
    static int32_t Int32Value(TWMsgBuf& out, int32_t value);

    /** Commands 9 and 19: uint8 bank index (n - 21 for a factory preset, else n) and uint8 user bank
        (1 for n <= 20, else 0). Refuses n above 80. */
    static int32_t Recall(TWMsgBuf& out, unsigned presetNumber);

    /** Commands 10 (location), 13 and 14: uint8 preset number (0..80). */
    static int32_t PresetNumber(TWMsgBuf& out, int presetNumber);

    /** Command 15: uint8 preset number (0..80), int32 flags. */
    static int32_t PresetFlags(TWMsgBuf& out, int presetNumber, int32_t flags);

    /** Command 11 (0) and command 21 (1 begins a send-all, 0 ends it): one uint8. */
    static int32_t ByteValue(TWMsgBuf& out, uint8_t value);

    /** The int32 that an integer-typed value travels as: truncated toward zero, saturated at the
        int32 limits, 0 for NaN. */
    static int32_t ToWireInt(double value);
};
