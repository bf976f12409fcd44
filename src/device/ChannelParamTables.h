#pragma once

#include "core/XParamDesc.h"

#include <cstdint>

/** The unit's per-channel parameters: one descriptor row per parameter of an input channel
    (InputChannelParamTable) and of an output channel (OutputChannelParamTable), each ended by a
    row with an empty name. A channel group creates one parameter per row; the row's id is the
    parameter's id in its group and, inside the wire range, the offset of its wire id.

    The tables are constant for the life of the program. Their callbacks are those of
    ChannelParamCallbacks. */
namespace ChannelParamTables
{
/** Rows before the end row. */
constexpr int kInputRowCount = 130;
constexpr int kOutputRowCount = 56;

/** Ids at or above 0 and up to these are sent to the unit; other ids are the editor's own. */
constexpr int32_t kInputWireIdLast = 97;
constexpr int32_t kOutputWireIdLast = 51;

/** Flag bits of the rows: transient, and the editing region a parameter belongs to. */
constexpr int32_t kTransient = XParamDesc::kFlagTransient;
constexpr int32_t kRegionInputPeq = 0x10000;     // "Input Parametric Equalizer / High-Pass Filter"
constexpr int32_t kRegionInputGeq = 0x20000;     // "Input Graphic Equalizer"
constexpr int32_t kRegionInputDelay = 0x40000;   // "Input Delay"
constexpr int32_t kRegionRouting = 0x80000;      // "Routing"
constexpr int32_t kRegionCrossover = 0x100000;   // "Crossover"
constexpr int32_t kRegionOutputEq = 0x200000;    // "Output EQ"
constexpr int32_t kRegionOutputDelay = 0x400000; // "Output Delay"
constexpr int32_t kRegionLimiters = 0x800000;    // "Limiters and Levels"

/** Id of the first GEQ band bypass view (GEQbypass01); band i + 1 has this id + i. */
constexpr int32_t kGeqBypassFirstId = static_cast<int32_t>(0xFFFF0000u);
} // namespace ChannelParamTables

/** kInputRowCount rows and the end row. */
extern const XParamDesc InputChannelParamTable[ChannelParamTables::kInputRowCount + 1];
/** kOutputRowCount rows and the end row. */
extern const XParamDesc OutputChannelParamTable[ChannelParamTables::kOutputRowCount + 1];
