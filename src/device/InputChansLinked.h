#pragma once

#include "core/XMessageCodes.h"
#include "device/GlobalParamTables.h"

#include <cstdint>

class XParam;

/** "QM7\inputChansLinked": whether inputs A and B are edited as a pair, which follows the edit mode
    and the speaker configuration rather than a stored value. The input windows and the input-linking
    window install it when they are made; installing again changes nothing. Any thread may read it. */
namespace InputChansLinked
{
constexpr const char* kPath = "QM7\\inputChansLinked";
/** The key under which the parameter watches the edit mode and the configuration. */
constexpr int32_t kSourceKey = static_cast<int32_t>(FourCharCode("icLk"));
/** The link windows' window-open parameters (main group): input delay, input PEQ, input GEQ. */
constexpr int32_t kLinkWindowParamIds[] = {GlobalParamTables::kWndLinkInputDelayId,
                                           GlobalParamTables::kWndLinkInputPeqId,
                                           GlobalParamTables::kWndLinkInputGeqId};

/** Gives "QM7\inputChansLinked" its value map (InputChansLinkedValue) and makes it watch
    "QM7_KOVA\globalEditMode" and "preset\CurrentConfig", so that its watchers hear of every change
    of either. False when the parameter does not exist; a missing source is skipped. */
bool Install();
} // namespace InputChansLinked

/** The value map of "QM7\inputChansLinked": 1 when AreChannelPairsLinked, which also closes the
    input-linking windows (their window-open parameters 116..118 set to 0 with notification, as a
    program write); 0 otherwise. The stored value is never used. */
double InputChansLinkedValue(XParam* param, double stored, int32_t user);
