#include "device/FirmwareUpdateJob.h"

#include "JoiningThread.h"
#include "SimLinkTest.h"
#include "device/FirmwareCommands.h"
#include "device/IFirmwareUpdateHost.h"

#include <chrono>
#include <mutex>

namespace
{
using Bytes = std::vector<uint8_t>;

constexpr int kWaitMs = SimLinkTest::kSimWaitMs;
constexpr int kPulledUnitMs = 1000;
constexpr uint32_t kCurrentVersion = 0x42010400;

/** A host that records what the update asks of the watcher and the application. Frames of commands
    3 and 11 go out on the link, as the watcher would send them. The preset replies come from
    answerPreset, called within RequestPresetInfo and RecallPresetForSaving. */
class RecordingHost final : public IFirmwareUpdateHost
{
public:
    explicit RecordingHost(UsbLinkManager* usbLink = nullptr) : link(usbLink) {}

    std::atomic<bool> connected{true};
    int saveUserPreset = 0;
    std::vector<int> emptyPresets;  // presets whose name is "?"
    std::vector<int> silentPresets; // presets whose info never comes
    std::vector<std::string> savedFiles;
    bool failWrites = false;
    XString folder = "C:\\Saved";
    std::vector<std::string> messages;
    std::vector<std::string> calls;
    IReceivePresetHandler* handler = nullptr;

    bool IsUnitConnected() override { return link != nullptr ? link->IsConnected() : connected.load(); }
    void SendCommand3() override
    {
        Send(3, {0, 0, 0, 0});
        Record("SendCommand3");
    }
    void SendEnterBootloader() override
    {
        Send(11, {0});
        Record("SendEnterBootloader");
    }
    void StopWatching() override { Record("StopWatching"); }
    void BuildWireIdMaps(bool) override { Record("BuildWireIdMaps"); }
    void SendCommand12(int32_t) override { Record("SendCommand12"); }
    void RequestPresetInfo(int number) override
    {
        if (std::find(silentPresets.begin(), silentPresets.end(), number) != silentPresets.end())
            return;
        const bool empty = std::find(emptyPresets.begin(), emptyPresets.end(), number) != emptyPresets.end();
        XString name = empty ? "?   " : "Preset";
        handler->PresetInfoReceived(number, 0, name);
    }
    void RecallPresetForSaving(unsigned) override { handler->PresetDataReceived(); }
    void EraseUserPresets() override { Record("EraseUserPresets"); }
    void SetPresetHandler(IReceivePresetHandler* presetHandler) override { handler = presetHandler; }
    int GetSaveUserPreset() override { return saveUserPreset; }
    XString GetSaveUserPresetPath() override { return folder; }
    bool IsEmptyPresetName(const XString& name) override { return name == "?"; }
    void SyncCompareGroups(bool) override {}
    bool SavePresetFile(const XString& path) override
    {
        savedFiles.emplace_back(path.CStr());
        return !failWrites;
    }
    void ShowWaitCursor(bool) override {}
    void ShowMessage(const XString& title, const XString& text) override
    {
        messages.push_back(std::string(title.CStr()) + "|" + text.CStr());
    }

private:
    void Send(uint8_t command, const Bytes& payload)
    {
        if (link == nullptr)
            return;
        const Bytes frame = FrameBytes::Frame(3, command, payload);
        link->QueueFrame(frame.data(), static_cast<int>(frame.size()));
    }
    void Record(const char* call)
    {
        std::lock_guard<std::mutex> hold(callsLock);
        calls.emplace_back(call);
    }

    UsbLinkManager* link;
    std::mutex callsLock; // guards calls
};

class FirmwareUpdateJobTest : public SimLinkTest
{
protected:
    std::unique_ptr<RecordingHost> host = std::make_unique<RecordingHost>(link.get());
    std::unique_ptr<FirmwareCommandSet> commands =
        std::make_unique<FirmwareCommandSet>(*host, *engine, *link);

    std::mutex reportLock; // guards statuses and fractions
    std::vector<std::string> statuses;
    std::vector<double> fractions;

