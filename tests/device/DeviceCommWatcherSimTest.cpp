// The device watcher end to end: the watcher on a looper of its own, the USB connection and the
// simulated unit, whose log shows every frame the editor sent.

#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommWatcher.h"
#include "device/DeviceCommand.h"
#include "device/GlobalParamTables.h"
#include "device/IFlashEngine.h"
#include "device/IReceivePresetHandler.h"
#include "device/TWRPCMessageHandler.h"
#include "device/WireId.h"
#include "support/SimUnitTest.h"
#include "support/WatcherTestRig.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <juce_core/juce_core.h>
#include <map>
#include <memory>
#include <thread>

using WatcherRig::Bytes;
using WatcherRig::Sent;

namespace
{
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
/** Long enough for several of the sender's ticks. */
constexpr uint32_t kSeveralTicksMs = 5 * DeviceCommWatcher::kSendPeriodMs;

/** Sits between the connection and the watcher and keeps a copy of every frame of the unit. */
class FrameTap final : public TWRPCMessageHandler
{
public:
    explicit FrameTap(TWRPCMessageHandler& nextIn) : next(nextIn) {}

    void ParseFrame(TWMsgBuf& frame) override
    {
        const Bytes bytes = FrameBytes::Contents(frame);
        if (bytes.size() >= TWMsgBuf::kHeaderSize)
        {
            std::lock_guard<std::mutex> hold(lock);
            frames.push_back({bytes[10], Bytes(bytes.begin() + TWMsgBuf::kHeaderSize, bytes.end())});
        }
        next.ParseFrame(frame);
    }

    std::vector<Sent> Frames(int command)
    {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<Sent> matching;
        for (const Sent& frame : frames)
            if (frame.command == command)
                matching.push_back(frame);
        return matching;
    }

private:
    TWRPCMessageHandler& next;
    std::mutex lock; // guards frames
    std::vector<Sent> frames;
};

class PresetJob final : public IReceivePresetHandler
{
public:
    void PresetInfoReceived(int number, int configuration, XString& name) override
    {
        infoNumber.store(number);
        infoConfiguration.store(configuration);
    }
    void PresetFlagsReceived(int, int) override {}
    void PresetDataReceived() override { dataReceived.fetch_add(1); }

