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
