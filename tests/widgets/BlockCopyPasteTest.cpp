// The block copy and paste of the system overview: the nine-slot clipboard, which paste is
// enabled, what a paste copies between channels, and channel linking around a paste.

#include "core/DefaultAppServices.h"
#include "core/XParam.h"
#include "device/ChannelBehaviours.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "support/WatcherTestRig.h"
#include "widgets/BlockClipboard.h"
#include "widgets/CopyCmd.h"
#include "widgets/PasteCmd.h"
#include "windows/SharedWindowState.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
constexpr int32_t kChannelLinkingId = GlobalParamTables::kChannelLinkingId;
constexpr int32_t kLinkedChannelId = ChannelParamTables::kLinkedChannelId;
/** Block masks and slots of the system overview's panels. */
constexpr int32_t kRoutingMask = 0x80000;
constexpr int32_t kCrossoverMask = 0x100000;
constexpr int32_t kOutputEqMask = 0x200000;
constexpr int32_t kWholeChannelMask = 0xF00000;
constexpr int32_t kInputPeqMask = 0x10000;

/** Hands out the rig's main group and switches channel linking as the application does, recording
    each switch. */
class LinkingServices final : public DefaultAppServices
{
public:
    explicit LinkingServices(XParamGroup& mainGroup) : main(mainGroup) { SetAppServices(this); }
    ~LinkingServices() override { SetAppServices(nullptr); }

    XParam* GetParam(int32_t id) override
    {
        XParam* param = main.GetParam(id);
        return param != nullptr ? param : DetachedParam(GroupKind::Main, id);
    }
    void SetChannelLinking(bool on) override
    {
        switches.push_back(on);
        main.GetParam(kChannelLinkingId)->ChangeValue(on ? 1.0 : 0.0, true);
    }

    std::vector<bool> switches;

private:
    XParamGroup& main;
};

XParam* Channel(bool input, int channel, int32_t id)
{
    XParamGroup* group = input ? static_cast<XParamGroup*>(GetInputChannel(channel))
                               : static_cast<XParamGroup*>(GetOutputChannel(channel));
    return group->GetParam(id);
}

class BlockCopyPasteTest : public ::testing::Test
{
protected:
    void SetUp() override { BlockClipboard::Reset(); }
    void TearDown() override
    {
        BlockClipboard::Reset();
        SetAppServices(&groups.services);
    }

    XParam* Linking() { return groups.main.GetParam(kChannelLinkingId); }

    WatcherRig::Groups groups;
    LinkingServices services{groups.main}; // after the groups: replaces their services
    ChannelBehaviours behaviours;          // the channels' links, as the application has them
};

