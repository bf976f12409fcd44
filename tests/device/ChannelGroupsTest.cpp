// The eight live channel groups and their compare twins, built as the application builds them.

#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"
#include "support/ChannelSet.h"
#include "support/ParamTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);

/** The channel groups and their compare twins as the application builds them. */
class ChannelGroups : public ::testing::Test, protected ChannelSet
{
protected:
    static XParam* Param(const char* path)
    {
        XParam* param = FindParam("%s", path);
        EXPECT_NE(param, nullptr) << path;
        return param;
    }
    static XParam* GeqView(XParamGroup& input, int band)
    {
        return input.GetParam(ChannelParamTables::kGeqBypassFirstId + band);
    }
};
} // namespace

TEST_F(ChannelGroups, EachHoldsItsTableUnderItsNameAndIsFoundByIndex)
{
    for (int index = 0; index < kInputs; ++index)
    {
        EXPECT_EQ(GetInputChannel(index), inputs[index].get());
        EXPECT_EQ(GetCompareInputChannel(index), compareInputs[index].get());
        EXPECT_EQ(inputs[index]->CountParams(), ChannelParamTables::kInputRowCount);
        EXPECT_EQ(compareInputs[index]->CountParams(), ChannelParamTables::kInputRowCount);
    }
    for (int index = 0; index < kOutputs; ++index)
    {
        EXPECT_EQ(GetOutputChannel(index), outputs[index].get());
        EXPECT_EQ(GetCompareOutputChannel(index), compareOutputs[index].get());
        EXPECT_EQ(outputs[index]->CountParams(), ChannelParamTables::kOutputRowCount);
        EXPECT_EQ(compareOutputs[index]->CountParams(), ChannelParamTables::kOutputRowCount);
    }
    EXPECT_EQ(GetOutputChannel(6), nullptr);
    EXPECT_EQ(GetInputChannel(-1), nullptr);
    EXPECT_EQ(GetInputChannel(2), nullptr);
    EXPECT_EQ(GetCompareOutputChannel(6), nullptr);
    EXPECT_STREQ(GetInputChannel(1)->GetName().CStr(), "InputB");
    EXPECT_STREQ(outputs[3]->GetChannelName().CStr(), "Output4");

    EXPECT_STREQ(inputs[0]->GetParam(ChannelParamTables::kGeqBypassFirstId)->GetName().CStr(), "GEQbypass01");
    EXPECT_EQ(Param("InputA\\GEQbypass01"), inputs[0]->GetParam(ChannelParamTables::kGeqBypassFirstId));
    EXPECT_EQ(Param("InputA\\GEQBandBypass"), inputs[0]->GetParam(ChannelParamTables::kGeqBandBypassId));
    EXPECT_EQ(Param("inputb\\peqdrawenable"), inputs[1]->GetParam(ChannelParamTables::kPeqDrawEnableId));
    EXPECT_EQ(Param("Output6\\label"), outputs[5]->GetParam(ChannelParamTables::kOutputLabelId));
    EXPECT_EQ(Param("CompreInputChannel2\\HPFFreq"),
              compareInputs[1]->GetParam(ChannelParamTables::kInputFreqFirstId));
    EXPECT_EQ(Param("CompreOutputChannel1\\outputGuiMeter"),
              compareOutputs[0]->GetParam(ChannelParamTables::kGuiMeterId));
    EXPECT_EQ(compareOutputs[0]->GetParam(ChannelParamTables::kOutputLabelId)->GetValueKind(),
              XParam::kKindText);
}

