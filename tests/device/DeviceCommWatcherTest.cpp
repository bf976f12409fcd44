// The device watcher against a recording connection: its maps, its sender and every command of the
// unit, fed to it as the reader thread would.

#include "device/DeviceCommWatcher.h"

#include "core/XMessageCodes.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/DeviceJobLink.h"
#include "device/GlobalParamTables.h"
#include "device/IDeviceRequests.h"
#include "device/IReceivePresetHandler.h"
#include "device/WireId.h"
#include "platform/PlatformClock.h"
#include "support/ParamTestSupport.h"
#include "support/TestSupport.h"
#include "support/WatcherTestRig.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using WatcherRig::Bytes;
using WatcherRig::Sent;

namespace
{
constexpr int kWaitMs = 30000;
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);

void AddU16(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void AddU32(Bytes& out, uint32_t value)
{
    AddU16(out, value & 0xFFFF);
    AddU16(out, value >> 16);
}
uint32_t FloatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
/** A value frame of the unit (commands 5 and 20): wire id, kind, bits, flags. */
Bytes ValuePayload(int wireId, uint32_t bits, uint8_t flags = 0, uint8_t kind = 0)
{
    Bytes out;
    AddU16(out, static_cast<uint32_t>(wireId));
    out.push_back(kind);
    AddU32(out, bits);
    out.push_back(flags);
    return out;
}

/** Records the replies a preset job would get. */
class PresetJob final : public IReceivePresetHandler
{
public:
    void PresetInfoReceived(int number, int configuration, XString& name) override
    {
        infos.push_back({number, configuration});
        names.emplace_back(name.CStr());
    }
    void PresetFlagsReceived(int number, int flags) override { flagReplies.push_back({number, flags}); }
    void PresetDataReceived() override { dataReceived.fetch_add(1); }

    std::vector<std::pair<int, int>> infos;
    std::vector<std::string> names;
    std::vector<std::pair<int, int>> flagReplies;
    std::atomic<int> dataReceived{0};
};

class DeviceCommWatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedTimeScale = PlatformClock::GetTimeScale();
        PlatformClock::SetTimeScale(kFastTimeScale);
        ASSERT_NE(looper.Run(), 0);
        watcher = std::make_unique<DeviceCommWatcher>(&connection);
        ASSERT_TRUE(looper.AddHandler(watcher.get()));
        watcher->BuildWireIdMaps(true); // the test ticks the sender itself
    }
    void TearDown() override
    {
        watcher.reset();
        PlatformClock::SetTimeScale(savedTimeScale);
    }

    void Deliver(int command, const Bytes& payload)
    {
        TWMsgBuf buffer;
        if (!payload.empty())
            buffer.SetContents(payload.data(), static_cast<int>(payload.size()));
        watcher->HandleCommand(0, command, &buffer, nullptr);
    }
    /** One tick of the sender; what it sent. */
    std::vector<Sent> Tick()
    {
        watcher->OnTimer(DeviceCommWatcher::kIdleTimerId);
        return connection.Take();
    }
    /** Starts the sender's count of time, so that the next tick sends what changes from now on. */
    void StartSender()
    {
        Tick();
        connection.Take();
    }
    /** One frame of a bulk answer: four records from the bits of wire ids first..first + 3. */
    void DeliverBulkFrame(int frame, const std::function<uint32_t(int)>& bitsOf)
    {
        Bytes payload;
        for (int wireId = frame * 4; wireId < frame * 4 + 4; ++wireId)
        {
            AddU32(payload, bitsOf(wireId));
            payload.push_back(IsFloatParam(watcher->GetLiveParam(wireId)) ? 1 : 0);
            payload.push_back(0);
        }
        Deliver(kCmdBulkParamData, payload);
    }
    /** Bits of an answer in which every mapped value lies at its parameter's minimum + step. */
    std::function<uint32_t(int)> AnswerBits(double step)
    {
        return [this, step](int wireId)
        {
            XParam* param = watcher->GetLiveParam(wireId);
            const double value = param != nullptr ? std::min(param->GetMin() + step, param->GetMax()) : 0;
            return IsFloatParam(param) ? FloatBits(static_cast<float>(value))
                                       : static_cast<uint32_t>(static_cast<int32_t>(value));
        };
    }
    /** Mapped values that do not hold what bits give them; the gain reductions, whose values the
        output groups map, are left out. */
    int CountDiffering(const std::function<uint32_t(int)>& bitsOf)
    {
        int differing = 0;
        for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
            if (XParam* param = watcher->GetLiveParam(wireId);
                param != nullptr && !(wireId >= WireIdSpace::kOutputBase &&
                                      (wireId - WireIdSpace::kOutputBase) % WireIdSpace::kOutputStride ==
                                          ChannelParamTables::kGainReductionId))
            {
                const uint32_t bits = bitsOf(wireId);
                float asFloat;
                std::memcpy(&asFloat, &bits, sizeof asFloat);
                const double expected = IsFloatParam(param) ? asFloat : static_cast<int32_t>(bits);
                differing += param->GetValue() == expected ? 0 : 1;
            }
        return differing;
    }
    int CountRequests()
    {
        int requests = 0;
        for (const Sent& sent : connection.Take())
            requests += sent.command == kCmdRequestAllParams ? 1 : 0;
        return requests;
    }
    XParam* Output(int index, int id) { return GetOutputChannel(index)->GetParam(id); }
    XParam* Input(int index, int id) { return GetInputChannel(index)->GetParam(id); }
    XParam* MainParam(int id) { return groups.services.GetParam(id); }

    static constexpr double kFastTimeScale = 20.0;
    double savedTimeScale = 1.0;
    WatcherRig::Groups groups;
    WatcherRig::RecordingConnection connection;
    WatcherRig::RecordingLooper looper;
    std::unique_ptr<DeviceCommWatcher> watcher;
};
} // namespace

