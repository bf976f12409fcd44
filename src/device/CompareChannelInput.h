#pragma once

#include "core/XABGroup.h"
#include "core/XString.h"

/** The compare twin of a live input: a copy of every parameter of input index, in its order, with
    the same descriptors and callbacks, registered under the twin's own name
    ("CompreInputChannel1", "CompreInputChannel2"). SyncWithLive copies values between the two.

    The twin appends itself to the compare input list (GetCompareInputChannel), also when the live
    input does not exist (it then stays empty), and leaves it when destroyed. Built, synced and
    destroyed on the main thread. */
class CompareChannelInput final : public XABGroup
{
public:
    /** The live input index must exist already to be copied. */
    CompareChannelInput(const XString& name, int32_t index);
    ~CompareChannelInput() override;

    /** restore: the twin of input index becomes live, without notification and without counting as
        a change; else the live input is saved into its twin, with notification, the twin's change
        tracking off meanwhile. Nothing when either group is missing. */
    static void SyncWithLive(int32_t index, bool restore);
};
