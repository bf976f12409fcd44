// The regions built from the live channel groups, as the application builds them at start-up.

#include "device/RegionsManager.h"

#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "device/ChannelInput.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "support/ParamTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

namespace
{
constexpr int kOutputs = 6;

class Regions : public ::testing::Test
{
protected:
    Regions()
    {
        inputs.push_back(std::make_unique<ChannelInput>("InputA"));
        inputs.push_back(std::make_unique<ChannelInput>("InputB"));
        for (int n = 1; n <= kOutputs; ++n)
        {
            XString name;
            name.Format("Output%d", n);
            outputs.push_back(std::make_unique<ChannelOutput>(name));
        }
    }

    /** The ids of a region's parameters in group order. */
    static std::vector<int32_t> Ids(const RegionsManager::Region& region)
    {
        std::vector<int32_t> ids;
        for (int32_t index = 0; index < region.GetGroup()->CountParams(); ++index)
        {
            int32_t id = XParamGroup::kNoId;
            region.GetGroup()->GetParamAndIdAt(index, &id);
            ids.push_back(id);
        }
        return ids;
    }

    std::vector<std::unique_ptr<ChannelInput>> inputs;
    std::vector<std::unique_ptr<ChannelOutput>> outputs;
};
} // namespace

TEST_F(Regions, EightRegionsHoldTheirChannelsParametersUnderDistinctIds)
{
    RegionsManager regions;
    ASSERT_EQ(regions.BuildRegions(), 0);
    ASSERT_EQ(regions.Count(), RegionsManager::kRegionCount);
    EXPECT_EQ(regions.GetRegion(8), nullptr);
    EXPECT_EQ(regions.GetRegion(-1), nullptr);

    struct Case
    {
        const char* name;
        int32_t size; // -1: only non-empty is checked
    };
    const Case cases[RegionsManager::kRegionCount] = {
        {"Input Parametric Equalizer / High-Pass Filter", 122},
        {"Input Graphic Equalizer", 126},
        {"Input Delay", 4},
        {"Routing", 6},
        {"Crossover", -1},
        {"Output EQ", -1},
        {"Output Delay", -1},
        {"Limiters and Levels", -1},
    };
    for (int k = 0; k < RegionsManager::kRegionCount; ++k)
    {
        const RegionsManager::Region* region = regions.GetRegion(k);
        ASSERT_NE(region, nullptr);
        EXPECT_STREQ(region->GetName().CStr(), cases[k].name);
        if (cases[k].size >= 0)
            EXPECT_EQ(region->GetGroup()->CountParams(), cases[k].size) << cases[k].name;
        else
            EXPECT_GT(region->GetGroup()->CountParams(), 0) << cases[k].name;
        const std::vector<int32_t> ids = Ids(*region);
        EXPECT_EQ(std::set<int32_t>(ids.begin(), ids.end()).size(), ids.size()) << cases[k].name;
        EXPECT_EQ(region->GetLockParam(), regions.GetSwitchGroup().GetParam(2 * k));
        EXPECT_EQ(region->GetVisibleParam(), regions.GetSwitchGroup().GetParam(2 * k + 1));
    }

    // Routing: the six outputs' source parameters, channel by channel.
    const RegionsManager::Region& routing = *regions.GetRegion(3);
    EXPECT_EQ(Ids(routing), (std::vector<int32_t>{261, 317, 373, 429, 485, 541}));
    for (int n = 0; n < kOutputs; ++n)
        EXPECT_EQ(routing.GetGroup()->GetParamAt(n), outputs[n]->FindParamByName("source"));

    // Input delay: delay time and bypass of A, then of B (offset 130).
    const RegionsManager::Region& delay = *regions.GetRegion(2);
    EXPECT_EQ(delay.GetGroup()->GetParamAt(0), inputs[0]->FindParamByName("delayTime"));
    EXPECT_EQ(delay.GetGroup()->GetParamAt(2), inputs[1]->FindParamByName("delayTime"));
    EXPECT_EQ(Ids(delay)[2], Ids(delay)[0] + 130);
}

TEST_F(Regions, SwitchesLiveUnderTheirPathsAndTheBuildRunsOnce)
{
    RegionsManager regions;
    ASSERT_EQ(regions.BuildRegions(), 0);

    struct Case
    {
        const char* path;
        double value;
    };
    const Case cases[] = {{"theRegions\\PEQLock", 0.0},
                          {"theRegions\\PEQVisible", 1.0},
                          {"theRegions\\OutputLevelVisible", 1.0},
                          {"theRegions\\OutputLimiterLock", 0.0},
                          {"theregions\\geqlock", 0.0}};
    for (const Case& c : cases)
    {
        XParam* param = FindParam("%s", c.path);
        ASSERT_NE(param, nullptr) << c.path;
        EXPECT_EQ(param->GetValue(), c.value) << c.path;
        EXPECT_EQ(param->GetType(), XParamDesc::kTypeInteger) << c.path;
    }
    EXPECT_EQ(regions.GetSwitchGroup().CountParams(), 17);

    EXPECT_EQ(regions.BuildRegions(), XResult::kFailed);
    EXPECT_EQ(regions.Count(), RegionsManager::kRegionCount);
    EXPECT_EQ(regions.GetSwitchGroup().CountParams(), 17);
}

