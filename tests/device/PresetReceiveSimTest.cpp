// The preset receive end to end: the job, the device watcher and the link against the simulated unit.

#include "core/XMessageCodes.h"
#include "device/DeviceCommWatcher.h"
#include "device/DeviceJobLink.h"
#include "device/IDeviceJob.h"
#include "device/PresetReceiveJob.h"
#include "device/PresetsManager.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "support/AppServicesStandIn.h"
#include "support/SimUnitTest.h"
#include "support/WatcherTestRig.h"

#include <juce_core/juce_core.h>
#include <memory>
#include <string>

namespace
{
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
/** How long one request waits for its answer before it is sent again. */
constexpr int kAnswerWaitMs = SimEditor::kAnswerWaitMs;
constexpr uint32_t kPresetFlagsMessage = FourCharCode("prfg");
constexpr uint32_t kPresetInfoMessage = FourCharCode("pInf");
constexpr int kLockedFlag = IPresetEntries::kFlagLocked;

class NoWindow final : public IJobProgress
{
public:
    void SetProgress(double fraction) override { last.store(fraction); }
    void SetStatusMessage(const XString&) override {}
    bool ShouldExit() override { return false; }
    std::atomic<double> last{-1.0};
};

class PresetReceiveSimTest : public SimUnitTest
{
protected:
    /** Whether the application got the flags of that preset. */
    static bool AppGotFlags(WatcherRig::RecordingLooper& looper, int number, int flags)
    {
        for (const WatcherRig::RecordingLooper::Posted& posted : looper.Posts())
            if (posted.what == kPresetFlagsMessage && posted.presetNum == number && posted.second == flags)
                return true;
        return false;
    }
};
} // namespace

TEST_F(PresetReceiveSimTest, FillsAllEightyPresetsInOrderFromTheUnit)
{
    ASSERT_TRUE(StartUnit());
    AppServicesStandIn services;
    WatcherRig::RecordingLooper looper;
    ASSERT_NE(looper.Run(), 0);
    SimEditor editor(looper);
    DeviceCommWatcher* watcher = &editor.watcher;
    ASSERT_TRUE(editor.Open());

    // Lock user preset 5 and factory preset F60 (80); the unit serves once its flags come back. Every
    // request of the flags is answered before the receive starts.
    int flagRequests = 0;
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            watcher->SetPresetFlags(5, kLockedFlag);
            watcher->SetPresetFlags(80, kLockedFlag);
            watcher->RequestPresetFlags(80);
            ++flagRequests;
            return TestSupport::WaitUntil([&] { return AppGotFlags(looper, 80, kLockedFlag); },
                                          kAnswerWaitMs);
        },
        kWaitMs));
    ASSERT_TRUE(
        TestSupport::WaitUntil([&] { return looper.CountOf(kPresetFlagsMessage) >= flagRequests; }, kWaitMs));

    PresetsManager presets;
    presets.FillPlaceholders();
    DeviceJobLink presetLink(watcher);
    PresetReceiveJob job(presetLink, presets);
    NoWindow window;
    const int flagsPostedBefore = looper.CountOf(kPresetFlagsMessage);
    job.Run(window);
    ASSERT_EQ(job.GetOutcome(), PresetReceiveJob::Outcome::kComplete);
    EXPECT_EQ(job.GetProgress(), 100);
    EXPECT_EQ(window.last.load(), 1.0);
    EXPECT_EQ(watcher->GetPresetHandler(), nullptr);

    // Every user slot of the fresh unit is empty; the factory presets carry their configurations.
    for (int index = 0; index < PresetsManager::kPresetCount; ++index)
    {
        SCOPED_TRACE(PresetsManager::Preset::LocationName(index));
        PresetsManager::Preset entry("", 0, 0);
        ASSERT_TRUE(presets.GetEntry(index, &entry));
        if (index < PresetsManager::kUserPresetCount)
        {
            EXPECT_STREQ(entry.name.CStr(), "?");
            EXPECT_EQ(entry.configuration, -1);
        }
        else
        {
            EXPECT_EQ(entry.configuration, (index - PresetsManager::kUserPresetCount) % 7);
            EXPECT_EQ(std::string(entry.name.CStr()).substr(entry.name.Length() - 3),
                      PresetsManager::Preset::LocationName(index));
        }
        if (index == 4)
        {
            EXPECT_EQ(entry.flags, kLockedFlag);
        }
        else if (index < PresetsManager::kPresetCount - 1)
        {
            EXPECT_EQ(entry.flags, 0);
        }
    }
    PresetsManager::Preset first("", 0, 0);
    presets.GetEntry(20, &first);
    EXPECT_STREQ(first.name.CStr(), "2-Way FR F01");

    // Preset 80's flags come last and may arrive after the receive has ended: then the application
    // gets them. Every other reply went to the job.
    PresetsManager::Preset last("", 0, 0);
    presets.GetEntry(79, &last);
    EXPECT_TRUE(last.flags == kLockedFlag || TestSupport::WaitUntil(
                                                 [&] {
                                                     return looper.CountOf(kPresetFlagsMessage) >
                                                                flagsPostedBefore &&
                                                            AppGotFlags(looper, 80, kLockedFlag);
                                                 },
                                                 kWaitMs));
    EXPECT_LE(looper.CountOf(kPresetFlagsMessage), flagsPostedBefore + 1);
    EXPECT_EQ(looper.CountOf(kPresetInfoMessage), 0);
}
