#pragma once

#include "platform/PlatformClock.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

/** A device folder of the test's own (KRX640_USB_DIR) and a fast clock, so that the link's fixed
    waits (1000 ms after an open, 2000 ms after a scan) pass quickly. */
class UsbDeviceFolderTest : public ::testing::Test
{
protected:
    static constexpr double kFastTimeScale = 20.0;

    TestSupport::TempFolder folder;
    double savedTimeScale = 1.0;

    void SetUp() override
    {
        ::setenv("KRX640_USB_DIR", folder.Path().c_str(), 1);
        savedTimeScale = PlatformClock::GetTimeScale();
        PlatformClock::SetTimeScale(kFastTimeScale);
    }

    void TearDown() override
    {
        PlatformClock::SetTimeScale(savedTimeScale);
        ::unsetenv("KRX640_USB_DIR");
    }
};