TEST_F(DeviceCommWatcherTest, MapsHoldEveryWireParameterOnceAndStopWatchingKeepsThem)
{
    EXPECT_EQ(watcher->GetLiveMapCount(), 540);
    EXPECT_EQ(watcher->GetCompareMapCount(), 513);
    EXPECT_TRUE(watcher->AreMapsBuilt());
    EXPECT_TRUE(watcher->IsSendingEnabled());

    struct Case
    {
        int wireId;
        XParam* live;
        XParam* compare;
    };
    const Case cases[] = {
        {0, groups.main.GetParam(GlobalParamTables::kMSStateId), nullptr},
        {49, groups.main.GetParam(GlobalParamTables::kGlobalDirtyId), nullptr},
        {9, nullptr, nullptr},
        {50, nullptr, nullptr},
        {51, groups.preset.GetParam(GlobalParamTables::kPresetNameFirstId),
         groups.comparePreset.GetParam(GlobalParamTables::kPresetNameFirstId)},
        {63, groups.preset.GetParam(GlobalParamTables::kConfigLedsId),
         groups.comparePreset.GetParam(GlobalParamTables::kConfigLedsId)},
        {64, Input(0, ChannelParamTables::kInputMeterId),
         GetCompareInputChannel(0)->GetParam(ChannelParamTables::kInputMeterId)},
        {159, nullptr, nullptr}, // input offset 95
        {161, Input(0, ChannelParamTables::kInputDelayBypassId),
         GetCompareInputChannel(0)->GetParam(ChannelParamTables::kInputDelayBypassId)},
        {162, Input(1, ChannelParamTables::kInputMeterId),
         GetCompareInputChannel(1)->GetParam(ChannelParamTables::kInputMeterId)},
        {271, nullptr, nullptr}, // output offset 11
        {311, Output(0, ChannelParamTables::kOutputGainId),
         GetCompareOutputChannel(0)->GetParam(ChannelParamTables::kOutputGainId)},
        {312, Output(1, ChannelParamTables::kOutputMeterId),
         GetCompareOutputChannel(1)->GetParam(ChannelParamTables::kOutputMeterId)},
        {571, Output(5, ChannelParamTables::kOutputGainId),
         GetCompareOutputChannel(5)->GetParam(ChannelParamTables::kOutputGainId)},
        {572, nullptr, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.wireId);
        EXPECT_EQ(watcher->GetLiveParam(c.wireId), c.live);
        EXPECT_EQ(watcher->GetCompareParam(c.wireId), c.compare);
        if (c.live != nullptr)
        {
            EXPECT_TRUE(c.live->IsWatchedBy(watcher.get(), c.wireId));
            EXPECT_EQ(watcher->FindLiveWireId(c.live), c.wireId);
        }
    }

    XParam* gain = Output(0, ChannelParamTables::kOutputGainId);
    const int32_t watchers = gain->GetWatcherCount();
    watcher->BuildWireIdMaps(true);
    EXPECT_EQ(gain->GetWatcherCount(), watchers) << "a second build watches once";

    watcher->HandleDeviceInfo(0, DeviceCommWatcher::kExpectedFirmwareVersion, "L");
    watcher->StopWatching();
    EXPECT_FALSE(gain->IsWatchedBy(watcher.get(), 311));
    EXPECT_EQ(watcher->GetLiveParam(311), gain);
    EXPECT_FALSE(watcher->AreMapsBuilt());
    EXPECT_FALSE(watcher->IsFirmwareOk());
    EXPECT_EQ(watcher->GetUnitMode(), DeviceCommWatcher::kUnitOrdinary);
}