    std::atomic<int> infoNumber{-1};
    std::atomic<int> infoConfiguration{-1};
    std::atomic<int> dataReceived{0};
};

/** Holds the link's frames: while flash mode is on, the pump turns call this instead of writing. */
class IdleFlashEngine final : public IFlashEngine
{
public:
    void RunFlashJob(CFCPipeUSB&) override { turns.fetch_add(1); }
    bool IsFlashJobIdle() const override { return true; }
    std::atomic<int> turns{0};
};

uint32_t U32At(const Bytes& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

/** The value a parameter takes from the bits of the wire. */
double WireValue(const XParam* param, uint32_t bits)
{
    if (IsFloatParam(param))
    {
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    return static_cast<int32_t>(bits);
}

/** The editor connected to the simulated unit, with the frame tap between its connection and its
    watcher. */
class Editor final : public SimEditor
{
public:
    explicit Editor(WatcherRig::RecordingLooper& looper) : SimEditor(looper), tap(watcher)
    {
        connection.SetMessageHandler(&tap);
    }
    ~Editor() { connection.ClearMessageHandler(&tap); }

    /** Builds the maps (with the sender's timer) and takes every value of the unit. */
    bool ReceiveAll(WatcherRig::RecordingLooper& looper)
    {
        watcher.BuildWireIdMaps(false);
        return SimEditor::ReceiveAll(looper);
    }

    FrameTap tap;
};

class DeviceCommWatcherSimTest : public SimEditorTest<Editor>
{
protected:
    /** Wire ids of the values the unit received, in order; -1 for a frame too short to hold one. */
    std::vector<int> ReceivedWireIds()
    {
        std::vector<int> ids;
        for (const Sent& frame : UnitReceived(kCmdSetParamValue))
            ids.push_back(frame.payload.size() >= 2 ? FrameBytes::U16At(frame.payload, 0) : -1);
        return ids;
    }

    WatcherRig::Groups groups;
    /** Outlives the editor, whose link may still call it when a test stops half-way. */
    IdleFlashEngine engine;
};

/** The unit's log without the unit: the test writes it as the unit does. */
class SimUnitLogTest : public SimUnitTest
{
protected:
    void Append(const std::string& text)
    {
        std::ofstream log(LogPath(), std::ios::app | std::ios::binary);
        log << text;
    }
};
} // namespace

TEST_F(SimUnitLogTest, ALineTheUnitIsStillWritingIsReadOnceWhole)
{
    Append("3 received BB 00 AA FF 0E 00 00 00 03 00 05 02 97 01\n");
    Append("5 sent BB 00 AA FF 0E 00 00 00 03 00 05 02 31 00\n");
    Append("7 received BB 00 AA FF 0E 00 00 00 03 00 05 02"); // header written, payload not yet
    EXPECT_EQ(UnitReceived(kCmdSetParamValue), (std::vector<Sent>{{kCmdSetParamValue, {0x97, 0x01}}}));
    Append(" 98 01\n");
    EXPECT_EQ(UnitReceived(kCmdSetParamValue),
              (std::vector<Sent>{{kCmdSetParamValue, {0x97, 0x01}}, {kCmdSetParamValue, {0x98, 0x01}}}));
}

TEST_F(DeviceCommWatcherSimTest, DeviceInfoTellsFirmwareAndUnitMode)
{
    struct Case
    {
        juce::StringArray options;
        bool firmwareOk;
        uint8_t mode;
    };
    const Case cases[] = {
        {{}, true, DeviceCommWatcher::kUnitOrdinary},
        {{"--mode", "locked"}, true, DeviceCommWatcher::kUnitLockedOut},
        {{"--mode", "slave", "--firmware-version", "42010300"}, true, DeviceCommWatcher::kUnitSlaved},
        {{"--firmware-version", "42010300"}, false, DeviceCommWatcher::kUnitOrdinary},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.options.joinIntoString(" ").toStdString());
        ASSERT_TRUE(StartConnectedEditor(c.options));
        EXPECT_EQ(editor->watcher.IsFirmwareOk(), c.firmwareOk);
        EXPECT_EQ(editor->watcher.GetUnitMode(), c.mode);
        editor.reset();
        StopUnit();
    }
}

TEST_F(DeviceCommWatcherSimTest, EveryValueOfTheUnitArrivesAndNothingIsSentBack)
{
    ASSERT_TRUE(StartConnectedEditor());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    DeviceCommWatcher& watcher = editor->watcher;
    EXPECT_TRUE(watcher.IsSendingEnabled());
    EXPECT_FALSE(watcher.IsReceivingAll());

    const std::vector<Sent> bulk = editor->tap.Frames(kCmdBulkParamData);
    ASSERT_EQ(bulk.size(), 143u);
    int mapped = 0;
    for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
    {
        const Bytes& frame = bulk[static_cast<size_t>(wireId / 4)].payload;
        const size_t at = static_cast<size_t>(wireId % 4) * 6;
        XParam* param = watcher.GetLiveParam(wireId);
        if (param == nullptr)
            continue;
        ++mapped;
        const uint8_t flags = frame[at + 5];
        if ((flags & 0x40) != 0)
            continue; // a slaved unit's meter reading
        EXPECT_EQ(param->GetValue(), WireValue(param, U32At(frame, at))) << "wire id " << wireId;
    }
    EXPECT_EQ(mapped, 540);

    PlatformClock::Sleep(kSeveralTicksMs);
    EXPECT_TRUE(UnitReceived(kCmdSetParamValue).empty()) << "no value of the unit went back";
}

TEST_F(DeviceCommWatcherSimTest, TwoRequestsForAllValuesCloseTogetherLeaveEveryValueAsTheUnitHasIt)
{
    ASSERT_TRUE(StartConnectedEditor());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    // The unit's values move away from the editor's, so that a value applied under the wrong wire
    // id shows: every output's EQ gains and frequencies and the graphic EQ of input A.
    looper.Lock();
    for (int output = 0; output < WireIdSpace::kOutputCount; ++output)
        for (int id = 17; id <= 26; ++id)
        {
            XParam* param = GetOutputChannel(output)->GetParam(id);
            param->SetValue(param->GetValue() == param->GetMax() ? param->GetMin() : param->GetMax(), true);
        }
    for (int id = 62; id <= 92; ++id)
        GetInputChannel(0)->GetParam(id)->SetValue(-3.5 + (id % 7), true);
    looper.Unlock();
    ASSERT_TRUE(
        TestSupport::WaitUntil([&] { return UnitReceived(kCmdSetParamValue).size() >= 60 + 31; }, kWaitMs));

    // Real time, so that the unit's answer takes as long as it does in the program.
    PlatformClock::SetTimeScale(1.0);
    for (const int apartMs : {0, 20, 120, 200})
    {
        SCOPED_TRACE(apartMs);
        const size_t framesBefore = editor->tap.Frames(kCmdBulkParamData).size();
        const size_t requestsBefore = UnitReceived(kCmdRequestAllParams).size();
        editor->watcher.RequestAllParams();
        std::this_thread::sleep_for(std::chrono::milliseconds(apartMs));
        editor->watcher.RequestAllParams();
        ASSERT_TRUE(TestSupport::WaitUntil(
            [&]
            {
                return editor->tap.Frames(kCmdBulkParamData).size() >= framesBefore + 2 * 143 &&
                       !editor->watcher.IsReceivingAll();
            },
            kWaitMs));
        EXPECT_EQ(UnitReceived(kCmdRequestAllParams).size(), requestsBefore + 2);

        // The unit's values, from its last answer.
        const std::vector<Sent> bulk = editor->tap.Frames(kCmdBulkParamData);
        ASSERT_EQ(bulk.size(), framesBefore + 2 * 143);
        int differing = 0;
        for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
        {
            XParam* param = editor->watcher.GetLiveParam(wireId);
            const Bytes& frame = bulk[bulk.size() - 143 + static_cast<size_t>(wireId / 4)].payload;
            const size_t at = static_cast<size_t>(wireId % 4) * 6;
            if (param != nullptr && param->GetValue() != WireValue(param, U32At(frame, at)))
            {
                ++differing;
                ADD_FAILURE() << "wire id " << wireId << ": " << param->GetValue() << " in the editor";
            }
            if (differing > 5)
                break;
        }
        EXPECT_TRUE(editor->watcher.IsSendingEnabled());
    }
}

TEST_F(DeviceCommWatcherSimTest, AnEditLeavesAsOneFrameAndOneMadeWhileSendingIsOffNever)
{
    ASSERT_TRUE(StartConnectedEditor());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    XParam* delay = GetOutputChannel(2)->GetParam(ChannelParamTables::kOutputDelayId);
    ASSERT_TRUE(delay->ChangeValue(1.5, true));
    const Sent expected{kCmdSetParamValue, {0x97, 0x01, 1, 0x00, 0x00, 0xC0, 0x3F, 0}}; // wire id 407
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !UnitReceived(kCmdSetParamValue).empty(); }, kWaitMs));
    PlatformClock::Sleep(kSeveralTicksMs);
    EXPECT_EQ(UnitReceived(kCmdSetParamValue), std::vector<Sent>{expected});

    // Switched off between ticks: a tick under way when it is switched off may still send what it
    // collects, which is not what this shows.
    looper.Lock();
    editor->watcher.SetSendingEnabled(false);
    looper.Unlock();
    ASSERT_TRUE(GetOutputChannel(3)->GetParam(ChannelParamTables::kOutputDelayId)->ChangeValue(2.5, true));
    PlatformClock::Sleep(kSeveralTicksMs);
    editor->watcher.SetSendingEnabled(true);
    PlatformClock::Sleep(kSeveralTicksMs);
    EXPECT_EQ(UnitReceived(kCmdSetParamValue), std::vector<Sent>{expected});
}

