// The device jobs end to end: the editor's watcher and link against the simulated unit, whose log
// shows every frame the jobs sent.

#include "DeviceJobFakes.h"
#include "SimPresetSupport.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommWatcher.h"
#include "device/DeviceCommand.h"
#include "device/DeviceJobLink.h"
#include "device/GlobalParamTables.h"
#include "device/ListenModeMananger.h"
#include "device/SendAllParamsJob.h"
#include "device/UserPresetSavingMananger.h"
#include "device/WireId.h"
#include "device/XParamDoc.h"
#include "support/SimUnitTest.h"
#include "support/WatcherTestRig.h"

#include <juce_core/juce_core.h>
#include <memory>
#include <thread>

using DeviceJobFakes::ProgressRecorder;
using WatcherRig::Bytes;
using WatcherRig::Sent;

namespace
{
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
/** Values the unit is sent when every parameter goes: the live map less the ids never sent. */
constexpr size_t kSentValueCount = 519;

/** The editor connected to the simulated unit, with the jobs' way to its watcher. */
class Editor final : public SimEditor
{
public:
    explicit Editor(WatcherRig::RecordingLooper& looper) : SimEditor(looper), jobLink(&watcher) {}

    /** Connects and builds the maps without the sender: only the jobs send. */
    bool Connect()
    {
        if (!SimEditor::Connect())
            return false;
        watcher.BuildWireIdMaps(true);
        return true;
    }

    DeviceJobLink jobLink;
};

class DeviceJobsSimTest : public SimEditorTest<Editor>
{
protected:
    static int WireIdOf(const Sent& frame) { return FrameBytes::U16At(frame.payload, 0); }

    void SendProvisionally(XParam* param, int wireId, double value)
    {
        ::SendProvisionally(editor->watcher, param, wireId, value);
    }

    WatcherRig::Groups groups;
    SyncingServices services{groups};
};
} // namespace

TEST_F(DeviceJobsSimTest, SendAllBracketsEveryValueInWireOrderAndLeavesTheUnitEqualToTheEditor)
{
    ASSERT_TRUE(StartConnectedEditor());
    XParam* gain = GetInputChannel(0)->GetParam(ChannelParamTables::kInputGainFirstId + 1);
    XParam* delay = GetOutputChannel(2)->GetParam(ChannelParamTables::kOutputDelayId);
    ASSERT_NE(gain, nullptr);
    ASSERT_NE(delay, nullptr);
    gain->SetValue(2.5, false);
    delay->SetValue(1.25, false);

    SendAllParamsJob job(&editor->jobLink);
    ASSERT_TRUE(job.Start());
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return job.HasFinished(); }, kWaitMs));
    job.Stop();
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            const std::vector<Sent> frames = UnitReceived();
            return !frames.empty() && frames.back().command == kCmdParamId;
        },
        kWaitMs));

    // 21 (1), the values in ascending wire id, 21 (0), then 6 for CurrentPreset.
    std::vector<Sent> frames = UnitReceived();
    const auto begin = std::find(frames.begin(), frames.end(), Sent{kCmdBulkBracket, {1}});
    ASSERT_NE(begin, frames.end());
    frames.erase(frames.begin(), begin + 1);
    ASSERT_GE(frames.size(), kSentValueCount + 2);
    std::vector<int> wireIds;
    for (size_t i = 0; i < kSentValueCount; ++i)
    {
        ASSERT_EQ(frames[i].command, kCmdSetParamValue) << i;
        wireIds.push_back(WireIdOf(frames[i]));
    }
    EXPECT_TRUE(std::is_sorted(wireIds.begin(), wireIds.end()));
    EXPECT_EQ(std::adjacent_find(wireIds.begin(), wireIds.end()), wireIds.end());
    EXPECT_EQ(frames[kSentValueCount], (Sent{kCmdBulkBracket, {0}}));
    EXPECT_EQ(frames[kSentValueCount + 1], (Sent{kCmdParamId, {GlobalParamTables::kCurrentPresetId, 0}}));
    EXPECT_EQ(frames.size(), kSentValueCount + 2);

    // The unit now holds the editor's values: reading them all back changes none.
    std::map<int, float> before;
    for (int wireId : wireIds)
        before[wireId] = static_cast<float>(editor->watcher.GetLiveParam(wireId)->GetValue());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    for (int wireId : wireIds)
        EXPECT_EQ(static_cast<float>(editor->watcher.GetLiveParam(wireId)->GetValue()), before[wireId])
            << wireId;
    EXPECT_EQ(gain->GetValue(), 2.5);
    EXPECT_EQ(delay->GetValue(), 1.25);
}