TEST_F(DeviceCommWatcherTest, EachChangeLeavesOnceAsCommand5WithItsBytes)
{
    StartSender();
    struct Case
    {
        const char* name;
        XParam* param;
        double value;
        int32_t flags;
        Bytes payload;
    };
    const Case cases[] = {
        {"float-typed delay 1.5",
         Output(0, ChannelParamTables::kOutputDelayId),
         1.5,
         0,
         {0x2F, 0x01, 1, 0x00, 0x00, 0xC0, 0x3F, 0}},
        {"on/off 1",
         Output(0, ChannelParamTables::kHipassBypassId),
         1.0,
         0,
         {0x08, 0x01, 0, 0x01, 0x00, 0x00, 0x00, 0}},
        {"flags 0x80 and 0x40",
         Input(1, ChannelParamTables::kInputDelayId),
         2.0,
         0xC0,
         {0x02, 0x01, 1, 0x00, 0x00, 0x00, 0x40, 0x0C}},
        {"preset name, packed",
         groups.preset.GetParam(GlobalParamTables::kPresetNameFirstId),
         0x41424344,
         0,
         {0x33, 0x00, 0, 0x44, 0x43, 0x42, 0x41, 0}},
        {"main group: temperature units",
         MainParam(GlobalParamTables::kTempUnitsId),
         1.0,
         0,
         {0x02, 0x00, 0, 0x01, 0x00, 0x00, 0x00, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.param, nullptr);
        c.param->SetFlags((c.param->GetFlags() & ~0xC0) | c.flags);
        c.param->SetValue(c.value, true);
        EXPECT_EQ(Tick(), (std::vector<Sent>{{kCmdSetParamValue, c.payload}}));
        EXPECT_TRUE(Tick().empty()) << "sent once";
    }
}

TEST_F(DeviceCommWatcherTest, ValuesTheUnitKeepsOrMeasuresAreNeverSent)
{
    StartSender();
    XParam* const neverSent[] = {
        MainParam(GlobalParamTables::kMSStateId),
        MainParam(GlobalParamTables::kCurrentPresetId),
        MainParam(GlobalParamTables::kContactsValueId),
        MainParam(GlobalParamTables::kDSPLoadId),
        MainParam(GlobalParamTables::kGlobalDirtyId),
        groups.preset.GetParam(GlobalParamTables::kInputDelayBaseId),
        groups.preset.GetParam(GlobalParamTables::kOutputDelayBaseId),
        Input(0, ChannelParamTables::kInputMeterId),
        Input(1, ChannelParamTables::kInputMeterId),
        Output(0, ChannelParamTables::kOutputMeterId),
        Output(5, ChannelParamTables::kGainReductionId),
    };
    for (XParam* param : neverSent)
    {
        SCOPED_TRACE(param->GetFullPath().CStr());
        param->SetValue(param->GetMin() == param->GetValue() ? param->GetMax() : param->GetMin(), true);
        EXPECT_EQ(Tick(), std::vector<Sent>{});
    }
    // Parameters of the editor's own (ids beyond the wire's) stay home too.
    MainParam(GlobalParamTables::kChannelLinkingId)->SetValue(1.0, true);
    EXPECT_EQ(Tick(), std::vector<Sent>{});
}

TEST_F(DeviceCommWatcherTest, ValuesAndFlagsFromTheUnitAreAppliedAndNeverSentBack)
{
    StartSender();
    XParam* delay = Output(2, ChannelParamTables::kOutputDelayId);
    ParamTest::Recorder view;
    delay->AddWatcher(&view, 7, false);

    Deliver(kCmdSetParamValue, ValuePayload(260 + 2 * 52 + 43, FloatBits(12.5F), 0x04, 1));
    EXPECT_DOUBLE_EQ(delay->GetValue(), 12.5);
    EXPECT_EQ(delay->GetFlags() & 0xC0, 0x80);
    const std::vector<int32_t> codes = view.Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), kSet), codes.end());
    EXPECT_TRUE(delay->IsChangeTracking());

    // An integer value travels as int32; a packed preset word keeps every bit.
    Deliver(kCmdSetParamValue, ValuePayload(260 + 2 * 52 + 1, 2));
    EXPECT_EQ(Output(2, ChannelParamTables::kOutputSourceId)->GetValue(), 2.0);
    Deliver(kCmdSetParamValue, ValuePayload(52, 0x7BCDEF12));
    EXPECT_EQ(groups.preset.GetParam(GlobalParamTables::kPresetNameFirstId + 1)->GetValue(),
              static_cast<double>(0x7BCDEF12));

    EXPECT_TRUE(Tick().empty()) << "nothing goes back";
    EXPECT_TRUE(Tick().empty());
    delay->RemoveWatcher(&view);
}

TEST_F(DeviceCommWatcherTest, IntegersFromTheUnitAreAppliedExactly)
{
    struct Case
    {
        const char* name;
        int wireId;
        int32_t value;
    };
    const Case cases[] = {
        {"GEQ band bypass, bands 1 and 31", 64 + 93, 1073741825},
        {"GEQ band bypass, every band", 162 + 93, 2147483647},
        {"GEQ band bypass, none", 64 + 93, 0},
        {"contacts mask, highest", 16, 2147483647},
        {"master/slave channels, first a float loses", 26, 16777217},
        {"LED configuration, highest", 51 + 12, 16777215},
        {"amplifier index, lowest", 260 + 50, -1},
        {"amplifier index, highest", 260 + 5 * 52 + 50, 31},
        {"current preset, highest", 14, 80},
        {"preset name word, highest", 51 + 4, 2147483647},
    };
    // One value at a time, and all of them in one bulk answer.
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        XParam* param = watcher->GetLiveParam(c.wireId);
        ASSERT_NE(param, nullptr);
        param->SetValue(param->GetDefault(), false);
        Deliver(kCmdSetParamValue, ValuePayload(c.wireId, static_cast<uint32_t>(c.value)));
        EXPECT_EQ(param->GetValue(), c.value);
    }
    for (const Case& c : cases)
        watcher->GetLiveParam(c.wireId)->SetValue(watcher->GetLiveParam(c.wireId)->GetDefault(), false);
    watcher->RequestAllParams();
    const auto bitsOf = [&](int wireId)
    {
        for (const Case& c : cases)
            if (c.wireId == wireId)
                return static_cast<uint32_t>(c.value);
        return 0u;
    };
    for (int frame = 0; frame < 143; ++frame)
        DeliverBulkFrame(frame, bitsOf);
    for (const Case& c : cases)
        if (static_cast<int32_t>(bitsOf(c.wireId)) == c.value)
        {
            EXPECT_EQ(watcher->GetLiveParam(c.wireId)->GetValue(), c.value) << c.name << " in a bulk answer";
        }
}

