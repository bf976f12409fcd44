#pragma once

#include "core/XMemory.h"
#include "device/FlashEngine.h"
#include "device/UsbLinkManager.h"
#include "support/FrameBytes.h"
#include "support/UsbDeviceFolderTest.h"

#include <cstdlib>
#include <juce_core/juce_core.h>
#include <memory>

/** The simulated unit in the test's device folder, with a link and its flash engine; the unit's
    clock runs as fast as the test's. */
class SimLinkTest : public UsbDeviceFolderTest
{
public:
    static constexpr int kSimWaitMs = 30000;

protected:
    static constexpr uint8_t kDeviceInfoRequest = 1;
    static constexpr uint8_t kDeviceInfo = 2;

    juce::ChildProcess unit;
    std::unique_ptr<UsbLinkManager> link = std::make_unique<UsbLinkManager>();
    std::unique_ptr<FlashEngine> engine = std::make_unique<FlashEngine>(*link);

    /** Starts the unit with the options and connects the link to it. */
    void StartUnit(const juce::StringArray& options)
    {
        juce::StringArray arguments{juce::String(TestSupport::BinaryPath("krx640-sim")), "--dir",
                                    juce::String(folder.Path())};
        arguments.addArray(options);
        ::setenv("KRX640_TIME_SCALE", juce::String(kFastTimeScale).toRawUTF8(), 1);
        const bool started = unit.start(arguments, 0);
        ::unsetenv("KRX640_TIME_SCALE");
        ASSERT_TRUE(started);
        ASSERT_TRUE(Reconnect());
    }

    /** Scans until the link is connected. */
    bool Reconnect()
    {
        return TestSupport::WaitUntil(
            [&]
            {
                if (!link->IsConnected())
                    link->ScanDevices();
                return link->IsConnected();
            },
            kSimWaitMs);
    }

    /** Sends a request frame until the wanted answer came; its payload, empty when none came. */
    FrameBytes::Bytes Ask(uint8_t command, const FrameBytes::Bytes& payload, uint8_t answer)
    {
        const FrameBytes::Bytes request = FrameBytes::Frame(3, command, payload);
        FrameBytes::Bytes reply;
        TestSupport::WaitUntil(
            [&]
            {
                XMemory chunk;
                if (link->PopReceived(chunk) == 0 && chunk.GetLength() > 12 && chunk.GetData()[10] == answer)
                {
                    reply.assign(chunk.GetData() + 12, chunk.GetData() + chunk.GetLength());
                    return true;
                }
                if (link->GetPendingFrames() == 0)
                    link->QueueFrame(request.data(), static_cast<int>(request.size()));
                return false;
            },
            kSimWaitMs);
        return reply;
    }

    uint32_t FirmwareVersion()
    {
        const FrameBytes::Bytes info = Ask(kDeviceInfoRequest, {}, kDeviceInfo);
        return info.size() >= 5 ? static_cast<uint32_t>(info[1] | info[2] << 8 | info[3] << 16) |
                                      static_cast<uint32_t>(info[4]) << 24
                                : 0;
    }

    void TearDown() override
    {
        engine.reset();
        link.reset();
        unit.kill();
        UsbDeviceFolderTest::TearDown();
    }
};
