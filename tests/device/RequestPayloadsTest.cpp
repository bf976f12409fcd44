#include "device/RequestPayloads.h"

#include "core/XResult.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCDispatcher.h"
#include "device/WireId.h"
#include "support/FrameBytes.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace
{
using FrameBytes::Bytes;
using FrameBytes::Contents;

// Rows of the output table as the parameters are built from them.
constexpr int32_t kUnitSwitch = 2;
constexpr int32_t kUnitDecibel = 14;
constexpr int32_t kOutputMuteFlags = 0x1;
constexpr int32_t kOutputGainFlags = 0x800000;
constexpr int32_t kFrontPanelLockFlag = 0x80;

Bytes SetParamFrame(int wireId, int32_t type, double value, int32_t flags)
{
    TWMsgBuf payload;
    EXPECT_EQ(RequestPayloads::SetParamValue(payload, wireId, type, value, flags), 0);
    TWMsgBuf frame;
    EXPECT_EQ(TWRPCDispatcher::BuildRequest(frame, 0, kCmdSetParamValue, &payload), 0);
    return Contents(frame);
}

Bytes SetParamValueBytes(int32_t type, double value)
{
    TWMsgBuf payload;
    EXPECT_EQ(RequestPayloads::SetParamValue(payload, 0x0102, type, value, 0), 0);
    const Bytes all = Contents(payload);
    return Bytes(all.begin() + 2, all.end() - 1); // kind and value
}
} // namespace

TEST(RequestPayloads, OutputMuteAndOutputGainFramesAreTheGoldenBytes)
{
    const int mute1 = EncodeWireId(WireIdSpace::kOutput, 0, ChannelParamTables::kOutputMuteId);
    EXPECT_EQ(SetParamFrame(mute1, kUnitSwitch, 1.0, kOutputMuteFlags),
              (Bytes{0xBB, 0x00, 0xAA, 0xFF, 0x14, 0x00, 0x00, 0x00, 0x03, 0x00,
                     0x05, 0x08, 0x31, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}));

    const int gain4 = EncodeWireId(WireIdSpace::kOutput, 3, ChannelParamTables::kOutputGainId);
    EXPECT_EQ(SetParamFrame(gain4, kUnitDecibel, -3.5, kOutputGainFlags | kFrontPanelLockFlag),
              (Bytes{0xBB, 0x00, 0xAA, 0xFF, 0x14, 0x00, 0x00, 0x00, 0x03, 0x00,
                     0x05, 0x08, 0xD3, 0x01, 0x01, 0x00, 0x00, 0x60, 0xC0, 0x04}));
}

TEST(RequestPayloads, FloatTypesTravelAsFloat32OthersTruncatedTowardZero)
{
    struct Case
    {
        int32_t type;
        double value;
        Bytes kindAndValue;
    };
    const Case cases[] = {
        {0, 1.5, {0x01, 0x00, 0x00, 0xC0, 0x3F}},
        {kUnitDecibel, -3.5, {0x01, 0x00, 0x00, 0x60, 0xC0}},
        {kUnitSwitch, 1.0, {0x00, 0x01, 0x00, 0x00, 0x00}},
        {1, 2.9, {0x00, 0x02, 0x00, 0x00, 0x00}},
        {1, -2.9, {0x00, 0xFE, 0xFF, 0xFF, 0xFF}},
        {1, -0.5, {0x00, 0x00, 0x00, 0x00, 0x00}},
        {1000, 7.99, {0x00, 0x07, 0x00, 0x00, 0x00}},
        {1001, 0.0, {0x00, 0x00, 0x00, 0x00, 0x00}},
        {1, 2147483647.0, {0x00, 0xFF, 0xFF, 0xFF, 0x7F}},
        {1, 1e12, {0x00, 0xFF, 0xFF, 0xFF, 0x7F}},
        {1, -1e12, {0x00, 0x00, 0x00, 0x00, 0x80}},
        {1, std::numeric_limits<double>::quiet_NaN(), {0x00, 0x00, 0x00, 0x00, 0x00}},
        {5, 1e300, {0x01, 0x00, 0x00, 0x80, 0x7F}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetParamValueBytes(c.type, c.value), c.kindAndValue)
            << "type " << c.type << " value " << c.value;
}

TEST(RequestPayloads, WireIdsOutsideTheSpaceAreRefused)
{
    for (int wireId : {-1, 572, 0x10131})
    {
        TWMsgBuf payload;
        EXPECT_EQ(RequestPayloads::SetParamValue(payload, wireId, 2, 1.0, 0), XResult::kFailed);
        EXPECT_EQ(RequestPayloads::ParamId(payload, wireId), XResult::kFailed);
        EXPECT_EQ(payload.GetByteCount(), 0) << wireId;
    }
    TWMsgBuf payload;
    ASSERT_EQ(RequestPayloads::ParamId(payload, 571), 0);
    EXPECT_EQ(Contents(payload), (Bytes{0x3B, 0x02}));
}

TEST(RequestPayloads, RecallNamesTheBankAndWhetherItIsAUserPreset)
{
    struct Case
    {
        unsigned preset;
        Bytes payload;
    };
    const Case cases[] = {
        {7, {0x07, 0x01}},  // U07
        {21, {0x00, 0x00}}, // F01
        {80, {0x3B, 0x00}}, // F60
        {20, {0x14, 0x01}}, // U20
        {0, {0x00, 0x01}},  // the edit buffer
    };
    for (const Case& c : cases)
    {
        TWMsgBuf payload;
        ASSERT_EQ(RequestPayloads::Recall(payload, c.preset), 0) << c.preset;
        EXPECT_EQ(Contents(payload), c.payload) << c.preset;
    }
    for (unsigned preset : {81u, 277u, static_cast<unsigned>(-1)})
    {
        TWMsgBuf payload;
        EXPECT_EQ(RequestPayloads::Recall(payload, preset), XResult::kFailed) << preset;
        EXPECT_EQ(payload.GetByteCount(), 0);
    }
}

TEST(RequestPayloads, PresetNumbersFlagsAndPlainValues)
{
    TWMsgBuf payload;
    ASSERT_EQ(RequestPayloads::PresetFlags(payload, 12, 0x0C), 0);
    ASSERT_EQ(RequestPayloads::PresetNumber(payload, 80), 0);
    ASSERT_EQ(RequestPayloads::Int32Value(payload, 1), 0);
    ASSERT_EQ(RequestPayloads::ByteValue(payload, 1), 0);
    EXPECT_EQ(Contents(payload), (Bytes{0x0C, 0x0C, 0x00, 0x00, 0x00, 0x50, 0x01, 0x00, 0x00, 0x00, 0x01}));

    for (int preset : {-1, 81, 256})
    {
        TWMsgBuf refused;
        EXPECT_EQ(RequestPayloads::PresetNumber(refused, preset), XResult::kFailed) << preset;
        EXPECT_EQ(RequestPayloads::PresetFlags(refused, preset, 0), XResult::kFailed) << preset;
        EXPECT_EQ(refused.GetByteCount(), 0);
    }
}