TEST_F(DeviceCommWatcherTest, BadValuesFromTheUnitAreDropped)
{
    XParam* delay = Output(0, ChannelParamTables::kOutputDelayId);
    delay->SetValue(5.0, false);
    struct Case
    {
        const char* name;
        Bytes payload;
    };
    const Case cases[] = {
        {"not a number", ValuePayload(303, 0x7FC00000, 0, 1)},
        {"infinity", ValuePayload(303, 0x7F800000, 0, 1)},
        {"cut short", Bytes{0x2F, 0x01, 1, 0x00, 0x00}},
        {"wire id nobody maps", ValuePayload(271, 1)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Deliver(kCmdSetParamValue, c.payload);
        EXPECT_EQ(delay->GetValue(), 5.0);
    }
}

TEST_F(DeviceCommWatcherTest, ChangesWhileSendingIsOffAreNeverSent)
{
    StartSender();
    watcher->SetSendingEnabled(false);
    EXPECT_TRUE(IsParamSendingSuspended());
    Output(1, ChannelParamTables::kOutputDelayId)->SetValue(3.0, true);
    PlatformClock::Sleep(2); // each step at a tick of its own
    EXPECT_TRUE(Tick().empty());
    PlatformClock::Sleep(2);
    watcher->SetSendingEnabled(true);
    PlatformClock::Sleep(2);
    EXPECT_TRUE(Tick().empty()) << "still not after sending is on again";
    Output(1, ChannelParamTables::kOutputDelayId)->SetValue(4.0, true);
    EXPECT_EQ(Tick().size(), 1u);
}

TEST_F(DeviceCommWatcherTest, AChangeInTheSameTickAsTheLastPassIsSentOnceAndNotLost)
{
    PlatformClock::SetTimeScale(1e-9); // the tick count stands still
    StartSender();
    XParam* delay = Output(3, ChannelParamTables::kOutputDelayId);
    delay->SetValue(7.0, true);
    EXPECT_EQ(Tick().size(), 1u);
    EXPECT_TRUE(Tick().empty()) << "collected again at the same tick, but sent once";
    delay->SetValue(8.0, true);
    EXPECT_EQ(Tick().size(), 1u) << "a newer value at the same tick still goes";
}

TEST_F(DeviceCommWatcherTest, ABulkAnswerFillsTheMapAndEndsAfter572Values)
{
    StartSender();
    // The loading flag shows only while connected.
    MainParam(GlobalParamTables::kUsbActiveId)->SetValue(1.0, false);
    watcher->RequestAllParams();
    EXPECT_EQ(connection.Take(), (std::vector<Sent>{{kCmdRequestAllParams, {}}}));
    EXPECT_TRUE(watcher->IsReceivingAll());
    EXPECT_FALSE(watcher->IsSendingEnabled());
    EXPECT_EQ(MainParam(DeviceCommWatcher::kDisplayLoadingId)->GetValue(), 1.0);

    for (int frame = 0; frame < 143; ++frame)
    {
        Bytes payload;
        for (int record = 0; record < 4; ++record)
        {
            const int wireId = frame * 4 + record;
            XParam* param = watcher->GetLiveParam(wireId);
            const bool isFloat = IsFloatParam(param);
            // Every value lies at the parameter's minimum + 1 (or 1 for unmapped ids).
            const double value = param != nullptr ? param->GetMin() + 1 : 1;
            AddU32(payload, isFloat ? FloatBits(static_cast<float>(value)) : static_cast<uint32_t>(value));
            payload.push_back(isFloat ? 1 : 0);
            payload.push_back(0);
        }
        if (frame == 10) // an edit while the answer streams in
            Output(0, ChannelParamTables::kOutputDelayId)->SetValue(99.0, true);
        if (frame == 142)
            payload.resize(payload.size() - 3); // the last record is cut off
        Deliver(kCmdBulkParamData, payload);
        if (frame < 142)
        {
            EXPECT_TRUE(watcher->IsReceivingAll());
        }
    }

    EXPECT_FALSE(watcher->IsReceivingAll());
    EXPECT_TRUE(watcher->IsSendingEnabled());
    EXPECT_EQ(watcher->GetBulkIndex(), -1);
    EXPECT_EQ(Output(5, ChannelParamTables::kLimitBypassId)->GetValue(), 1.0) << "wire id 569";
    EXPECT_EQ(Output(5, ChannelParamTables::kOutputGainId)->GetValue(),
              Output(5, ChannelParamTables::kOutputGainId)->GetDefault())
        << "the cut-off record";
    EXPECT_EQ(Input(1, ChannelParamTables::kInputDelayBypassId)->GetValue(), 1.0);
    EXPECT_EQ(MainParam(DeviceCommWatcher::kDisplayLoadingId)->GetValue(), 0.0);
    EXPECT_EQ(MainParam(DeviceCommWatcher::kConfirmChangeListenModeId)->GetValue(), 1.0);
    EXPECT_EQ(groups.services.compareButtonShown.load(), 1);
    EXPECT_EQ(groups.services.syncsToCompare.load(), 0);
    const auto texts = groups.services.StatusTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "receiving data...");
    EXPECT_EQ(texts.back(), "connected to unit");
    EXPECT_TRUE(TestSupport::WaitUntil(
        [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) == 1; }, kWaitMs));

    EXPECT_TRUE(Tick().empty()) << "neither the answer nor the edit made meanwhile goes back";
}

