#include "DeviceJobFakes.h"
#include "core/XMessageCodes.h"
#include "device/GlobalParamTables.h"
#include "device/ListenModeMananger.h"
#include "device/MasterSlaveGuiThread.h"
#include "device/SendAllParamsJob.h"
#include "device/UserPresetSavingMananger.h"
#include "platform/PlatformClock.h"
#include "support/TestSupport.h"
#include "support/WatcherTestRig.h"

#include <gtest/gtest.h>
#include <thread>

using DeviceJobFakes::FakeJobLink;
using DeviceJobFakes::ProgressRecorder;
using DeviceJobFakes::RecordingDocument;
using DeviceJobFakes::Request;

namespace
{
constexpr int kWaitMs = 30000;
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kFlagsChanged = static_cast<int32_t>(XMsgCode::kParamFlagsChanged);

/** The application's groups and recording services, and a fast clock for the jobs' bounded waits. */
class DeviceJobsTest : public ::testing::Test
{
protected:
    static constexpr double kFastTimeScale = 50.0;

    WatcherRig::Groups groups;
    FakeJobLink link;
    ProgressRecorder progress;
    double savedTimeScale = 1.0;

    void SetUp() override { savedTimeScale = PlatformClock::GetTimeScale(); }
    void TearDown() override { PlatformClock::SetTimeScale(savedTimeScale); }

    XParam* Param(int32_t id) { return groups.services.GetParam(id); }
};

/** Runs job.Run on a thread of its own, as the progress window does; joined by Join. */
class JobThread final
{
public:
    JobThread(IDeviceJob& job, IJobProgress& progress) : thread([&job, &progress] { job.Run(progress); }) {}
    ~JobThread() { Join(); }
    void Join()
    {
        if (thread.joinable())
            thread.join();
    }

private:
    std::thread thread;
};
} // namespace

TEST_F(DeviceJobsTest, ListenModeSwitchAsksForTheValueAndEndsOnlyOnItsOwnKeysValueNotification)
{
    ListenModeMananger job(&link);
    EXPECT_STREQ(job.GetWindowStyle().title, "Switching DSP Memories ");
    EXPECT_FALSE(job.GetWindowStyle().hasProgressBar);
    XParam* listenMode = Param(GlobalParamTables::kListenModeId);
    listenMode->AddWatcher(&job, ListenModeMananger::kWatchKey, false);

    JobThread runner(job, progress);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !link.RequestsOf("id").empty(); }, kWaitMs));
    EXPECT_EQ(link.RequestsOf("id"), (std::vector<Request>{{"id", GlobalParamTables::kListenModeId}}));

    job.ParamChanged(kValueSet, listenMode, 0x1234);
    job.ParamChanged(kFlagsChanged, listenMode, ListenModeMananger::kWatchKey);
    EXPECT_FALSE(job.IsDone()) << "another key or a flags change is no confirmation";

    // The unit's answer changes the value: the notification ends the wait.
    listenMode->SetValue(listenMode->GetValue() == 0.0 ? 1.0 : 0.0, true);
    runner.Join();
    EXPECT_TRUE(job.IsDone());
    EXPECT_TRUE(job.GetFailureText().IsEmpty());
    listenMode->RemoveWatcher(&job);
}

TEST_F(DeviceJobsTest, ListenModeSwitchGivesUpAfterItsBoundWithItsFailure)
{
    PlatformClock::SetTimeScale(kFastTimeScale);
    ListenModeMananger job(&link);
    job.Run(progress); // nothing answers
    EXPECT_FALSE(job.IsDone());
    EXPECT_STREQ(job.GetFailureText().CStr(), ListenModeMananger::kTimeoutText);
}

TEST_F(DeviceJobsTest, JobsWithoutAWatcherOrAConnectionEndAtOnceAndSendNothing)
{
    UserPresetSavingMananger noWatcherSave("C:\\presets", nullptr, nullptr);
    ListenModeMananger noWatcherListen(nullptr);
    noWatcherSave.Run(progress);
    noWatcherListen.Run(progress);

    link.connected.store(false);
    ListenModeMananger listen(&link);
    MasterSlaveGuiThread slave(&link);
    RecordingDocument document;
    UserPresetSavingMananger save("C:\\presets", &document, &link);
    SendAllParamsJob sendAll(&link);
    listen.Run(progress);
    slave.Run(progress);
    save.Run(progress);
    EXPECT_FALSE(sendAll.Start());
    sendAll.SendAllParams();

    EXPECT_TRUE(link.Requests().empty());
    EXPECT_TRUE(listen.GetFailureText().IsEmpty());
    EXPECT_TRUE(save.GetFailureText().IsEmpty());
    EXPECT_TRUE(progress.Fractions().empty());
}