TEST_F(BlockCopyPasteTest, PasteCopiesOnlyTheBlocksParametersFromTheCopiedChannel)
{
    struct Value
    {
        int32_t id;
        double value;
        bool copied;
    };
    struct Case
    {
        const char* block;
        bool input;
        int from, to;
        int32_t mask, slot;
        std::vector<Value> values;
    };
    // hipassFreq 3, xoverDelayTime 8, band1Gain 17, delayTime 43, limitThreshold 47, outputGain 51,
    // source 1; inputs: HPFFreq 21, GEQgain1 62.
    const Case cases[] = {
        {"crossover, output 2 onto output 5 (with the output gain)",
         false,
         1,
         4,
         kCrossoverMask,
         1,
         {{3, 500, true}, {8, 5, true}, {51, -3, true}, {43, 10, false}, {17, 6, false}, {47, 0, false}}},
        {"output EQ, output 1 onto output 3",
         false,
         0,
         2,
         kOutputEqMask,
         2,
         {{17, 6, true}, {3, 500, false}, {51, -3, false}, {43, 10, false}}},
        {"whole output, output 6 onto output 1 (routing left out)",
         false,
         5,
         0,
         kWholeChannelMask,
         5,
         {{3, 500, true}, {17, 6, true}, {43, 10, true}, {47, 0, true}, {51, -3, true}, {1, 2, false}}},
        {"routing, output 4 onto output 2", false, 3, 1, kRoutingMask, 0, {{1, 2, true}, {3, 500, false}}},
        {"input PEQ, input A onto input B", true, 0, 1, kInputPeqMask, 6, {{21, 150, true}, {62, 4, false}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.block);
        for (const Value& v : c.values)
        {
            Channel(c.input, c.to, v.id)->ResetToDefault();
            Channel(c.input, c.from, v.id)->SetValue(v.value, false);
            ASSERT_NE(Channel(c.input, c.to, v.id)->GetValue(), v.value) << v.id;
        }
        CopyCmd copy(c.from, c.mask, "Copy", c.slot, c.input);
        PasteCmd paste(c.to, c.mask, "Paste", c.slot, c.input);
        EXPECT_FALSE(paste.IsEnabled(nullptr));
        copy.Execute(nullptr);
        ASSERT_TRUE(paste.IsEnabled(nullptr));
        paste.Execute(nullptr);
        for (const Value& v : c.values)
            EXPECT_EQ(Channel(c.input, c.to, v.id)->GetValue() == v.value, v.copied) << "id " << v.id;
        BlockClipboard::Reset();
    }
}

TEST_F(BlockCopyPasteTest, ACopyEmptiesEveryOtherSlotAndDisablesTheirPastes)
{
    PasteCmd pasteCrossover(4, kCrossoverMask, "Paste Crossover block", 1, false);
    PasteCmd pasteOutputEq(4, kOutputEqMask, "Paste Output EQ block", 2, false);
    EXPECT_EQ(pasteCrossover.GetTitle(), XString("Paste Crossover block"));

    CopyCmd(1, kCrossoverMask, "Copy Crossover block", 1, false).Execute(nullptr);
    for (int32_t slot = 0; slot < BlockClipboard::kSlotCount; ++slot)
        EXPECT_EQ(BlockClipboard::Get(slot), slot == 1 ? 2 : -1) << slot;
    EXPECT_TRUE(pasteCrossover.IsEnabled(nullptr));
    EXPECT_FALSE(pasteOutputEq.IsEnabled(nullptr));

    CopyCmd(3, kOutputEqMask, "Copy Output EQ block", 2, false).Execute(nullptr);
    EXPECT_FALSE(pasteCrossover.IsEnabled(nullptr)) << "after a copy of another kind";
    EXPECT_TRUE(pasteOutputEq.IsEnabled(nullptr));
    EXPECT_EQ(BlockClipboard::Get(2), 4);

    // A slot outside the nine is never filled, and a paste from it changes nothing.
    CopyCmd(0, kCrossoverMask, "Copy", 9, false).Execute(nullptr);
    EXPECT_EQ(BlockClipboard::Get(9), 0);
    EXPECT_EQ(BlockClipboard::Get(2), 4);
    PasteCmd outside(0, kCrossoverMask, "Paste", -1, false);
    EXPECT_FALSE(outside.IsEnabled(nullptr));
    outside.Execute(nullptr);
    EXPECT_TRUE(services.switches.empty());

    SharedWindowState::Instance().Reset();
    for (int32_t slot = 0; slot < BlockClipboard::kSlotCount; ++slot)
        EXPECT_EQ(BlockClipboard::Get(slot), 0) << "the windows' shared state empties the clipboard";
    EXPECT_FALSE(pasteOutputEq.IsEnabled(nullptr));
}

TEST_F(BlockCopyPasteTest, PasteReachesNoLinkedOutputAndLeavesLinkingOn)
{
    constexpr int32_t kBand1GainId = ChannelParamTables::kOutputGainFirstId;
    Channel(false, 4, kLinkedChannelId)->SetValue(6, false); // output 5 linked to output 6
    Linking()->SetValue(1.0, false);
    // The link works: an edit of output 5 reaches output 6.
    Channel(false, 4, kBand1GainId)->ChangeValue(3.0, true);
    ASSERT_EQ(Channel(false, 5, kBand1GainId)->GetValue(), 3.0);
    Channel(false, 5, kBand1GainId)->SetValue(0.0, false);

    Channel(false, 0, kBand1GainId)->SetValue(6.0, false);
    CopyCmd(0, kOutputEqMask, "Copy", 2, false).Execute(nullptr);
    PasteCmd paste(4, kOutputEqMask, "Paste", 2, false);
    for (double before : {1.0, 0.0})
    {
        SCOPED_TRACE(before);
        Linking()->SetValue(before, false);
        services.switches.clear();
        paste.Execute(nullptr);
        EXPECT_EQ(Channel(false, 4, kBand1GainId)->GetValue(), 6.0);
        EXPECT_EQ(Channel(false, 5, kBand1GainId)->GetValue(), 0.0) << "the linked output kept its value";
        EXPECT_EQ(services.switches, (std::vector<bool>{false, true}));
        EXPECT_EQ(Linking()->GetValue(), 1.0);
        Channel(false, 4, kBand1GainId)->SetValue(0.0, false);
    }
}
} // namespace
