#pragma once

#include "core/XString.h"

#include <cstdint>
#include <memory>
#include <vector>

class ChannelBehaviours;
class ChannelInput;
class ChannelOutput;
class CompareChannelInput;
class CompareChannelOutput;
class FloatParam;
class XABGroup;
class XParamDoc;

/** The unit's eight channel groups as the application builds them: inputs "InputA" and "InputB",
    outputs "Output1".."Output6", then their compare twins "CompreInputChannel1", "CompreInputChannel2"
    and "CompreOutputChannel1".."CompreOutputChannel6", each entering its channel list in that order;
    and the channel behaviours, registered before the first group and kept until the last has gone.

    The set owns all of them; the twins go first, then the live groups, then the behaviours. Built,
    used and destroyed on the main thread. */
class ChannelGroupSet final
{
public:
    static constexpr int32_t kInputCount = 2;
    static constexpr int32_t kOutputCount = 6;

    ChannelGroupSet();
    ~ChannelGroupSet();
    ChannelGroupSet(const ChannelGroupSet&) = delete;
    ChannelGroupSet& operator=(const ChannelGroupSet&) = delete;

    /** The document keeps the live groups, inputs first; the twins stay out of it. */
    void AddLiveGroupsTo(XParamDoc& document);
    /** Makes selector the A/B switch of both inputs, then of the six outputs. */
    void SetSelector(FloatParam* selector);

    /** The live groups, inputs A, B then outputs 1..6. */
    std::vector<XABGroup*> LiveGroups() const;

private:
    static XString Name(const char* format, int32_t number);

    std::unique_ptr<ChannelBehaviours> behaviours;
    std::vector<std::unique_ptr<ChannelInput>> inputs;
    std::vector<std::unique_ptr<ChannelOutput>> outputs;
    std::vector<std::unique_ptr<CompareChannelInput>> compareInputs;
    std::vector<std::unique_ptr<CompareChannelOutput>> compareOutputs;
};
