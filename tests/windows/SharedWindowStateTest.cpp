// The display state the editor windows share, and the fixture's way to the simulated unit.

#include "WindowTestSupport.h"
#include "device/DeviceCommand.h"
#include "support/ParamTestSupport.h"

#include <gtest/gtest.h>

namespace
{
class SharedWindowStateTest : public WindowTest::WindowTestBase
{
};

class WindowSimTest : public WindowTest::WindowSimTestBase
{
};
} // namespace

TEST_F(SharedWindowStateTest, ItsParametersAreFoundByPathClampedToTheirRangesAndNeverMarkTheDocument)
{
    SharedWindowState& state = SharedWindowState::Instance();
    EXPECT_EQ(WindowTest::Param("FilterGroup1\\DrawTypeBand1"), state.DrawType(0, 0));
    EXPECT_EQ(WindowTest::Param("filtergroup6\\drawtypeband5"), state.DrawType(5, 4));
    struct Outside
    {
        int32_t output;
        int32_t band;
    };
    for (const Outside& c : {Outside{-1, 0}, Outside{6, 0}, Outside{0, -1}, Outside{0, 5}})
    {
        EXPECT_EQ(state.DrawType(c.output, c.band), nullptr);
        EXPECT_EQ(state.ChannelEqQShown(c.output, c.band), nullptr);
    }
    EXPECT_EQ(state.ChannelEqFocusBand(6), nullptr);
    EXPECT_EQ(state.DrawTypeGroup(-1), nullptr);

    {
        ParamTest::FakeHost host;
        state.CurActiveChannel().ChangeValue(9, true);
        state.ChannelEqFocusBand(2)->ChangeValue(7, true);
        state.ChannelEqQShown(5, 4)->ChangeValue(1, true);
        state.DrawType(3, 2)->ChangeValue(30, true);
        EXPECT_EQ(host.marks.load(), 0);
    }
    SetParamHost(&ViewTest::Application());
    EXPECT_EQ(state.CurActiveChannel().GetValue(), 5.0);
    EXPECT_EQ(state.ChannelEqFocusBand(2)->GetValue(), 4.0);

    state.Reset();
    EXPECT_EQ(state.CurActiveChannel().GetValue(), 0.0);
    EXPECT_EQ(state.ChannelEqFocusBand(2)->GetValue(), 0.0);
    EXPECT_EQ(state.ChannelEqQShown(5, 4)->GetValue(), 0.0);
    EXPECT_EQ(state.DrawType(3, 2)->GetValue(), 0.0);
}

TEST_F(SharedWindowStateTest, TheInputDrawTypesAreFoundByPathPerInputAndBandAndStayLocal)
{
    SharedWindowState& state = SharedWindowState::Instance();
    struct Path
    {
        const char* path;
        int32_t input;
        int32_t band;
    };
    for (const Path& c : {Path{"PEQDrawChA\\DrawTypeBand1", 0, 0}, Path{"PEQDrawChA\\DrawTypeBand10", 0, 9},
                          Path{"peqdrawchb\\drawtypeband1", 1, 0}, Path{"PEQDrawChB\\DrawTypeBand7", 1, 6}})
    {
        XParam* drawType = state.InputDrawType(c.input, c.band);
        ASSERT_NE(drawType, nullptr) << c.path;
        EXPECT_EQ(WindowTest::Param(c.path), drawType) << c.path;
        EXPECT_EQ(
            state.InputDrawTypeGroup(c.input)->GetParam(SharedWindowState::kInputDrawTypeFirstId + c.band),
            drawType)
            << c.path;
    }
    EXPECT_EQ(WindowTest::Param("PEQDrawChA\\DrawTypeBand11"), nullptr);
    EXPECT_NE(state.InputDrawType(0, 3), state.InputDrawType(1, 3));
    for (const Path& c : {Path{"", -1, 0}, Path{"", 2, 0}, Path{"", 0, -1}, Path{"", 0, 10}})
        EXPECT_EQ(state.InputDrawType(c.input, c.band), nullptr) << c.input << "," << c.band;
    EXPECT_EQ(state.InputDrawTypeGroup(2), nullptr);

    {
        ParamTest::FakeHost host;
        state.InputDrawType(1, 9)->ChangeValue(30, true);
        state.InputDrawType(0, 0)->ChangeValue(8, true);
        EXPECT_EQ(host.marks.load(), 0);
    }
    SetParamHost(&ViewTest::Application());
    EXPECT_EQ(state.InputDrawType(1, 9)->GetValue(), 24.0);
    EXPECT_EQ(state.InputDrawType(0, 0)->GetValue(), 8.0);
    state.Reset();
    EXPECT_EQ(state.InputDrawType(1, 9)->GetValue(), 0.0);
    EXPECT_EQ(state.InputDrawType(0, 0)->GetValue(), 0.0);
}

TEST_F(WindowSimTest, TheWindowsRequestsReachTheSimulatedUnit)
{
    EXPECT_FALSE(GetDeviceRequests().IsConnected());
    ASSERT_TRUE(ConnectEditor());
    IDeviceRequests& requests = GetDeviceRequests();
    EXPECT_TRUE(requests.IsConnected());
    EXPECT_TRUE(requests.IsSendingEnabled());
    requests.SetPresetFlags(2, 4);
    requests.RequestPresetFlags(2);
    ASSERT_TRUE(WaitForUnitFrames(kCmdPresetFlags, 1));
    const std::vector<FrameBytes::Sent> set = UnitReceived(kCmdSetPresetFlags);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].payload, (FrameBytes::Bytes{2, 4, 0, 0, 0}));
    EXPECT_EQ(UnitReceived(kCmdPresetFlags)[0].payload, (FrameBytes::Bytes{2}));
}