TEST_F(DeviceCommWatcherTest, ARequestForAllValuesWaitsForTheRunningAnswerAndRunsOnce)
{
    const auto first = AnswerBits(1.0);
    const auto second = AnswerBits(2.0);
    watcher->RequestAllParams();
    EXPECT_EQ(CountRequests(), 1);
    for (int frame = 0; frame < 50; ++frame)
        DeliverBulkFrame(frame, first);

    // Two more requests (a configuration change, a recall on the unit) while the answer streams in.
    watcher->RequestAllParams();
    watcher->RequestAllParams();
    EXPECT_EQ(CountRequests(), 0) << "the running answer keeps its record count";
    EXPECT_TRUE(watcher->IsAllRequestWaiting());
    for (int frame = 50; frame < 143; ++frame)
        DeliverBulkFrame(frame, first);
    EXPECT_EQ(CountDiffering(first), 0);
    EXPECT_EQ(CountRequests(), 1) << "the waiting requests run once, as the answer ends";
    EXPECT_TRUE(watcher->IsReceivingAll());
    EXPECT_FALSE(watcher->IsSendingEnabled());

    for (int frame = 0; frame < 143; ++frame)
        DeliverBulkFrame(frame, second);
    EXPECT_EQ(CountDiffering(second), 0);
    EXPECT_FALSE(watcher->IsReceivingAll());
    EXPECT_TRUE(watcher->IsSendingEnabled());
    EXPECT_EQ(CountRequests(), 0);
    EXPECT_TRUE(TestSupport::WaitUntil(
        [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) == 1; }, kWaitMs));
    EXPECT_EQ(groups.services.compareButtonShown.load(), 1) << "the replaced answer completes nothing";

    // With no answer running a request goes at once.
    watcher->RequestAllParams();
    EXPECT_EQ(CountRequests(), 1);
}

TEST_F(DeviceCommWatcherTest, AWaitingRequestRunsOnceTheRunningAnswerIsAbandoned)
{
    struct Case
    {
        const char* name;
        std::function<void()> abandon;
        int requestsAtTick; // the waiting request, sent (1) or dropped with the link (0)
    };
    const Case cases[] = {
        {"the link is lost", [&] { connection.connected.store(false); }, 0},
        {"nothing comes for too long",
         [&]
         {
             PlatformClock::SetTimeScale(1000.0);
             PlatformClock::Sleep(DeviceCommWatcher::kAllAnswerStallMs + 100);
             PlatformClock::SetTimeScale(1.0);
         },
         1},
    };
    PlatformClock::SetTimeScale(1.0); // no answer stalls before the test says so
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        connection.connected.store(true);
        watcher->RequestAllParams();
        DeliverBulkFrame(0, AnswerBits(1.0));
        watcher->RequestAllParams();
        EXPECT_EQ(CountRequests(), 1);
        EXPECT_TRUE(Tick().empty()) << "still waiting";
        c.abandon();
        watcher->OnTimer(DeviceCommWatcher::kIdleTimerId);
        EXPECT_FALSE(watcher->IsAllRequestWaiting());
        EXPECT_EQ(CountRequests(), c.requestsAtTick);

        // Whatever became of it, the next request is not held.
        connection.connected.store(true);
        if (c.requestsAtTick == 1)
            for (int frame = 0; frame < 143; ++frame)
                DeliverBulkFrame(frame, AnswerBits(1.0));
        watcher->RequestAllParams();
        EXPECT_EQ(CountRequests(), 1);
        for (int frame = 0; frame < 143; ++frame)
            DeliverBulkFrame(frame, AnswerBits(1.0));
    }
}

TEST_F(DeviceCommWatcherTest, TheUnitsRecallReadsEveryValueAgainAndSyncsTheCompareCopies)
{
    Deliver(kCmdRecallPreset, {});
    const Bytes zero{0, 0, 0, 0};
    EXPECT_EQ(connection.Take(),
              (std::vector<Sent>{{kCmdCommand3, zero}, {kCmdCommand12, zero}, {kCmdRequestAllParams, {}}}));
    EXPECT_TRUE(watcher->IsGetAllFromRecall());
    const Bytes record{0, 0, 0, 0, 0, 0};
    Bytes frame;
    for (int i = 0; i < 4; ++i)
        frame.insert(frame.end(), record.begin(), record.end());
    for (int i = 0; i < 143; ++i)
        Deliver(kCmdBulkParamData, frame);
    EXPECT_EQ(groups.services.syncsToCompare.load(), 1);
    EXPECT_FALSE(watcher->IsGetAllFromRecall());
}

TEST_F(DeviceCommWatcherTest, ACompareAnswerFillsTheCopiesAndEndsAfter505Records)
{
    PresetJob job;
    watcher->SetPresetHandler(&job);
    // A cut-short earlier answer does not shift this one: the request starts the count again.
    Deliver(kCmdFlashCompareData, ValuePayload(311, FloatBits(-3.0F), 0, 1));
    watcher->RecallPresetForSaving(7);
    EXPECT_EQ(connection.Take(),
              (std::vector<Sent>{{kCmdRecallPresetForSaving, {7, 1}}, {kCmdCommand12, {0, 0, 0, 0}}}));
    EXPECT_EQ(watcher->GetCompareCount(), 0);

    XParam* compareGain = GetCompareOutputChannel(0)->GetParam(ChannelParamTables::kOutputGainId);
    XParam* liveGain = Output(0, ChannelParamTables::kOutputGainId);
    const double liveBefore = liveGain->GetValue();
    for (int record = 0; record < 505; ++record)
    {
        Deliver(kCmdFlashCompareData,
                record == 3 ? ValuePayload(311, FloatBits(-6.0F), 0, 1) : ValuePayload(0, 0));
        EXPECT_EQ(job.dataReceived.load(), record == 504 ? 1 : 0);
    }
    EXPECT_EQ(compareGain->GetValue(), -6.0);
    EXPECT_EQ(liveGain->GetValue(), liveBefore);
    EXPECT_EQ(MainParam(GlobalParamTables::kMSStateId)->GetValue(),
              MainParam(GlobalParamTables::kMSStateId)->GetDefault())
        << "the main group has no compare copy";
    EXPECT_EQ(watcher->GetCompareCount(), 0);
    EXPECT_TRUE(watcher->IsSendingEnabled());
    EXPECT_EQ(groups.services.StatusTexts().back(), "connected to unit");
    watcher->SetPresetHandler(nullptr);
}

