// The firmware update end to end: the update's run and commands through the watcher's host, over
// the real device watcher, connection and link, against the simulated unit and its bootloader.

#include "SimPresetSupport.h"
#include "core/IAppServices.h"
#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommWatcher.h"
#include "device/FirmwareCommands.h"
#include "device/FirmwareUpdateJob.h"
#include "device/FlashEngine.h"
#include "device/GlobalParamTables.h"
#include "device/WatcherFirmwareUpdateHost.h"
#include "device/WireId.h"
#include "device/XParamDoc.h"
#include "support/SimUnitTest.h"
#include "support/WatcherTestRig.h"

#include <cstdlib>
#include <juce_core/juce_core.h>
#include <mutex>
#include <string>
#include <vector>

namespace
{
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
constexpr int kUserPresetCount = FirmwareUpdateJob::kUserPresetCount;
/** A preset's name travels in PresetName1..5 (preset ids 0..4, wire ids 51..55), four characters to
    an int32 with the first in the low byte, padded with blanks. */
constexpr int kNameInts = 5;
constexpr int kNameLength = 4 * kNameInts;
constexpr int kPresetNameWireId = WireIdSpace::kPresetBase + GlobalParamTables::kPresetNameFirstId;
/** Input A's first band gain: the parameter that differs between the presets. */
constexpr int32_t kGainId = ChannelParamTables::kInputGainFirstId + 1;
/** Progress before the final fill, with or without the user presets: 10 + 85 + 20 of 140. */
constexpr double kProgressBeforeFill = 115.0;
constexpr size_t kFillSteps = 25;

std::string PresetName(int number)
{
    return "Saved preset no. " + std::string(number < 10 ? "0" : "") + std::to_string(number);
}

double PresetGain(int number)
{
    return -5.0 + 0.5 * number;
}

int32_t PackedName(const std::string& name, int part)
{
    std::string padded = name.substr(0, kNameLength);
    padded.resize(kNameLength, ' ');
    uint32_t packed = 0;
    for (int k = 0; k < 4; ++k)
        packed |= static_cast<uint32_t>(static_cast<uint8_t>(padded[static_cast<size_t>(4 * part + k)]))
                  << (8 * k);
    return static_cast<int32_t>(packed);
}

std::string UnpackedName(XParamGroup& preset)
{
    std::string name;
    for (int part = 0; part < kNameInts; ++part)
    {
        const uint32_t packed =
            static_cast<uint32_t>(static_cast<int32_t>(preset.GetParam(part)->GetValue()));
        for (int shift = 0; shift < 32; shift += 8)
            name.push_back(static_cast<char>(packed >> shift));
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

/** The application's half of the update's host as the application implements it: the two
    parameters of the firmware dialog, the compare groups synced through the application's services
    and the preset document written as the preset file. */
class TestApplication final : public WatcherFirmwareUpdateHost
{
public:
    TestApplication(DeviceCommWatcher& watcher, XParamDoc& presetDocument)
        : WatcherFirmwareUpdateHost(&watcher), document(presetDocument)
    {
    }

    int GetSaveUserPreset() override
    {
        return static_cast<int>(GetAppServices().GetParam(GlobalParamTables::kSaveUserPresetId)->GetValue());
    }
    XString GetSaveUserPresetPath() override
    {
        return GetAppServices().GetParam(GlobalParamTables::kSaveUserPresetPathId)->GetText();
    }
    bool IsEmptyPresetName(const XString& name) override { return ::IsEmptyPresetName(name); }
    void SyncCompareGroups(bool toLive) override { GetAppServices().SyncCompareGroups(toLive); }
    bool SavePresetFile(const XString& path) override
    {
        if (document.WriteTo(path.CStr()) == 0)
            return true;
        failedWrites.fetch_add(1);
        return false;
    }
    void ShowWaitCursor(bool) override {}
    void ShowMessage(const XString&, const XString&) override { messages.fetch_add(1); }

    std::atomic<int> failedWrites{0};
    std::atomic<int> messages{0};

private:
    XParamDoc& document;
};

class FirmwareUpdateSimTest : public SimEditorTest<SimEditor>
{
protected:
    void SetUp() override
    {
        SimEditorTest::SetUp();
        document.AddGroup(GetInputChannel(0));
        document.AddGroup(GetInputChannel(1));
        for (int32_t index = 0; index < WatcherRig::Groups::kOutputs; ++index)
            document.AddGroup(GetOutputChannel(index));
        document.AddGroup(&groups.preset);
    }
    void TearDown() override
    {
        FirmwareCommandSet::SetInBootloader(false);
        SimEditorTest::TearDown();
    }

    /** Starts the unit and connects the editor; the unit's clock runs as fast as the editor's, so
        that it restarts within the update's waits. */
    bool StartConnectedEditorFast(const juce::StringArray& options)
    {
        ::setenv("KRX640_TIME_SCALE", juce::String(kFastTimeScale).toRawUTF8(), 1);
        const bool connected = StartConnectedEditor(options);
        ::unsetenv("KRX640_TIME_SCALE");
        return connected;
    }

    /** Stores user preset number on the unit with its own name and gain, and waits until the
        editor has read the unit's values again after the store. */
    void StoreUserPreset(int number)
    {
        DeviceCommWatcher& watcher = editor->watcher;
        for (int part = 0; part < kNameInts; ++part)
            SendProvisionally(watcher, groups.preset.GetParam(part), kPresetNameWireId + part,
                              PackedName(PresetName(number), part));
        XParam* gain = GetInputChannel(0)->GetParam(kGainId);
        SendProvisionally(watcher, gain, watcher.FindLiveWireId(gain), PresetGain(number));
        const int answers = looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived);
        watcher.StorePreset(number);
        ASSERT_TRUE(TestSupport::WaitUntil(
            [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) > answers; }, kWaitMs))
            << "the unit's recall after storing preset " << number << " is read back";
    }

    FirmwareUpdateJob::Reporter Reporter()
    {
        return {{},
                [this](double fraction)
                {
                    std::lock_guard<std::mutex> hold(reportLock);
                    fractions.push_back(fraction);
                }};
    }

    WatcherRig::Groups groups;
    SyncingServices services{groups};
    XParamDoc document; // after the groups it watches
    TestSupport::TempFolder savedPresets;

    std::mutex reportLock; // guards fractions
    std::vector<double> fractions;
};
} // namespace

