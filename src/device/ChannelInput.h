#pragma once

#include "core/XABGroup.h"
#include "core/XString.h"

/** The live state of one input channel (A or B): an A/B group of the rows of
    InputChannelParamTable, registered under the group's name ("InputA", "InputB"). Its 31 GEQ band
    bypass parameters are views of the bits of GEQBandBypass: each carries its band index as user
    word and watches the mask, so that every change of the mask re-announces every band.

    The group appends itself to the live input list (GetInputChannel) and leaves it when destroyed;
    it owns its parameters. Built and destroyed on the main thread. */
class ChannelInput final : public XABGroup
{
public:
    explicit ChannelInput(const XString& name);
    ~ChannelInput() override;
};
