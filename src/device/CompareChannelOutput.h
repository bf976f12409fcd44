#pragma once

#include "core/XABGroup.h"
#include "core/XString.h"

/** The compare twin of a live output: a copy of every parameter of output index, in its order,
    with the same descriptors and callbacks, registered under the twin's own name
    ("CompreOutputChannel1".."CompreOutputChannel6"). SyncWithLive copies values between the two.

    The twin appends itself to the compare output list (GetCompareOutputChannel), also when the live
    output does not exist (it then stays empty), and leaves it when destroyed. Built, synced and
    destroyed on the main thread. */
class CompareChannelOutput final : public XABGroup
{
public:
    /** The live output index must exist already to be copied. */
    CompareChannelOutput(const XString& name, int32_t index);
    ~CompareChannelOutput() override;

    /** restore: the twin of output index becomes live, without notification and without counting
        as a change; else the live output is saved into its twin, with notification. Text
        parameters go by their text. Nothing when either group is missing. */
    static void SyncWithLive(int32_t index, bool restore);
};