TEST_F(DeviceJobsSimTest, ListenModeSwitchEndsWithTheUnitsAnswerOrGivesUpOnASilentUnit)
{
    for (const bool unitAnswers : {true, false})
    {
        SCOPED_TRACE(unitAnswers ? "answering unit" : "slaved unit: changes are ignored");
        ASSERT_TRUE(
            StartConnectedEditor(unitAnswers ? juce::StringArray{} : juce::StringArray{"--mode", "slave"}));
        XParam* listenMode = groups.services.GetParam(GlobalParamTables::kListenModeId);
        listenMode->SetValue(1.0, false);

        // The application's step: the new value goes to the unit while the old one stays.
        ListenModeMananger job(&editor->jobLink);
        listenMode->AddWatcher(&job, ListenModeMananger::kWatchKey, false);
        SendProvisionally(listenMode, GlobalParamTables::kListenModeId, 0.0);
        ProgressRecorder progress;
        job.Run(progress);
        listenMode->RemoveWatcher(&job);

        const std::vector<Sent> frames = UnitReceived();
        ASSERT_GE(frames.size(), 2u);
        EXPECT_EQ(frames[frames.size() - 2].command, kCmdSetParamValue);
        EXPECT_EQ(WireIdOf(frames[frames.size() - 2]), GlobalParamTables::kListenModeId);
        EXPECT_EQ(frames.back(), (Sent{kCmdParamId, {GlobalParamTables::kListenModeId, 0}}));
        EXPECT_EQ(job.IsDone(), unitAnswers);
        EXPECT_EQ(listenMode->GetValue(), unitAnswers ? 0.0 : 1.0);
        EXPECT_EQ(job.GetFailureText().IsEmpty(), unitAnswers);

        editor.reset();
        StopUnit();
    }
}

TEST_F(DeviceJobsSimTest, SavingUserPresetsWritesTheFilledSlotsThatLoadBackToTheirValues)
{
    ASSERT_TRUE(StartConnectedEditor());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    XParam* gain = GetInputChannel(0)->GetParam(ChannelParamTables::kInputGainFirstId + 1);
    XParam* delay = GetOutputChannel(2)->GetParam(ChannelParamTables::kOutputDelayId);
    const int gainWireId = editor->watcher.FindLiveWireId(gain);
    const int delayWireId = editor->watcher.FindLiveWireId(delay);
    struct Stored
    {
        int number;
        double gain;
        double delay;
    };
    const Stored stored[] = {{3, 2.5, 1.25}, {7, -3.5, 2.75}};
    for (const Stored& preset : stored)
    {
        SendProvisionally(gain, gainWireId, preset.gain);
        SendProvisionally(delay, delayWireId, preset.delay);
        const int answers = looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived);
        editor->watcher.StorePreset(preset.number);
        ASSERT_TRUE(TestSupport::WaitUntil(
            [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) > answers; }, kWaitMs))
            << "the unit's recall after a store is read back";
    }
    const double editGain = gain->GetValue();

    XParamDoc document;
    for (XParamGroup* group :
         {static_cast<XParamGroup*>(GetInputChannel(0)), static_cast<XParamGroup*>(GetInputChannel(1))})
        document.AddGroup(group);
    for (int32_t index = 0; index < WatcherRig::Groups::kOutputs; ++index)
        document.AddGroup(GetOutputChannel(index));
    document.AddGroup(&groups.preset);

    TestSupport::TempFolder target;
    ProgressRecorder progress;
    const int answers = looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived);
    UserPresetSavingMananger job(target.Path().c_str(), &document, &editor->jobLink);
    job.Run(progress);
    EXPECT_TRUE(job.GetFailureText().IsEmpty()) << job.GetFailureText().CStr();
    EXPECT_EQ(job.GetProgress(), 100);
    ASSERT_FALSE(progress.Fractions().empty());
    EXPECT_EQ(progress.Fractions().front(), 0.05);
    EXPECT_EQ(progress.Fractions().back(), 1.0);
    EXPECT_EQ(services.syncsToLive.load(), 2);
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) > answers; }, kWaitMs))
        << "the edit buffer is read again";
    EXPECT_EQ(gain->GetValue(), editGain);

    const juce::Array<juce::File> written =
        juce::File(target.Path()).findChildFiles(juce::File::findFiles, false, "*");
    ASSERT_EQ(written.size(), 2);
    for (const Stored& preset : stored)
    {
        SCOPED_TRACE(preset.number);
        const std::string path =
            target.Path() + "/" + UserPresetSavingMananger::FileNameFor(preset.number).CStr();
        ASSERT_TRUE(juce::File(path).existsAsFile());
        XParamDoc reader;
        reader.AddGroup(GetInputChannel(0));
        reader.AddGroup(GetOutputChannel(2));
        ASSERT_EQ(reader.Open(path.c_str()), 0);
        EXPECT_FLOAT_EQ(static_cast<float>(gain->GetValue()), static_cast<float>(preset.gain));
        EXPECT_FLOAT_EQ(static_cast<float>(delay->GetValue()), static_cast<float>(preset.delay));
    }
}