    FirmwareUpdateJob::Reporter Reporter()
    {
        return {[this](const XString& text)
                {
                    std::lock_guard<std::mutex> hold(reportLock);
                    statuses.emplace_back(text.CStr());
                },
                [this](double fraction)
                {
                    std::lock_guard<std::mutex> hold(reportLock);
                    fractions.push_back(fraction);
                }};
    }
    FirmwareUpdateJob::CommandFinder Finder()
    {
        return [this](const char* name) { return commands->Find(name); };
    }
    bool SawStatus(const std::string& status)
    {
        std::lock_guard<std::mutex> hold(reportLock);
        return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
    }

    void TearDown() override
    {
        commands.reset();
        FirmwareCommandSet::SetInBootloader(false);
        SimLinkTest::TearDown();
    }
};
} // namespace

TEST_F(FirmwareUpdateJobTest, AnUpdateRunsEveryStepAndTheUnitComesBackWithTheCurrentFirmware)
{
    StartUnit({"--firmware-version", "42010300"});
    link->SetMessageText("Can not open device 0\n/stale\n"); // from an earlier open that failed
    FirmwareUpdateJob job(*host, *link, Reporter(), Finder());
    job.Run();
    EXPECT_TRUE(job.IsSuccess()) << job.GetErrorText().CStr();
    EXPECT_FALSE(FirmwareCommandSet::IsInBootloader());
    const std::vector<std::string> expected = {"Entering bootloader mode...",  "Erasing Flash memory...",
                                               "Uploading DSP code...",        "Uploading Factory Presets...",
                                               "Uploading Amplifier Table...", "Uploading firmware code...",
                                               "Rebooting firmware..."};
    EXPECT_EQ(statuses, expected);
    ASSERT_FALSE(fractions.empty());
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    // Without saving user presets the bar stands at 115 of 140 before the final fill of 25 steps.
    ASSERT_GE(fractions.size(), 26u);
    EXPECT_NEAR(fractions[fractions.size() - 26], 115.0 / 140.0, 1e-9);
    ASSERT_TRUE(link->IsConnected());
    EXPECT_EQ(FirmwareVersion(), kCurrentVersion);
}

TEST_F(FirmwareUpdateJobTest, PullingTheUnitDuringTheDspUploadStopsTheRunWithinASecond)
{
    StartUnit({});
    FirmwareUpdateJob job(*host, *link, Reporter(), Finder());
    std::atomic<bool> ended{false};
    // Joined however the test ends; pulling the unit ends a run still going.
    JoiningThread runner(
        [&]
        {
            job.Run();
            ended = true;
        },
        [&] { unit.kill(); });
    ASSERT_TRUE(
        TestSupport::WaitUntil([&] { return ended.load() || SawStatus("Uploading DSP code..."); }, kWaitMs));
    ASSERT_FALSE(ended.load()) << "the run ended before the unit was pulled: " << job.GetErrorText().CStr();
    PlatformClock::Sleep(2000);
    unit.kill();
    const auto pulled = std::chrono::steady_clock::now();
    TestSupport::WaitUntil([&] { return ended.load(); }, kWaitMs);
    EXPECT_LT(std::chrono::steady_clock::now() - pulled, std::chrono::milliseconds(kPulledUnitMs));
    runner.Join();
    EXPECT_FALSE(job.IsSuccess());
    EXPECT_EQ(job.GetErrorText(), "No unit connected");
    EXPECT_FALSE(SawStatus("Uploading Factory Presets..."));
}