TEST_F(DeviceCommWatcherSimTest, ABurstOfEveryOutputsEqLeavesCompleteInGroupOrderBehindTheBackPressure)
{
    ASSERT_TRUE(StartConnectedEditor());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    UsbLinkManager& link = editor->link;

    // Frames are held on the link: the first five edits leave one tick and then wait.
    link.SetFlashEngine(&engine);
    link.SetFlashMode(true);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return engine.turns.load() > 1; }, kWaitMs))
        << "no turn writes now";
    XParam* const firstEdits[] = {groups.main.GetParam(GlobalParamTables::kTempId),
                                  groups.main.GetParam(GlobalParamTables::kTempUnitsId),
                                  groups.preset.GetParam(GlobalParamTables::kAuthorId),
                                  GetInputChannel(0)->GetParam(ChannelParamTables::kInputDelayId),
                                  GetInputChannel(1)->GetParam(ChannelParamTables::kInputDelayId)};
    looper.Lock(); // no tick between the edits
    for (XParam* param : firstEdits)
        param->SetValue(param->GetValue() == param->GetMin() ? param->GetMax() : param->GetMin(), true);
    looper.Unlock();
    std::vector<int> expected{1, 2, 51 + 7, 64 + 96, 162 + 96};
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return link.GetPendingFrames() == 5; }, kWaitMs));

    // Then every output's EQ changes while the five wait: ticks are skipped until they have gone.
    const int queuedBefore = link.GetQueuedTotal();
    looper.Lock();
    for (int output = 0; output < WireIdSpace::kOutputCount; ++output)
    {
        XParamGroup* group = GetOutputChannel(output);
        for (int index = 0; index < group->CountParams(); ++index)
        {
            int32_t id = 0;
            XParam* param = group->GetParamAndIdAt(index, &id);
            if (id < 12 || id > 42)
                continue;
            param->SetValue(param->GetValue() == param->GetMin() ? param->GetMax() : param->GetMin(), true);
            expected.push_back(WireIdSpace::kOutputBase + WireIdSpace::kOutputStride * output + id);
        }
    }
    looper.Unlock();
    PlatformClock::Sleep(kSeveralTicksMs);
    EXPECT_EQ(link.GetQueuedTotal(), queuedBefore) << "ticks wait while five frames do";
    EXPECT_EQ(link.GetPendingFrames(), 5);

    link.SetFlashMode(false);
    link.SetFlashEngine(nullptr);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return ReceivedWireIds().size() >= expected.size(); }, kWaitMs));
    PlatformClock::Sleep(kSeveralTicksMs);
    EXPECT_EQ(ReceivedWireIds(), expected);
}