TEST_F(DeviceJobsTest, SlaveModeWaitEndsWhenTheModeGoesToMasterOrTheLinkDrops)
{
    XParam* mode = Param(GlobalParamTables::kMasterSlaveModeId);
    {
        MasterSlaveGuiThread job(&link);
        EXPECT_STREQ(job.GetWindowStyle().title, "Device is in Slave Mode");
        mode->AddWatcher(&job, MasterSlaveGuiThread::kWatchKey, false);
        JobThread runner(job, progress);
        mode->SetValue(1.0, true);
        job.ParamChanged(kValueSet, mode, MasterSlaveGuiThread::kWatchKey);
        EXPECT_FALSE(job.IsDone()) << "still slaved";
        mode->SetValue(0.0, true);
        runner.Join();
        EXPECT_TRUE(job.IsDone());
        EXPECT_TRUE(job.GetFailureText().IsEmpty());
        mode->RemoveWatcher(&job);
    }
    {
        MasterSlaveGuiThread job(&link);
        JobThread runner(job, progress);
        link.connected.store(false);
        runner.Join();
        EXPECT_FALSE(job.IsDone());
    }
    link.connected.store(true);
    PlatformClock::SetTimeScale(kFastTimeScale * 4);
    MasterSlaveGuiThread job(&link);
    job.Run(progress);
    EXPECT_STREQ(job.GetFailureText().CStr(), MasterSlaveGuiThread::kTimeoutText) << "the wait is bounded";
}

TEST_F(DeviceJobsTest, SavingUserPresetsWritesOneFilePerFilledSlotAndWalksTheProgress)
{
    struct Case
    {
        const char* label;
        std::vector<std::pair<int, std::string>> filled;
        std::vector<int> expectedFiles;
    };
    const std::vector<Case> cases{
        {"all empty", {{4, "?    "}, {9, "?"}}, {}},
        {"three filled",
         {{3, "Bass Stack"}, {7, "Club   "}, {12, "? not empty"}, {20, "Last"}},
         {3, 7, 12, 20}},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.label);
        FakeJobLink unit;
        ProgressRecorder recorder;
        RecordingDocument document;
        for (const auto& [number, name] : testCase.filled)
            unit.SetPresetName(number, name);
        const int syncsBefore = groups.services.syncsToLive.load();

        UserPresetSavingMananger job("C:\\Presets", &document, &unit);
        job.Run(recorder);

        std::vector<std::string> expectedPaths;
        std::vector<Request> expectedRecalls;
        for (int number : testCase.expectedFiles)
        {
            expectedPaths.push_back("C:\\Presets\\" +
                                    std::string(UserPresetSavingMananger::FileNameFor(number).CStr()));
            expectedRecalls.push_back({"recall", number});
        }
        expectedRecalls.push_back({"recall", 0}); // back to the edit buffer
        EXPECT_EQ(document.Written(), expectedPaths);
        EXPECT_TRUE(document.Saved().empty()) << "the open document's file is left alone";
        EXPECT_EQ(unit.RequestsOf("recall"), expectedRecalls);
        EXPECT_EQ(unit.RequestsOf("all").size(), 1u);
        EXPECT_EQ(groups.services.syncsToLive.load() - syncsBefore,
                  static_cast<int>(testCase.expectedFiles.size()));

        std::vector<Request> expectedInfos;
        for (int number = 1; number <= 20; ++number)
            expectedInfos.push_back({"info", number});
        EXPECT_EQ(unit.RequestsOf("info"), expectedInfos);

        std::vector<double> expectedFractions;
        for (int percent = 5; percent <= 95; percent += 5)
            expectedFractions.push_back(percent / 100.0);
        expectedFractions.push_back(1.0);
        EXPECT_EQ(recorder.Fractions(), expectedFractions);
        EXPECT_EQ(job.GetProgress(), 100);
        EXPECT_TRUE(job.GetFailureText().IsEmpty());
        EXPECT_EQ(unit.RequestsOf("handler"), (std::vector<Request>{{"handler", 1}, {"handler", 0}}));
    }
    EXPECT_EQ(UserPresetSavingMananger::FileNameFor(7), "User Preset _7.qm7");
}

