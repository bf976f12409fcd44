#include "app/ChannelGroupSet.h"

#include "device/ChannelBehaviours.h"
#include "device/ChannelInput.h"
#include "device/ChannelOutput.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"
#include "device/XParamDoc.h"

namespace
{
constexpr const char* kInputNames[ChannelGroupSet::kInputCount] = {"InputA", "InputB"};
constexpr const char* kOutputNameFormat = "Output%d";
constexpr const char* kCompareInputNameFormat = "CompreInputChannel%d";
constexpr const char* kCompareOutputNameFormat = "CompreOutputChannel%d";
} // namespace

ChannelGroupSet::ChannelGroupSet() : behaviours(std::make_unique<ChannelBehaviours>())
{
    for (const char* name : kInputNames)
        inputs.push_back(std::make_unique<ChannelInput>(XString(name)));
    for (int32_t number = 1; number <= kOutputCount; ++number)
        outputs.push_back(std::make_unique<ChannelOutput>(Name(kOutputNameFormat, number)));
    // A twin copies the live group of its index, which must exist by now.
    for (int32_t index = 0; index < kInputCount; ++index)
        compareInputs.push_back(
            std::make_unique<CompareChannelInput>(Name(kCompareInputNameFormat, index + 1), index));
    for (int32_t index = 0; index < kOutputCount; ++index)
        compareOutputs.push_back(
            std::make_unique<CompareChannelOutput>(Name(kCompareOutputNameFormat, index + 1), index));
}

ChannelGroupSet::~ChannelGroupSet()
{
    compareOutputs.clear();
    compareInputs.clear();
    outputs.clear();
    inputs.clear();
    behaviours.reset();
}

void ChannelGroupSet::AddLiveGroupsTo(XParamDoc& document)
{
    for (XABGroup* group : LiveGroups())
        document.AddGroup(group);
}

void ChannelGroupSet::SetSelector(FloatParam* selector)
{
    for (XABGroup* group : LiveGroups())
        group->SetSelector(selector);
}

std::vector<XABGroup*> ChannelGroupSet::LiveGroups() const
{
    std::vector<XABGroup*> groups;
    for (const auto& input : inputs)
        groups.push_back(input.get());
    for (const auto& output : outputs)
        groups.push_back(output.get());
    return groups;
}

XString ChannelGroupSet::Name(const char* format, int32_t number)
{
    XString name;
    name.Format(format, number);
    return name;
}