TEST_F(FirmwareUpdateJobTest, SavingUserPresetsWritesTheOccupiedOnesAndNeverWaitsForever)
{
    RecordingHost presets;
    presets.emptyPresets = {1, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    FirmwareUpdateJob job(presets, *link);
    job.SaveUserPresets();
    EXPECT_EQ(presets.savedFiles,
              (std::vector<std::string>{"C:\\Saved\\User Preset _2.qm7", "C:\\Saved\\User Preset _7.qm7",
                                        "C:\\Saved\\User Preset _20.qm7"}));
    EXPECT_DOUBLE_EQ(job.GetProgress(), 20.0) << "one step per preset, saved or empty";
    EXPECT_EQ(presets.handler, nullptr);
    EXPECT_EQ(presets.calls, (std::vector<std::string>{"BuildWireIdMaps", "SendCommand12", "StopWatching"}));

    // A preset that never comes ends the saving after the bound; a unit that went, at once.
    PlatformClock::SetTimeScale(2000.0);
    RecordingHost silent;
    silent.silentPresets = {4};
    FirmwareUpdateJob waiting(silent, *link);
    waiting.SaveUserPresets();
    EXPECT_EQ(silent.savedFiles.size(), 3u);
    EXPECT_EQ(silent.handler, nullptr);
    EXPECT_FALSE(waiting.IsSuccess());
    EXPECT_EQ(waiting.GetErrorText(), "User preset 4 could not be saved to \"C:\\Saved\".");

    RecordingHost gone;
    gone.connected = false;
    FirmwareUpdateJob without(gone, *link);
    without.SaveUserPresets();
    EXPECT_TRUE(gone.calls.empty());
}

TEST_F(FirmwareUpdateJobTest, AUserPresetNotWrittenFailsTheSavingWithItsNumber)
{
    struct Case
    {
        bool failWrites;
        const char* folder;
        size_t filesTried;
        const char* error;
    };
    const Case cases[] = {
        {true, "C:\\Saved", 1, "User preset 1 could not be saved to \"C:\\Saved\"."},
        // An empty folder writes nothing rather than files at the top of the file system.
        {false, "", 0, "User preset 1 could not be saved to \"\"."},
    };
    for (const Case& c : cases)
    {
        RecordingHost presets;
        presets.failWrites = c.failWrites;
        presets.folder = c.folder;
        FirmwareUpdateJob job(presets, *link);
        job.SaveUserPresets();
        EXPECT_EQ(presets.savedFiles.size(), c.filesTried) << c.folder;
        EXPECT_FALSE(job.IsSuccess());
        EXPECT_EQ(job.GetErrorText(), c.error);
        EXPECT_EQ(presets.handler, nullptr);
    }
}

TEST_F(FirmwareUpdateJobTest, CommandsAreEnabledByTheBootloaderFlag)
{
    const char* inBootloader[] = {
        FirmwareCommandSet::kEraseFlash,           FirmwareCommandSet::kUploadDsp,
        FirmwareCommandSet::kUploadFactoryPresets, FirmwareCommandSet::kUploadAmplifierTable,
        FirmwareCommandSet::kUploadAtmel,          FirmwareCommandSet::kExitBootloader};
    for (const bool flag : {false, true})
    {
        FirmwareCommandSet::SetInBootloader(flag);
        for (const char* name : inBootloader)
        {
            ASSERT_NE(commands->Find(name), nullptr) << name;
            EXPECT_EQ(commands->Find(name)->IsEnabled(nullptr), flag) << name;
        }
        EXPECT_EQ(commands->Find(FirmwareCommandSet::kEnterBootloader)->IsEnabled(nullptr), !flag);
        EXPECT_TRUE(commands->Find(FirmwareCommandSet::kEraseUserPresets)->IsEnabled(nullptr));
    }
    EXPECT_EQ(commands->Find(FirmwareCommandSet::kUploadAtmel)->GetTitle(), "Upload Atmel");

    RecordingHost away;
    away.connected = false;
    FirmwareCommandSet awayCommands(away, *engine, *link);
    awayCommands.Find(FirmwareCommandSet::kEraseUserPresets)->Execute(nullptr);
    EXPECT_EQ(away.messages,
              std::vector<std::string>{"No Connection...|There is no unit connected at this time."});
    away.connected = true;
    awayCommands.Find(FirmwareCommandSet::kEraseUserPresets)->Execute(nullptr);
    EXPECT_EQ(away.calls, std::vector<std::string>{"EraseUserPresets"});
}