TEST_F(DeviceJobsTest, SavingUserPresetsEndsOnASilentUnitADroppedLinkOrAFailedWrite)
{
    {
        PlatformClock::SetTimeScale(kFastTimeScale);
        link.silent.store(true);
        UserPresetSavingMananger job("C:\\Presets", nullptr, &link);
        job.Run(progress);
        EXPECT_STREQ(job.GetFailureText().CStr(), UserPresetSavingMananger::kStalledText);
        EXPECT_EQ(link.GetPresetHandler(), nullptr) << "the handler slot is given back";
        PlatformClock::SetTimeScale(savedTimeScale);
    }
    {
        FakeJobLink unit;
        unit.silent.store(true);
        UserPresetSavingMananger job("C:\\Presets", nullptr, &unit);
        JobThread runner(job, progress);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !unit.RequestsOf("info").empty(); }, kWaitMs));
        unit.connected.store(false);
        runner.Join();
        EXPECT_LT(job.GetProgress(), 100);
        EXPECT_STREQ(job.GetFailureText().CStr(), UserPresetSavingMananger::kLinkLostText);
    }
    {
        FakeJobLink unit;
        unit.SetPresetName(2, "Full");
        RecordingDocument document;
        document.failWrites.store(true);
        UserPresetSavingMananger job("C:\\Presets", &document, &unit);
        job.Run(progress);
        EXPECT_EQ(job.GetProgress(), 100) << "the other slots are still saved";
        EXPECT_EQ(job.GetFailureText(),
                  XString(UserPresetSavingMananger::kWriteFailedText) + "C:\\Presets\\User Preset _2.qm7");
    }
}

TEST_F(DeviceJobsTest, SendAllSendsEveryLiveValueInWireOrderBetweenTheBracketsOnceTheQueueDrains)
{
    const std::vector<int> wireIds{GlobalParamTables::kCurrentPresetId, 300, GlobalParamTables::kListenModeId,
                                   65, 51};
    for (int wireId : wireIds)
        link.liveMap[wireId] = Param(wireId < 51 ? wireId : GlobalParamTables::kConfirmChangeListenModeId);
    Param(GlobalParamTables::kListenModeId)->SetValue(0.0, false);

    SendAllParamsJob job(&link);
    ASSERT_TRUE(job.Start());
    EXPECT_EQ(Param(GlobalParamTables::kListenModeId)->GetValue(), 1.0)
        << "the unit starts from listen mode 1";
    ASSERT_TRUE(
        TestSupport::WaitUntil([&] { return link.RequestsOf("value").size() == wireIds.size(); }, kWaitMs));
    PlatformClock::Sleep(3 * SendAllParamsJob::kQueueWaitStepMs);
    EXPECT_TRUE(link.RequestsOf("id").empty()) << "the end waits for the queue";

    link.DrainQueue();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return job.HasFinished(); }, kWaitMs));
    job.Stop();
    EXPECT_EQ(link.Requests(), (std::vector<Request>{{"sending", 0},
                                                     {"bracket", 1},
                                                     {"value", 6},
                                                     {"value", 14},
                                                     {"value", 51},
                                                     {"value", 65},
                                                     {"value", 300},
                                                     {"bracket", 0},
                                                     {"id", GlobalParamTables::kCurrentPresetId},
                                                     {"sending", 1}}));
    EXPECT_EQ(groups.services.StatusTexts(),
              (std::vector<std::string>{"sending data to device...", "connected to QM-Seven"}));
    EXPECT_EQ(groups.services.compareButtonHidden.load(), 1);
    EXPECT_EQ(groups.services.compareButtonShown.load(), 1);
    EXPECT_EQ(Param(GlobalParamTables::kConfirmChangeListenModeId)->GetValue(), 1.0);
}

TEST_F(DeviceJobsTest, SendAllThatLosesTheLinkStillRestoresSendingAndTheCompareButton)
{
    for (int wireId = 0; wireId < 200; ++wireId)
        link.liveMap[wireId] = Param(GlobalParamTables::kCurrentPresetId);
    SendAllParamsJob job(&link);
    ASSERT_TRUE(job.Start());
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !link.RequestsOf("value").empty(); }, kWaitMs));
    link.connected.store(false);
    job.Stop();
    EXPECT_TRUE(job.HasFinished());
    EXPECT_EQ(link.Requests().back(), (Request{"sending", 1}));
    EXPECT_EQ(groups.services.compareButtonShown.load(), 1);
}