TEST_F(ChannelGroups, StartWithTheTablesDefaults)
{
    for (auto& input : inputs)
    {
        XParam* highPassType = input->GetParam(ChannelParamTables::kInputTypeFirstId);
        EXPECT_EQ(highPassType->GetValue(), 4.0);
        EXPECT_STREQ(highPassType->GetDisplayText().CStr(), "HIPASS");
        highPassType->ChangeValue(2, true);
        EXPECT_EQ(highPassType->GetValue(), 4.0);
        EXPECT_EQ(input->GetParam(ChannelParamTables::kInputDelayBypassId)->GetValue(), 1.0) << "delayBypass";
        EXPECT_EQ(input->GetParam(ChannelParamTables::kInputTypeFirstId + 7)->GetValue(), 2.0) << "Band7Type";
        EXPECT_EQ(input->GetParam(ChannelParamTables::kInputFreqFirstId + 8)->GetValue(), 6400.0)
            << "Band8Freq";
    }
    for (auto& output : outputs)
    {
        XParam* gain = output->GetParam(ChannelParamTables::kOutputGainId);
        EXPECT_EQ(gain->GetValue(), -100.0);
        EXPECT_STREQ(gain->GetDisplayText().CStr(), "OFF");
        EXPECT_EQ(output->GetParam(ChannelParamTables::kLimitThresholdId)->GetValue(), 21.0)
            << "limitThreshold";
        EXPECT_EQ(output->GetParam(ChannelParamTables::kAmplifierIndexId)->GetValue(), -1.0)
            << "OutChLimAmpIndex";
        EXPECT_EQ(output->GetParam(ChannelParamTables::kOutputDelayBypassId)->GetValue(), 1.0)
            << "delayBypass";
        EXPECT_EQ(output->GetParam(ChannelParamTables::kCrossoverDelayBypassId)->GetValue(), 1.0)
            << "xoverDelayBypass";
        EXPECT_EQ(output->GetParam(ChannelParamTables::kHipassFreqId)->GetValue(), 120.0) << "hipassFreq";
    }
    // The twins copy the live groups' state at their construction.
    EXPECT_EQ(compareOutputs[2]->GetParam(ChannelParamTables::kOutputGainId)->GetValue(), -100.0);
    EXPECT_STREQ(compareInputs[0]->GetParam(ChannelParamTables::kInputTypeFirstId)->GetDisplayText().CStr(),
                 "HIPASS");
}

TEST_F(ChannelGroups, GeqBandBypassViewsFollowTheirInputsMask)
{
    ChannelInput& inputB = *inputs[1];
    Recorder band6;
    GeqView(inputB, 5)->AddWatcher(&band6, 7, false);
    inputB.GetParam(ChannelParamTables::kGeqBandBypassId)->SetValue(32, true);
    for (int band = 0; band < 31; ++band)
        EXPECT_EQ(GeqView(inputB, band)->GetValue(), band == 5 ? 1.0 : 0.0) << band;
    const std::vector<ParamTest::Note> expected = {{kSet, GeqView(inputB, 5), 7}};
    EXPECT_EQ(band6.Notes(), expected);
    EXPECT_EQ(GeqView(*inputs[0], 5)->GetValue(), 0.0);

    // A band edited on its own sets its bit in its own input's mask.
    EXPECT_TRUE(GeqView(inputB, 6)->ChangeValue(1, true));
    EXPECT_EQ(inputB.GetParam(ChannelParamTables::kGeqBandBypassId)->GetValue(), 32.0 + 64.0);
    EXPECT_EQ(GeqView(inputB, 6)->GetValue(), 1.0);
    EXPECT_EQ(inputs[0]->GetParam(ChannelParamTables::kGeqBandBypassId)->GetValue(), 0.0);
    // The view's own stored value is 0 already: only the mask changes.
    GeqView(inputB, 5)->ChangeValue(0, true);
    EXPECT_EQ(inputB.GetParam(ChannelParamTables::kGeqBandBypassId)->GetValue(), 64.0);
    GeqView(inputB, 5)->RemoveWatcher(&band6);
}

