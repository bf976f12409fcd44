#pragma once

#include <cstdint>

/** The codes that parameters hand to the descriptor callbacks of the unit's tables. */
struct ParamCallbackCodes
{
    /** Phases of a change (veto) callback. */
    static constexpr int32_t kBeginEdit = 0;
    static constexpr int32_t kChange = 1;
    static constexpr int32_t kEndEdit = 2;

    /** Directions of a step (index) callback. */
    static constexpr int32_t kIndexToValue = 0;
    static constexpr int32_t kValueToIndex = 1;
};