TEST_F(DeviceCommWatcherTest, DeviceInfoSetsFirmwareAndUnitMode)
{
    struct Case
    {
        uint8_t status;
        uint32_t version;
        const char* text;
        bool firmwareOk;
        uint8_t mode;
    };
    const Case cases[] = {
        {0, 0x42010400, "", true, 0},   {0, 0x42010400, "L", true, 1}, {0, 0x42010300, "L", false, 1},
        {0, 0x12345678, "S", true, 2},  {1, 0x42010400, "", false, 0}, {0, 0x42010300, "", false, 0},
        {0, 0x42010400, "LS", true, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.version));
        watcher->SetAwaitingDeviceInfo(true);
        Bytes payload{c.status};
        AddU32(payload, c.version);
        AddU16(payload, static_cast<uint32_t>(std::strlen(c.text)));
        payload.insert(payload.end(), c.text, c.text + std::strlen(c.text));
        Deliver(kCmdDeviceInfo, payload);
        EXPECT_EQ(watcher->IsFirmwareOk(), c.firmwareOk);
        EXPECT_EQ(watcher->GetUnitMode(), c.mode);
        EXPECT_FALSE(watcher->IsAwaitingDeviceInfo());
    }

    // An answer cut short anywhere is dropped like every other short record.
    watcher->HandleDeviceInfo(0, 0x42010300, "");
    const Bytes whole{0, 0x00, 0x04, 0x01, 0x42, 0x01, 0x00, 'S'};
    for (size_t length = 0; length < whole.size(); ++length)
    {
        SCOPED_TRACE(length);
        watcher->SetAwaitingDeviceInfo(true);
        Deliver(kCmdDeviceInfo, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_TRUE(watcher->IsAwaitingDeviceInfo());
        EXPECT_FALSE(watcher->IsFirmwareOk());
        EXPECT_EQ(watcher->GetUnitMode(), DeviceCommWatcher::kUnitOrdinary);
    }
}

TEST_F(DeviceCommWatcherTest, DisplayBlocksFillTheirRowsInsideThePictureAndTheLastOnePostsAnUpdate)
{
    struct Case
    {
        uint8_t block, lastBlock, bytesPerRow, rows;
        int firstRow, rowCount, columnsPerRow;
        bool posts;
    };
    const Case cases[] = {
        {2, 3, 16, 8, 16, 8, 16, false},
        {3, 3, 16, 8, 24, 8, 16, true},
        {4, 5, 30, 8, 32, 6, 24, false}, // rows 38, 39 and bytes beyond x 191 lie outside
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.block));
        const int postsBefore = looper.CountOf(DeviceCommWatcher::kMsgDisplayUpdated);
        Bytes payload{c.block, c.lastBlock, 0, 0, c.bytesPerRow, c.rows};
        for (int i = 0; i < c.bytesPerRow * c.rows; ++i)
            payload.push_back(static_cast<uint8_t>(i));
        Deliver(kCmdDisplayData, payload);
        const auto columns = groups.services.TakeColumns();
        ASSERT_EQ(columns.size(), static_cast<size_t>(c.rowCount * c.columnsPerRow));
        EXPECT_EQ(columns.front().row, c.firstRow);
        EXPECT_EQ(columns.back().row, c.firstRow + c.rowCount - 1);
        EXPECT_EQ(columns[1].x, 8);
        EXPECT_EQ(columns[1].bits, 1);
        if (c.posts)
        {
            EXPECT_TRUE(TestSupport::WaitUntil(
                [&] { return looper.CountOf(DeviceCommWatcher::kMsgDisplayUpdated) == postsBefore + 1; },
                kWaitMs));
        }
    }
    Deliver(kCmdDisplayData, {1, 1, 0, 0, 4, 2, 0xAA}); // only one of eight bytes came
    EXPECT_EQ(groups.services.TakeColumns().size(), 1u);
    EXPECT_TRUE(TestSupport::WaitUntil(
        [&] { return looper.CountOf(DeviceCommWatcher::kMsgDisplayUpdated) == 2; }, kWaitMs));
}