TEST_F(ChannelGroups, DerivedOutputValuesFollowTheirSources)
{
    ChannelOutput& output3 = *outputs[2];
    XParam* gainReduction = output3.GetParam(ChannelParamTables::kGainReductionId);
    XParam* guiMeter = output3.GetParam(ChannelParamTables::kGuiMeterId);
    Recorder reduction;
    Recorder meter;
    Recorder threshold;
    gainReduction->AddWatcher(&reduction, 1, false);
    guiMeter->AddWatcher(&meter, 2, false);
    output3.GetParam(ChannelParamTables::kLimitThresholdId)->AddWatcher(&threshold, 3, false);

    output3.GetParam(ChannelParamTables::kLimitBypassId)->SetValue(0, true); // limiter on
    gainReduction->SetValue(-6, true);
    EXPECT_EQ(gainReduction->GetValue(), -6.0);
    reduction.Clear();
    output3.GetParam(ChannelParamTables::kOutputMuteId)->SetValue(1, true); // mute
    EXPECT_EQ(reduction.Codes(), std::vector<int32_t>{kSet});
    EXPECT_EQ(gainReduction->GetValue(), 0.0);
    output3.GetParam(ChannelParamTables::kOutputMuteId)->SetValue(0, true);
    EXPECT_EQ(gainReduction->GetValue(), -6.0);
    // Another output's mute does not touch this one.
    outputs[3]->GetParam(ChannelParamTables::kOutputMuteId)->SetValue(1, true);
    EXPECT_EQ(gainReduction->GetValue(), -6.0);

    output3.GetParam(ChannelParamTables::kLimitThresholdId)->SetValue(15, true);
    output3.GetParam(ChannelParamTables::kOutputMeterId)->SetValue(-20, true);
    EXPECT_EQ(meter.Codes(), std::vector<int32_t>{kSet});
    EXPECT_EQ(guiMeter->GetValue(), -14.0);
    output3.GetParam(ChannelParamTables::kLimitBypassId)->SetValue(1, true);
    EXPECT_EQ(guiMeter->GetValue(), -20.0);

    threshold.Clear();
    output3.GetParam(ChannelParamTables::kAmplifierIndexId)->SetValue(4, true);
    EXPECT_EQ(threshold.Codes(), std::vector<int32_t>{kSet});

    gainReduction->RemoveWatcher(&reduction);
    guiMeter->RemoveWatcher(&meter);
    output3.GetParam(ChannelParamTables::kLimitThresholdId)->RemoveWatcher(&threshold);
}

TEST_F(ChannelGroups, ARestoreFromTheTwinIsNotAChangeSinceAndASaveNotifies)
{
    ChannelOutput& live = *outputs[1];
    CompareChannelOutput& twin = *compareOutputs[1];
    live.GetParam(ChannelParamTables::kOutputGainFirstId)->SetValue(3.5, true);
    live.GetParam(ChannelParamTables::kOutputLabelId)->SetText("Left top", true);
    live.GetParam(ChannelParamTables::kHipassFreqId)
        ->SetFlags(live.GetParam(ChannelParamTables::kHipassFreqId)->GetFlags() | XParamDesc::kFlagDevice8);

    Recorder twinGain;
    twin.GetParam(ChannelParamTables::kOutputGainFirstId)->AddWatcher(&twinGain, 0, false);
    CompareChannelOutput::SyncWithLive(1, false);
    EXPECT_EQ(twin.GetParam(ChannelParamTables::kOutputGainFirstId)->GetValue(), 3.5);
    EXPECT_STREQ(twin.GetParam(ChannelParamTables::kOutputLabelId)->GetText().CStr(), "Left top");
    EXPECT_NE(twin.GetParam(ChannelParamTables::kHipassFreqId)->GetFlags() & XParamDesc::kFlagDevice8, 0);
    EXPECT_EQ(twinGain.Codes(), std::vector<int32_t>{kSet});
    twin.GetParam(ChannelParamTables::kOutputGainFirstId)->RemoveWatcher(&twinGain);

    live.GetParam(ChannelParamTables::kOutputGainFirstId)->SetValue(-2, true);
    live.GetParam(ChannelParamTables::kOutputLabelId)->SetText("Right", true);
    live.GetParam(ChannelParamTables::kHipassFreqId)->SetFlags(0);
    std::vector<uint32_t> stamps;
    for (int32_t index = 0; index < live.CountParams(); ++index)
        stamps.push_back(live.GetParamAt(index)->GetLastChangeTick());
    Recorder liveGain;
    live.GetParam(ChannelParamTables::kOutputGainFirstId)->AddWatcher(&liveGain, 0, false);

    CompareChannelOutput::SyncWithLive(1, true);
    EXPECT_EQ(live.GetParam(ChannelParamTables::kOutputGainFirstId)->GetValue(), 3.5);
    EXPECT_STREQ(live.GetParam(ChannelParamTables::kOutputLabelId)->GetText().CStr(), "Left top");
    EXPECT_NE(live.GetParam(ChannelParamTables::kHipassFreqId)->GetFlags() & XParamDesc::kFlagDevice8, 0);
    EXPECT_TRUE(liveGain.Notes().empty());
    for (int32_t index = 0; index < live.CountParams(); ++index)
    {
        EXPECT_EQ(live.GetParamAt(index)->GetLastChangeTick(), stamps[static_cast<size_t>(index)]) << index;
        EXPECT_TRUE(live.GetParamAt(index)->IsChangeTracking()) << index;
    }
    live.GetParam(ChannelParamTables::kOutputGainFirstId)->RemoveWatcher(&liveGain);
}

