#include "device/WatcherFirmwareUpdateHost.h"

#include "device/DeviceCommWatcher.h"
#include "device/DeviceCommand.h"
#include "device/IReceivePresetHandler.h"
#include "platform/PlatformClock.h"
#include "support/WatcherTestRig.h"

#include <functional>
#include <gtest/gtest.h>

using WatcherRig::Bytes;
using WatcherRig::Sent;

namespace
{
/** The watcher's half alone: the application's half answers nothing. */
class WatcherOnlyHost final : public WatcherFirmwareUpdateHost
{
public:
    using WatcherFirmwareUpdateHost::WatcherFirmwareUpdateHost;

    int GetSaveUserPreset() override { return 0; }
    XString GetSaveUserPresetPath() override { return {}; }
    bool IsEmptyPresetName(const XString&) override { return true; }
    void SyncCompareGroups(bool) override {}
    bool SavePresetFile(const XString&) override { return true; }
    void ShowWaitCursor(bool) override {}
    void ShowMessage(const XString&, const XString&) override {}
};

class NoPresetJob final : public IReceivePresetHandler
{
public:
    void PresetInfoReceived(int, int, XString&) override {}
    void PresetFlagsReceived(int, int) override {}
    void PresetDataReceived() override {}
};

class WatcherFirmwareUpdateHostTest : public ::testing::Test
{
protected:
    // RecallPresetForSaving waits 1000 ms after its request.
    static constexpr double kFastTimeScale = 100.0;

    void SetUp() override
    {
        savedTimeScale = PlatformClock::GetTimeScale();
        PlatformClock::SetTimeScale(kFastTimeScale);
    }
    void TearDown() override { PlatformClock::SetTimeScale(savedTimeScale); }

    double savedTimeScale = 1.0;
    WatcherRig::Groups groups;
    WatcherRig::RecordingConnection connection;
    DeviceCommWatcher watcher{&connection};
};
} // namespace

TEST_F(WatcherFirmwareUpdateHostTest, EveryWatcherOperationReachesTheWatcher)
{
    WatcherOnlyHost host(&watcher);
    const Bytes zero{0, 0, 0, 0};
    struct Case
    {
        const char* name;
        std::function<void()> call;
        std::vector<Sent> sent;
    };
    const Case cases[] = {
        {"command 3", [&] { host.SendCommand3(); }, {{kCmdCommand3, zero}}},
        {"bootloader", [&] { host.SendEnterBootloader(); }, {{kCmdEnterBootloader, {0}}}},
        {"command 12", [&] { host.SendCommand12(1); }, {{kCmdCommand12, {1, 0, 0, 0}}}},
        {"preset info", [&] { host.RequestPresetInfo(7); }, {{kCmdPresetInfo, {7}}}},
        {"recall for saving",
         [&] { host.RecallPresetForSaving(4); },
         {{kCmdRecallPresetForSaving, {4, 1}}, {kCmdCommand12, zero}}},
        {"erase user presets", [&] { host.EraseUserPresets(); }, {{kCmdEraseUserPresets, {}}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.call();
        EXPECT_EQ(connection.Take(), c.sent);
    }

    host.BuildWireIdMaps(true);
    EXPECT_TRUE(watcher.AreMapsBuilt());
    EXPECT_GT(watcher.GetLiveMapCount(), 0);
    host.StopWatching();
    EXPECT_FALSE(watcher.AreMapsBuilt());

    NoPresetJob job;
    host.SetPresetHandler(&job);
    EXPECT_EQ(watcher.GetPresetHandler(), &job);
    host.SetPresetHandler(nullptr);
    EXPECT_EQ(watcher.GetPresetHandler(), nullptr);

    EXPECT_TRUE(host.IsUnitConnected());
    connection.connected.store(false);
    EXPECT_FALSE(host.IsUnitConnected());
}

TEST_F(WatcherFirmwareUpdateHostTest, WithoutAWatcherNothingHappensAndNoUnitIsConnected)
{
    WatcherOnlyHost host;
    NoPresetJob job;
    host.SendCommand3();
    host.SendEnterBootloader();
    host.SendCommand12(1);
    host.RequestPresetInfo(1);
    host.RecallPresetForSaving(1);
    host.EraseUserPresets();
    host.BuildWireIdMaps(true);
    host.SetPresetHandler(&job);
    host.StopWatching();
    EXPECT_FALSE(host.IsUnitConnected());
    EXPECT_TRUE(connection.Take().empty());
    EXPECT_FALSE(watcher.AreMapsBuilt());
    EXPECT_EQ(watcher.GetPresetHandler(), nullptr);

    host.SetWatcher(&watcher);
    EXPECT_TRUE(host.IsUnitConnected());
    host.SetWatcher(nullptr);
    EXPECT_FALSE(host.IsUnitConnected());
}