TEST_F(DeviceCommWatcherSimTest, ACompareAnswerFillsTheCompareCopiesAndTellsTheWaitingJob)
{
    ASSERT_TRUE(StartConnectedEditor());
    editor->watcher.BuildWireIdMaps(false);
    PresetJob job;
    editor->watcher.SetPresetHandler(&job);
    // Into the unit's edit buffer. The sender sends what changes after its first tick, which a busy
    // machine may hold back: the value changes until one goes, then takes the one the test wants.
    XParam* delay = GetOutputChannel(4)->GetParam(ChannelParamTables::kOutputDelayId);
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            delay->ChangeValue(delay->GetValue() + 0.5, true);
            return TestSupport::WaitUntil([&] { return !UnitReceived(kCmdSetParamValue).empty(); }, 200);
        },
        kWaitMs));
    ASSERT_TRUE(delay->ChangeValue(11.0, true));
    const Bytes elevenAtOutput5Delay{0xFF, 0x01, 1, 0x00, 0x00, 0x30, 0x41, 0}; // wire id 511
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            const std::vector<Sent> sent = UnitReceived(kCmdSetParamValue);
            return std::find(sent.begin(), sent.end(), Sent{kCmdSetParamValue, elevenAtOutput5Delay}) !=
                   sent.end();
        },
        kWaitMs));

    editor->watcher.RecallPresetForSaving(0);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return job.dataReceived.load() == 1; }, kWaitMs));
    const std::vector<Sent> answer = editor->tap.Frames(kCmdFlashCompareData);
    EXPECT_EQ(answer.size(), 505u);
    for (const Sent& record : answer)
    {
        const int wireId = FrameBytes::U16At(record.payload, 0);
        XParam* copy = editor->watcher.GetCompareParam(wireId);
        ASSERT_NE(copy, nullptr) << wireId;
        EXPECT_EQ(copy->GetValue(), WireValue(copy, U32At(record.payload, 3))) << "wire id " << wireId;
    }
    EXPECT_EQ(GetCompareOutputChannel(4)->GetParam(ChannelParamTables::kOutputDelayId)->GetValue(), 11.0);
    EXPECT_TRUE(editor->watcher.IsSendingEnabled());

    editor->watcher.RequestPresetInfo(3);
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return job.infoNumber.load() == 3; }, kWaitMs));
    editor->watcher.SetPresetHandler(nullptr);
}

