#include "core/XMemory.h"
#include "device/UsbLinkManager.h"
#include "support/FrameBytes.h"
#include "support/SimUnitTest.h"

#include <juce_core/juce_core.h>

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint8_t kDeviceInfoRequest = 1;
constexpr uint8_t kDeviceInfo = 2;

/** Sends the device-info request until the answer came; the answer frame, empty when none came. */
FrameBytes::Bytes AskForDeviceInfo(UsbLinkManager& link)
{
    const FrameBytes::Bytes request = FrameBytes::Frame(3, kDeviceInfoRequest, {});
    FrameBytes::Bytes reply;
    TestSupport::WaitUntil(
        [&]
        {
            XMemory chunk;
            if (link.PopReceived(chunk) == 0 && chunk.GetLength() > 10 && chunk.GetData()[10] == kDeviceInfo)
            {
                reply.assign(chunk.GetData(), chunk.GetData() + chunk.GetLength());
                return true;
            }
            if (link.GetPendingFrames() == 0)
                link.QueueFrame(request.data(), static_cast<int>(request.size()));
            return false;
        },
        kWaitMs);
    return reply;
}

class UsbLinkSimTest : public SimUnitTest
{
};
} // namespace

TEST_F(UsbLinkSimTest, TheSimulatedUnitAnswersOverTheLinkAndItsEndClosesIt)
{
    ASSERT_TRUE(StartUnit());

    UsbLinkManager link;
    link.Open();

    // The unit answers, and again after the editor closed the link and found it once more.
    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        ASSERT_TRUE(TestSupport::WaitUntil(
            [&]
            {
                if (!link.IsConnected())
                    link.ScanDevices();
                return link.IsConnected();
            },
            kWaitMs));
        const FrameBytes::Bytes reply = AskForDeviceInfo(link);
        ASSERT_GE(reply.size(), 12u);
        EXPECT_EQ(reply.size(), 12u + reply[11]) << "one chunk is one whole frame";
        if (round == 0)
            link.Close();
    }

    StopUnit();
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return !link.IsConnected(); }, kWaitMs));
}