TEST_F(ChannelGroups, InputTwinsSaveAndRestoreToo)
{
    inputs[0]->GetParam(ChannelParamTables::kGeqGainFirstId)->SetValue(-4.5, true); // GEQgain1
    inputs[0]->GetParam(ChannelParamTables::kGeqBandBypassId)->SetValue(5, true);
    CompareChannelInput::SyncWithLive(0, false);
    EXPECT_EQ(compareInputs[0]->GetParam(ChannelParamTables::kGeqGainFirstId)->GetValue(), -4.5);
    EXPECT_EQ(compareInputs[0]->GetParam(ChannelParamTables::kGeqBandBypassId)->GetValue(), 5.0);
    EXPECT_EQ(compareInputs[1]->GetParam(ChannelParamTables::kGeqGainFirstId)->GetValue(), 0.0);

    inputs[0]->GetParam(ChannelParamTables::kGeqGainFirstId)->SetValue(2, true);
    inputs[0]->GetParam(ChannelParamTables::kGeqBandBypassId)->SetValue(0, true);
    const uint32_t stamp = inputs[0]->GetParam(ChannelParamTables::kGeqGainFirstId)->GetLastChangeTick();
    CompareChannelInput::SyncWithLive(0, true);
    EXPECT_EQ(inputs[0]->GetParam(ChannelParamTables::kGeqGainFirstId)->GetValue(), -4.5);
    EXPECT_EQ(inputs[0]->GetParam(ChannelParamTables::kGeqBandBypassId)->GetValue(), 5.0);
    EXPECT_EQ(GeqView(*inputs[0], 2)->GetValue(), 1.0);
    EXPECT_EQ(inputs[0]->GetParam(ChannelParamTables::kGeqGainFirstId)->GetLastChangeTick(), stamp);
    // Out of range indexes do nothing.
    CompareChannelInput::SyncWithLive(2, true);
    CompareChannelOutput::SyncWithLive(-1, false);
}

TEST(ChannelGroupLists, ATwinOfAMissingChannelIsEmptyButListedAndEveryGroupLeavesItsList)
{
    {
        CompareChannelOutput lonely("CompreOutputChannel9", 8);
        EXPECT_EQ(lonely.CountParams(), 0);
        EXPECT_EQ(GetCompareOutputChannel(0), &lonely);
        auto input = std::make_unique<ChannelInput>("InputA");
        auto second = std::make_unique<ChannelInput>("InputB");
        input.reset();
        // The place of a destroyed group stays empty, so later groups keep their index.
        EXPECT_EQ(GetInputChannel(0), nullptr);
        EXPECT_EQ(GetInputChannel(1), second.get());
        EXPECT_EQ(FindParam("InputA\\HPFType"), nullptr);
    }
    EXPECT_EQ(ChannelLists::Inputs().Count(), 0);
    EXPECT_EQ(ChannelLists::CompareOutputs().Count(), 0);
    EXPECT_EQ(ChannelLists::Outputs().Count(), 0);
    EXPECT_EQ(ChannelLists::CompareInputs().Count(), 0);
}

TEST_F(ChannelGroups, ValuesFromAnotherThreadReachTheDerivedViews)
{
    // The link's reader thread sets values while the main thread reads the views and the lists.
    std::thread reader(
        [&]
        {
            for (int round = 0; round < 2000; ++round)
            {
                GetInputChannel(1)
                    ->GetParam(ChannelParamTables::kGeqBandBypassId)
                    ->SetValue(round % 2 == 0 ? 1 : 2, true);
                GetOutputChannel(2)->GetParam(ChannelParamTables::kOutputMuteId)->SetValue(round % 2, true);
                GetOutputChannel(2)
                    ->GetParam(ChannelParamTables::kOutputMeterId)
                    ->SetValue(-(round % 90), true);
            }
        });
    double seen = 0.0;
    for (int round = 0; round < 2000; ++round)
    {
        seen += GeqView(*inputs[1], 0)->GetValue() + GeqView(*inputs[1], 1)->GetValue();
        seen += GetOutputChannel(2)->GetParam(ChannelParamTables::kGainReductionId)->GetValue() +
                outputs[2]->GetParam(ChannelParamTables::kGuiMeterId)->GetValue();
    }
    reader.join();
    EXPECT_EQ(GeqView(*inputs[1], 0)->GetValue() + GeqView(*inputs[1], 1)->GetValue(), 1.0);
    EXPECT_LE(seen, 2000.0 * 2);
}