TEST_F(DeviceCommWatcherSimTest, AStoreIsReportedAndTheUnitsRecallReadsItAllAgain)
{
    ASSERT_TRUE(StartConnectedEditor());
    ASSERT_TRUE(editor->ReceiveAll(looper));
    const int allValues = looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived);
    editor->watcher.StorePreset(3);
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) == allValues + 1; }, kWaitMs));
    EXPECT_EQ(looper.CountOf(DeviceCommWatcher::kMsgPresetStored), 1);
    EXPECT_EQ(groups.services.syncsToCompare.load(), 1);
    EXPECT_EQ(UnitReceived(kCmdRequestAllParams).size(), 2u);
    EXPECT_EQ(editor->tap.Frames(kCmdBulkParamData).size(), 2u * 143u);
}

TEST_F(DeviceCommWatcherSimTest, TheFrontPanelPictureArrivesInBlocks)
{
    ASSERT_TRUE(StartConnectedEditor({"--meters"}));
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&] { return looper.CountOf(DeviceCommWatcher::kMsgDisplayUpdated) > 0; }, kWaitMs));
    const auto columns = groups.services.TakeColumns();
    ASSERT_FALSE(columns.empty());
    for (const auto& column : columns)
    {
        EXPECT_LT(column.row, DeviceCommWatcher::kDisplayHeight);
        EXPECT_LT(column.x, DeviceCommWatcher::kDisplayWidth);
    }
}

TEST_F(DeviceCommWatcherSimTest, MeterReadingsReachTheLiveMetersOrASlavedUnitsOwn)
{
    struct Case
    {
        juce::StringArray options;
        bool slaved;
    };
    const Case cases[] = {{{"--meters"}, false}, {{"--meters", "--mode", "slave"}, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.slaved ? "slaved" : "ordinary");
        XParam* const liveMeters[] = {GetInputChannel(0)->GetParam(ChannelParamTables::kInputMeterId),
                                      GetOutputChannel(5)->GetParam(ChannelParamTables::kOutputMeterId)};
        XParam* const slaveMeters[] = {
            groups.slave.GetParam(DeviceCommWatcher::kSlaveMeterInputFirstId),
            groups.slave.GetParam(DeviceCommWatcher::kSlaveMeterOutputFirstId + 5)};
        for (XParam* meter : liveMeters)
            meter->SetValue(meter->GetDefault(), false);
        for (XParam* meter : slaveMeters)
            meter->SetValue(meter->GetDefault(), false);

        ASSERT_TRUE(StartConnectedEditor(c.options));
        editor->watcher.BuildWireIdMaps(true);
        XParam* const* moved = c.slaved ? slaveMeters : liveMeters;
        XParam* const* resting = c.slaved ? liveMeters : slaveMeters;
        EXPECT_TRUE(TestSupport::WaitUntil(
            [&] {
                return moved[0]->GetValue() != moved[0]->GetDefault() &&
                       moved[1]->GetValue() != moved[1]->GetDefault();
            },
            kWaitMs));
        EXPECT_EQ(resting[0]->GetValue(), resting[0]->GetDefault());
        EXPECT_EQ(resting[1]->GetValue(), resting[1]->GetDefault());
        editor.reset();
        StopUnit();
    }
}