TEST_F(FirmwareUpdateSimTest, TheUpdateKeepsAndSavesTheUserPresetsAndTheUnitComesBackCurrent)
{
    // A unit with an old firmware that sends its meters and display throughout.
    ASSERT_TRUE(StartConnectedEditorFast({"--firmware-version", "42010300", "--meters"}));
    EXPECT_FALSE(editor->watcher.IsFirmwareOk()) << "the unit reports an old firmware";
    editor->watcher.BuildWireIdMaps(false); // as the connect hand-shake
    ASSERT_TRUE(editor->ReceiveAll(looper));
    for (int number = 1; number <= kUserPresetCount; ++number)
        ASSERT_NO_FATAL_FAILURE(StoreUserPreset(number));

    // The firmware dialog's choice; the application clears auto-reconnect around the update.
    GetAppServices().GetParam(GlobalParamTables::kSaveUserPresetId)->SetValue(1.0, false);
    GetAppServices()
        .GetParam(GlobalParamTables::kSaveUserPresetPathId)
        ->SetText(savedPresets.Path().c_str(), false);
    editor->link.SetAutoReconnect(false);
    {
        FlashEngine engine(editor->link);
        TestApplication application(editor->watcher, document);
        FirmwareCommandSet commands(application, engine, editor->link);
        FirmwareUpdateJob job(application, editor->link, Reporter(),
                              [&](const char* name) { return commands.Find(name); });
        job.Run();
        EXPECT_TRUE(job.IsSuccess()) << job.GetErrorText().CStr();
        EXPECT_EQ(application.failedWrites.load(), 0);
        EXPECT_EQ(application.messages.load(), 0);
        EXPECT_EQ(editor->watcher.GetPresetHandler(), nullptr);
    }
    editor->link.SetAutoReconnect(true);
    {
        std::lock_guard<std::mutex> hold(reportLock);
        ASSERT_GT(fractions.size(), kFillSteps);
        EXPECT_NEAR(fractions[fractions.size() - kFillSteps - 1], kProgressBeforeFill / 140.0, 1e-9);
        EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    }

    // The hand-shake after the restart finds the current firmware.
    ASSERT_TRUE(editor->Connect()) << "the watcher sees the unit come back";
    EXPECT_TRUE(editor->watcher.IsFirmwareOk());
    editor.reset();

    const juce::Array<juce::File> written =
        juce::File(savedPresets.Path()).findChildFiles(juce::File::findFiles, false, "*");
    EXPECT_EQ(written.size(), kUserPresetCount);
    XParamDoc reader;
    reader.AddGroup(GetInputChannel(0));
    reader.AddGroup(&groups.preset);
    for (int number = 1; number <= kUserPresetCount; ++number)
    {
        SCOPED_TRACE(number);
        const std::string path = savedPresets.Path() + "/User Preset _" + std::to_string(number) + ".qm7";
        ASSERT_EQ(reader.Open(path.c_str()), 0);
        EXPECT_EQ(UnpackedName(groups.preset), PresetName(number));
        EXPECT_FLOAT_EQ(static_cast<float>(GetInputChannel(0)->GetParam(kGainId)->GetValue()),
                        static_cast<float>(PresetGain(number)));
    }
}
