#include "device/WireId.h"

#include <gtest/gtest.h>
#include <set>

TEST(WireId, DecodeSplitsTheSpaceIntoKindBlockAndOffset)
{
    struct Case
    {
        int wireId;
        bool valid;
        int kind, block, offset;
    };
    const Case cases[] = {
        {0, true, 0, 0, 0},    {50, true, 0, 0, 50},  {51, true, 1, 0, 0},     {63, true, 1, 0, 12},
        {64, true, 2, 0, 0},   {161, true, 2, 0, 97}, {162, true, 2, 1, 0},    {259, true, 2, 1, 97},
        {260, true, 3, 0, 0},  {311, true, 3, 0, 51}, {312, true, 3, 1, 0},    {571, true, 3, 5, 51},
        {572, false, 0, 0, 0}, {-1, false, 0, 0, 0},  {65535, false, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        int kind = -7, block = -7, offset = -7;
        ASSERT_EQ(DecodeWireId(c.wireId, &kind, &block, &offset), c.valid) << c.wireId;
        if (!c.valid)
        {
            EXPECT_EQ(kind, -7) << "nothing written for " << c.wireId;
            continue;
        }
        EXPECT_EQ(kind, c.kind) << c.wireId;
        EXPECT_EQ(block, c.block) << c.wireId;
        EXPECT_EQ(offset, c.offset) << c.wireId;
    }
}

TEST(WireId, EncodeIsTheInverseOfDecodeOverTheWholeSpace)
{
    for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
    {
        int kind = 0, block = 0, offset = 0;
        ASSERT_TRUE(DecodeWireId(wireId, &kind, &block, &offset));
        ASSERT_EQ(EncodeWireId(kind, block, offset), wireId);
    }
    // Output 4 outputGain, input B GEQ gain 1, and offsets beyond their block.
    EXPECT_EQ(EncodeWireId(WireIdSpace::kOutput, 3, 51), 467);
    EXPECT_EQ(EncodeWireId(WireIdSpace::kInput, 1, 62), 224);
    EXPECT_EQ(EncodeWireId(WireIdSpace::kMain, 0, 51), -1);
    EXPECT_EQ(EncodeWireId(WireIdSpace::kPreset, 0, 13), -1);
    EXPECT_EQ(EncodeWireId(WireIdSpace::kInput, 0, 98), -1);
    EXPECT_EQ(EncodeWireId(WireIdSpace::kOutput, 6, 0), -1);
    EXPECT_EQ(EncodeWireId(WireIdSpace::kOutput, 0, -1), -1);
    EXPECT_EQ(EncodeWireId(4, 0, 0), -1);
}

TEST(WireId, TheNeverSentSetIsExactlyTheMetersStatusAndDelayBases)
{
    std::set<int> neverSent = {0, 14, 16, 28, 49, 61, 62, 64, 162};
    for (int output = 0; output < WireIdSpace::kOutputCount; ++output)
    {
        neverSent.insert(260 + 52 * output);
        neverSent.insert(306 + 52 * output);
    }
    for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
        EXPECT_EQ(IsWireIdSent(wireId), neverSent.count(wireId) == 0) << wireId;
    EXPECT_FALSE(IsWireIdSent(-1));
    EXPECT_FALSE(IsWireIdSent(572));
}

TEST(WireId, FloatDecisionPackedIdsAndFlags)
{
    for (int type : {1, 2, 1000, 1001})
        EXPECT_FALSE(IsFloatParamType(type)) << type;
    for (int type : {0, 3, 5, 9, 14, 22, 1002})
        EXPECT_TRUE(IsFloatParamType(type)) << type;

    for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
        EXPECT_EQ(IsPackedIntWireId(wireId), wireId >= 51 && wireId <= 59) << wireId;

    EXPECT_EQ(WireFlagsFromParamFlags(0x800000), 0);
    EXPECT_EQ(WireFlagsFromParamFlags(0x800080), 0x04);
    EXPECT_EQ(WireFlagsFromParamFlags(0x40), 0x08);
    EXPECT_EQ(WireFlagsFromParamFlags(0xC0), 0x0C);
    EXPECT_EQ(ParamFlagsFromWireFlags(0x8000C1, 0x00), 0x800001);
    EXPECT_EQ(ParamFlagsFromWireFlags(0x800001, 0x04), 0x800081);
    EXPECT_EQ(ParamFlagsFromWireFlags(0x1, 0x08 | 0x40), 0x41)
        << "wire flag 0x40 marks meters, not a param flag";
}