TEST_F(DeviceCommWatcherTest, PresetRepliesGoToTheWaitingJobElseToTheApplication)
{
    const Bytes info{5, 3, 0, 'A', 'b', 'c', 2, 0, 0, 0};
    const Bytes flags{6, 4};
    Deliver(kCmdPresetInfo, info);
    Deliver(kCmdPresetFlags, flags);
    Deliver(kCmdStorePreset, {9});
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return looper.Posts().size() == 3; }, kWaitMs));
    const auto posts = looper.Posts();
    EXPECT_EQ(posts[0].what, DeviceCommWatcher::kMsgPresetInfo);
    EXPECT_EQ(posts[0].presetNum, 5);
    EXPECT_EQ(posts[0].second, 2);
    EXPECT_EQ(posts[0].name, "Abc");
    EXPECT_EQ(posts[1].what, DeviceCommWatcher::kMsgPresetFlags);
    EXPECT_EQ(posts[1].presetNum, 6);
    EXPECT_EQ(posts[1].second, 4);
    EXPECT_EQ(posts[2].what, DeviceCommWatcher::kMsgPresetStored);
    EXPECT_EQ(posts[2].presetNum, 9);

    PresetJob job;
    watcher->SetPresetHandler(&job);
    Deliver(kCmdPresetInfo, info);
    Deliver(kCmdPresetFlags, flags);
    Deliver(kCmdPresetInfo, {5, 3, 0, 'A'}); // cut short: dropped
    watcher->SetPresetHandler(nullptr);
    EXPECT_EQ(job.infos, (std::vector<std::pair<int, int>>{{5, 2}}));
    EXPECT_EQ(job.names, (std::vector<std::string>{"Abc"}));
    EXPECT_EQ(job.flagReplies, (std::vector<std::pair<int, int>>{{6, 4}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(looper.Posts().size(), 3u);
}

TEST_F(DeviceCommWatcherTest, RequestsCarryTheirCommandsAndPayloads)
{
    const Bytes zero{0, 0, 0, 0};
    struct Case
    {
        const char* name;
        std::function<void()> request;
        std::vector<Sent> sent;
    };
    const Case cases[] = {
        {"device info", [&] { watcher->RequestDeviceInfo(); }, {{kCmdRequestDeviceInfo, {}}}},
        {"recall user 7",
         [&] { watcher->RecallPreset(7); },
         {{kCmdCommand3, zero}, {kCmdRecallPreset, {7, 1}}, {kCmdCommand12, zero}}},
        {"recall factory 21",
         [&] { watcher->RecallPreset(21); },
         {{kCmdCommand3, zero}, {kCmdRecallPreset, {0, 0}}, {kCmdCommand12, zero}}},
        {"recall factory 80",
         [&] { watcher->RecallPreset(80); },
         {{kCmdCommand3, zero}, {kCmdRecallPreset, {0x3B, 0}}, {kCmdCommand12, zero}}},
        {"store 4", [&] { watcher->StorePreset(4); }, {{kCmdStorePreset, {4}}}},
        {"bootloader", [&] { watcher->SendEnterBootloader(); }, {{kCmdEnterBootloader, {0}}}},
        {"command 12 (1)", [&] { watcher->SendCommand12(1); }, {{kCmdCommand12, {1, 0, 0, 0}}}},
        {"preset info", [&] { watcher->RequestPresetInfo(33); }, {{kCmdPresetInfo, {33}}}},
        {"preset flags", [&] { watcher->RequestPresetFlags(2); }, {{kCmdPresetFlags, {2}}}},
        {"set flags", [&] { watcher->SetPresetFlags(3, 4); }, {{kCmdSetPresetFlags, {3, 4, 0, 0, 0}}}},
        {"erase", [&] { watcher->EraseUserPresets(); }, {{kCmdEraseUserPresets, {}}}},
        {"bracket",
         [&]
         {
             watcher->SendBulkBracket(true);
             watcher->SendBulkBracket(false);
         },
         {{kCmdBulkBracket, {1}}, {kCmdBulkBracket, {0}}}},
        {"param id of GlobalDirty",
         [&] { watcher->SendParamIdCommand(MainParam(GlobalParamTables::kGlobalDirtyId)); },
         {{kCmdParamId, {49, 0}}}},
        {"param id of Output6 gain",
         [&] { watcher->SendParamIdCommand(Output(5, ChannelParamTables::kOutputGainId)); },
         {{kCmdParamId, {0x3B, 0x02}}}},
        {"param id of an unmapped one",
         [&] { watcher->SendParamIdCommand(MainParam(GlobalParamTables::kChannelLinkingId)); },
         {{kCmdParamId, {0, 0}}}},
        {"value never sent",
         [&] { watcher->SendParamValue(MainParam(GlobalParamTables::kDSPLoadId), 28); },
         {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.request();
        EXPECT_EQ(connection.Take(), c.sent);
    }
    connection.connected.store(false);
    watcher->RequestDeviceInfo();
    EXPECT_TRUE(connection.Take().empty()) << "dropped while the link is down";
}

TEST_F(DeviceCommWatcherTest, SerialNoticesAndSlaveMetersReachTheApplicationsParameters)
{
    XParam* rs232 = MainParam(DeviceCommWatcher::kRs232ActiveId);
    Deliver(kCmdSlaveStatus, {1, 3});
    EXPECT_EQ(groups.services.GetSlaveParam(DeviceCommWatcher::kSlavedChanConfigId)->GetValue(), 3.0);
    EXPECT_EQ(rs232->GetValue(), 1.0);
    Deliver(kCmdSetParamValue, ValuePayload(264, 1));
    EXPECT_EQ(rs232->GetValue(), 1.0) << "a value soon after keeps the notice";
    PlatformClock::Sleep(DeviceCommWatcher::kSerialNoticeLapseMs + 200);
    Deliver(kCmdSetParamValue, ValuePayload(264, 0));
    EXPECT_EQ(rs232->GetValue(), 0.0) << "one long after ends it";
    Deliver(kCmdSlaveStatus, {1, 2});
    Deliver(kCmdSlaveStatus, {0, 0});
    EXPECT_EQ(rs232->GetValue(), 0.0);

    // A meter reading of a slaved unit goes to the slave group, not to the live meter.
    const double liveMeter = Output(1, ChannelParamTables::kOutputMeterId)->GetValue();
    Deliver(kCmdSetParamValue, ValuePayload(312, FloatBits(-20.0F), 0x40, 1));
    EXPECT_EQ(groups.services.GetSlaveParam(GlobalParamTables::kSlaveMeterOut1Id + 1)->GetValue(), -20.0);
    EXPECT_EQ(Output(1, ChannelParamTables::kOutputMeterId)->GetValue(), liveMeter);
    Deliver(kCmdSetParamValue, ValuePayload(162, FloatBits(-30.0F), 0x40, 1));
    EXPECT_EQ(groups.services.GetSlaveParam(GlobalParamTables::kSlaveMeterInBId)->GetValue(), -30.0);
}

TEST_F(DeviceCommWatcherTest, RandomFramesFromTheUnitAreReadSafely)
{
    std::mt19937 random(20240);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 24);
    const int commands[] = {2, 4, 5, 8, 10, 13, 14, 16, 18, 20, 1, 3, 0, 255};
    for (int round = 0; round < 3000; ++round)
    {
        Bytes payload(static_cast<size_t>(length(random)));
        for (uint8_t& b : payload)
            b = static_cast<uint8_t>(byte(random));
        Deliver(commands[round % (sizeof commands / sizeof commands[0])], payload);
    }
    for (int wireId = 0; wireId < WireIdSpace::kCount; ++wireId)
        if (XParam* param = watcher->GetLiveParam(wireId))
        {
            EXPECT_GE(param->GetValue(), param->GetMin()) << wireId;
            EXPECT_LE(param->GetValue(), param->GetMax()) << wireId;
        }
}

TEST_F(DeviceCommWatcherTest, TheTimerSendsOnItsLooperWhileTheReaderAppliesAndTheUserEdits)
{
    // Runs the three threads of the road of an edit at once; meaningful under the thread sanitizer.
    watcher->BuildWireIdMaps(false);
    std::atomic<bool> stop{false};
    std::thread reader(
        [&]
        {
            for (int i = 0; !stop.load(); ++i)
            {
                TWMsgBuf payload;
                const Bytes bytes = ValuePayload(260 + 43, FloatBits(static_cast<float>(i % 100)), 0, 1);
                payload.SetContents(bytes.data(), static_cast<int>(bytes.size()));
                watcher->HandleCommand(0, kCmdSetParamValue, &payload, nullptr);
                std::this_thread::yield();
            }
        });
    for (int i = 0; i < 400; ++i)
    {
        Output(1, ChannelParamTables::kOutputDelayId)->ChangeValue(i % 50, true);
        if (i % 40 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(TestSupport::WaitUntil(
        [&]
        {
            for (const Sent& sent : connection.Take())
                if (sent.command == kCmdSetParamValue && sent.payload[0] == 0x2F + 52)
                    return true;
            return false;
        },
        kWaitMs));
    stop.store(true);
    reader.join();
}

TEST_F(DeviceCommWatcherTest, TheWindowsRequestsReachTheWatcherOnlyWhileALinkIsRegistered)
{
    XParam* gain = Output(0, ChannelParamTables::kOutputGainId);
    IDeviceRequests& none = GetDeviceRequests();
    EXPECT_FALSE(none.IsConnected());
    EXPECT_EQ(none.FindLiveWireId(gain), -1);
    EXPECT_TRUE(none.IsSendingEnabled());
    none.RequestPresetFlags(3);
    none.SetSendingEnabled(false);
    EXPECT_TRUE(connection.Take().empty());
    EXPECT_TRUE(watcher->IsSendingEnabled());

    DeviceJobLink link(watcher.get());
    SetDeviceRequests(&link);
    IDeviceRequests& requests = GetDeviceRequests();
    EXPECT_TRUE(requests.IsConnected());
    const int gainWireId = requests.FindLiveWireId(gain);
    EXPECT_EQ(watcher->GetLiveParam(gainWireId), gain);
    struct Case
    {
        std::function<void()> request;
        int command;
        Bytes payload; // checked when not empty
    };
    const Case cases[] = {
        {[&] { requests.SendParamValue(gain, gainWireId); }, kCmdSetParamValue, {}},
        {[&] { requests.RequestAllParams(); }, kCmdRequestAllParams, {}},
        {[&] { requests.RequestPresetInfo(3); }, kCmdPresetInfo, {3}},
        {[&] { requests.RequestPresetFlags(3); }, kCmdPresetFlags, {3}},
        {[&] { requests.SetPresetFlags(3, 12); }, kCmdSetPresetFlags, {3, 12, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        c.request();
        const std::vector<Sent> sent = connection.Take();
        ASSERT_EQ(sent.size(), 1u) << c.command;
        EXPECT_EQ(sent[0].command, c.command);
        if (!c.payload.empty())
        {
            EXPECT_EQ(sent[0].payload, c.payload);
        }
    }
    requests.SetSendingEnabled(false);
    EXPECT_FALSE(requests.IsSendingEnabled());
    requests.SetSendingEnabled(true);
    EXPECT_TRUE(watcher->IsSendingEnabled());
    requests.SetGetAllFromRecall(true);
    EXPECT_EQ(MainParam(DeviceCommWatcher::kGetAllFromRecallId)->GetValue(), 1.0);
    SetDeviceRequests(nullptr);
    EXPECT_FALSE(GetDeviceRequests().IsConnected());
}