TEST_F(Regions, ClearedRegionsAreBuiltAgainOverTheChannelsOfTheTimeWithTheSameSwitches)
{
    RegionsManager regions;
    ASSERT_EQ(regions.BuildRegions(), 0);
    regions.Clear();
    EXPECT_EQ(regions.Count(), 0);
    outputs.clear();
    for (int n = 1; n <= kOutputs; ++n)
    {
        XString name;
        name.Format("Output%d", n);
        outputs.push_back(std::make_unique<ChannelOutput>(name));
    }
    ASSERT_EQ(regions.BuildRegions(), 0);
    ASSERT_EQ(regions.Count(), RegionsManager::kRegionCount);
    const XParam* first = regions.GetRegion(5)->GetGroup()->GetParamAt(0);
    bool ofTheNewOutput = false;
    for (int32_t index = 0; const XParam* param = outputs[0]->GetParamAt(index); ++index)
        ofTheNewOutput = ofTheNewOutput || param == first;
    EXPECT_TRUE(ofTheNewOutput);
    EXPECT_EQ(regions.GetSwitchGroup().CountParams(), 17);
}

TEST_F(Regions, TheLockModePassFlagsEveryRegionParameterAndRefreshesItsWatchers)
{
    constexpr int32_t kFlag = XParamDesc::kFlagLockedByPreset;
    constexpr int32_t kFlagsChanged = static_cast<int32_t>(XMsgCode::kParamFlagsChanged);
    constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);
    RegionsManager regions;
    ASSERT_EQ(regions.BuildRegions(), 0);
    XParam* gain = outputs[2]->GetParam(ChannelParamTables::kOutputGainFirstId);
    XParam* delay = inputs[1]->GetParam(ChannelParamTables::kInputDelayId);
    ParamTest::Recorder watcher;
    gain->AddWatcher(&watcher, 0, false);

    // Without the lock-mode parameter the flags stay as they are; the watchers are still refreshed.
    gain->SetFlags(gain->GetFlags() | kFlag);
    watcher.Clear();
    regions.ApplyPresetLockMode();
    EXPECT_NE(gain->GetFlags() & kFlag, 0);
    EXPECT_EQ(delay->GetFlags() & kFlag, 0);
    EXPECT_EQ(watcher.Codes(), (std::vector<int32_t>{kRefresh}));

    XParamDesc desc;
    desc.Init();
    desc.SetName("currentPresetLockMode");
    desc.count = 2;
    FloatParam lockMode(desc);
    lockMode.SetPath("%s", RegionsManager::kLockModePath);
    struct Case
    {
        double mode;
        bool flagged;
        std::vector<int32_t> codes; // of the gain, flagged before the case
    };
    const Case cases[] = {{1.0, true, {kRefresh}},
                          {0.0, false, {kFlagsChanged, kRefresh}},
                          {1.0, true, {kFlagsChanged, kRefresh}}};
    for (const Case& c : cases)
    {
        lockMode.SetValue(c.mode, false);
        watcher.Clear();
        regions.ApplyPresetLockMode();
        EXPECT_EQ((gain->GetFlags() & kFlag) != 0, c.flagged) << c.mode;
        EXPECT_EQ((delay->GetFlags() & kFlag) != 0, c.flagged) << c.mode;
        EXPECT_EQ(watcher.Codes(), c.codes) << c.mode;
    }
}

TEST(RegionsWithoutChannels, EmptyRegionsAreNotCreatedAndAddRegionInsertsBeforeAnIndex)
{
    RegionsManager regions;
    ASSERT_EQ(regions.BuildRegions(), 0);
    EXPECT_EQ(regions.Count(), 0);

    // The region owns its group; the switches stay the manager's.
    XParamGroup& switches = regions.GetSwitchGroup();
    auto* first =
        new RegionsManager::Region(new XParamGroup(), "first", switches.GetParam(1), switches.GetParam(0));
    auto* second = new RegionsManager::Region(new XParamGroup(), "second", nullptr, nullptr);
    auto* third = new RegionsManager::Region(new XParamGroup(), "third", nullptr, nullptr);
    EXPECT_EQ(regions.AddRegion(first, -1), 0);
    EXPECT_EQ(regions.AddRegion(second, -1), 0);
    EXPECT_EQ(regions.AddRegion(third, 1), 0);
    EXPECT_EQ(regions.AddRegion(nullptr, 0), 0);
    ASSERT_EQ(regions.Count(), 3);
    EXPECT_EQ(regions.GetRegion(0), first);
    EXPECT_EQ(regions.GetRegion(1), third);
    EXPECT_EQ(regions.GetRegion(2), second);
}
