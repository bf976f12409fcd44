// The preset receive against a simulated unit that answers the preset requests on a thread of its
// own, as the link's reader does.

#include "device/PresetReceiveJob.h"

#include "FakePresetUnit.h"
#include "core/XMessageCodes.h"
#include "core/XParamGroup.h"
#include "device/GlobalParamTables.h"
#include "device/IDeviceJob.h"
#include "device/PresetsManager.h"
#include "support/AppServicesStandIn.h"
#include "support/ParamTestSupport.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kWaitMs = 30000;
using FakePresets::FakeUnit;
using FakePresets::kFlagsCommand;
using FakePresets::kInfoCommand;
using FakePresets::kNoLimit;
using FakePresets::kPresets;

/** Records the progress shown and cancels when the test says so. */
class ProgressRecorder final : public IJobProgress
{
public:
    void SetProgress(double fraction) override { last.store(fraction); }
    void SetStatusMessage(const XString&) override {}
    bool ShouldExit() override { return cancel.load(); }

    std::atomic<double> last{-1.0};
    std::atomic<bool> cancel{false};
};

class PresetReceive : public ::testing::Test
{
protected:
    PresetReceive() { presets.FillPlaceholders(); }
    ~PresetReceive() override
    {
        // A test that returned early still ends its run; then no reply may reach the job once it
        // is gone.
        if (runner.joinable())
        {
            progress.cancel.store(true);
            runner.join();
        }
        unit.Stop();
    }

    /** Runs the receive on a thread of its own, as the progress window does. */
    void Start()
    {
        runner = std::thread(
            [this]
            {
                job.Run(progress);
                finished.store(true);
            });
    }
    PresetReceiveJob::Outcome Finish()
    {
        runner.join();
        return job.GetOutcome();
    }
    XString NameOf(int index)
    {
        XString name;
        presets.GetPresetEntry(index, &name, nullptr);
        return name;
    }

    PresetsManager presets;
    FakeUnit unit;
    PresetReceiveJob job{unit, presets};
    ProgressRecorder progress;
    std::thread runner;
    std::atomic<bool> finished{false};
};
} // namespace

TEST_F(PresetReceive, FillsEveryPresetInOrderAndAnnouncesTheCurrentPreset)
{
    unit.slots[4].name = "?   ";
    unit.slots[5].name = "?Old name";
    unit.slots[6].name = "  Lead blanks stay  ";
    unit.slots[7].flags = 0x4;
    // The job's thread stalls right after asking for preset 1's info: its flags must still be asked
    // for before the reply asks for preset 2.
    unit.holdsFirstInfoRequest = true;
    AppServicesStandIn services;
    XParamGroup main("main");
    main.AddParams(UnitSettingsParamTable, GlobalParamTables::kUnitSettingsPrefix);
    services.SetGroups(&main, nullptr, nullptr, nullptr);
    ParamTest::Recorder currentPresetWatcher;
    services.GetParam(GlobalParamTables::kCurrentPresetId)->AddWatcher(&currentPresetWatcher, 1, false);

    Start();
    // The window's thread reads the entries while the reader writes them.
    for (int index = 0; !finished.load(); index = (index + 1) % kPresets)
    {
        EXPECT_GT(NameOf(index).Length(), 0) << index;
        std::this_thread::yield();
    }
    EXPECT_EQ(Finish(), PresetReceiveJob::Outcome::kComplete);
    EXPECT_EQ(job.GetProgress(), 100);
    EXPECT_EQ(progress.last.load(), 1.0);

    // Info and then flags of each preset in turn, 1..80: a unit that answers in order sends every
    // preset's flags before the next preset's info.
    std::vector<FakeUnit::Request> expected;
    for (int number = 1; number <= kPresets; ++number)
    {
        expected.push_back({kInfoCommand, number});
        expected.push_back({kFlagsCommand, number});
    }
    const std::vector<FakeUnit::Request> requests = unit.Requests();
    ASSERT_EQ(requests.size(), expected.size());
    const auto firstWrong = std::mismatch(requests.begin(), requests.end(), expected.begin()).first;
    EXPECT_TRUE(firstWrong == requests.end()) << "request " << firstWrong - requests.begin() << " is command "
                                              << firstWrong->command << " of preset " << firstWrong->number;
    for (int index = 0; index < kPresets - 1; ++index)
    {
        PresetsManager::Preset entry("", 0, 0);
        ASSERT_TRUE(presets.GetEntry(index, &entry));
        EXPECT_EQ(entry.configuration, (index + 1) % 7) << index;
        EXPECT_EQ(entry.flags, unit.slots[index].flags) << index;
    }
    EXPECT_STREQ(NameOf(0).CStr(), "Preset 1");
    EXPECT_STREQ(NameOf(4).CStr(), "?");
    EXPECT_STREQ(NameOf(5).CStr(), "?");
    EXPECT_STREQ(NameOf(6).CStr(), "  Lead blanks stay");
    EXPECT_STREQ(NameOf(79).CStr(), "Preset 80");

    // The job has let go of the link; preset 80's flags may come after it and go elsewhere.
    EXPECT_EQ(unit.GetPresetHandler(), nullptr);
    const std::vector<ParamTest::Note> notes = currentPresetWatcher.Notes();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back().code, static_cast<int32_t>(XMsgCode::kParamValueSet));
    services.GetParam(GlobalParamTables::kCurrentPresetId)->RemoveWatcher(&currentPresetWatcher);
}

TEST_F(PresetReceive, ProgressIsFiftyAfterPresetFortyAndCancellingKeepsTheRest)
{
    unit.answerUpTo = 40;
    Start();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return job.GetProgress() == 50; }, kWaitMs));
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return progress.last.load() == 0.5; }, kWaitMs));
    progress.cancel.store(true);
    EXPECT_EQ(Finish(), PresetReceiveJob::Outcome::kCancelled);
    EXPECT_STREQ(job.GetFailureText().CStr(), "");
    const IDeviceJob::WindowStyle style = job.GetWindowStyle();
    EXPECT_STREQ(style.title, "Receiving Presets");
    EXPECT_TRUE(style.hasProgressBar);
    EXPECT_TRUE(style.hasCancelButton);
    EXPECT_EQ(style.cancelTimeoutMs, 10000);
    EXPECT_STREQ(NameOf(39).CStr(), "Preset 40");
    EXPECT_STREQ(NameOf(40).CStr(), "---");
    EXPECT_EQ(unit.GetPresetHandler(), nullptr);
}

TEST_F(PresetReceive, ALostLinkEndsTheReceiveAndWithoutOneNothingIsAsked)
{
    unit.dropAt = 11;
    Start();
    EXPECT_EQ(Finish(), PresetReceiveJob::Outcome::kLinkLost);
    EXPECT_STREQ(NameOf(9).CStr(), "Preset 10");
    EXPECT_STREQ(NameOf(10).CStr(), "---");
    EXPECT_EQ(job.GetProgress(), 10 * 100 / kPresets);
    EXPECT_STREQ(job.GetFailureText().CStr(), PresetReceiveJob::kLinkLostText);

    const size_t asked = unit.Requests().size();
    job.Run(progress);
    EXPECT_EQ(job.GetOutcome(), PresetReceiveJob::Outcome::kNotConnected);
    EXPECT_STREQ(job.GetFailureText().CStr(), "");
    EXPECT_EQ(unit.Requests().size(), asked);
    EXPECT_EQ(unit.GetPresetHandler(), nullptr);
}

TEST_F(PresetReceive, RepliesForPresetZeroRestartOnlyAFewTimes)
{
    struct Case
    {
        int zeroReplies;
        PresetReceiveJob::Outcome outcome;
        int requestsOfPresetOne;
    };
    const Case cases[] = {
        {1, PresetReceiveJob::Outcome::kComplete, 2},
        {PresetReceiveJob::kMaxRestarts, PresetReceiveJob::Outcome::kComplete,
         1 + PresetReceiveJob::kMaxRestarts},
        {kNoLimit, PresetReceiveJob::Outcome::kGaveUp, 1 + PresetReceiveJob::kMaxRestarts},
    };
    for (const Case& c : cases)
    {
        PresetsManager fresh;
        fresh.FillPlaceholders();
        FakeUnit zeroUnit;
        zeroUnit.zeroReplies = c.zeroReplies;
        ProgressRecorder shown;
        {
            PresetReceiveJob zeroJob(zeroUnit, fresh);
            zeroJob.Run(shown);
            EXPECT_EQ(zeroJob.GetOutcome(), c.outcome) << c.zeroReplies;
            EXPECT_STREQ(zeroJob.GetFailureText().CStr(), c.outcome == PresetReceiveJob::Outcome::kGaveUp
                                                              ? PresetReceiveJob::kGaveUpText
                                                              : "");
            zeroUnit.Stop();
        }
        EXPECT_EQ(zeroUnit.CountOf({kInfoCommand, 1}), c.requestsOfPresetOne) << c.zeroReplies;
    }
}

TEST_F(PresetReceive, AnInfoReplyBeyondTheListIsIgnored)
{
    unit.sendsPreset81 = true;
    Start();
    EXPECT_EQ(Finish(), PresetReceiveJob::Outcome::kComplete);
    EXPECT_EQ(presets.Count(), kPresets);
    EXPECT_STREQ(NameOf(79).CStr(), "Preset 80");
    EXPECT_EQ(unit.CountOf({kInfoCommand, 82}), 0);
    EXPECT_EQ(unit.CountOf({kInfoCommand, 81}), 0);
}

TEST(PresetReceiveNames, EmptySlotsBecomeAQuestionMarkAndOthersLoseTrailingBlanks)
{
    struct Case
    {
        const char* received;
        const char* stored;
    };
    const Case cases[] = {
        {"?", "?"},           {"?      ", "?"},     {"?abc  ", "?"}, {"Hall A   ", "Hall A"},
        {"Hall A", "Hall A"}, {"  Hall", "  Hall"}, {"", ""},        {"   ", ""}};
    for (const Case& c : cases)
        EXPECT_STREQ(PresetReceiveJob::StoredName(c.received).CStr(), c.stored) << '"' << c.received << '"';
}

TEST_F(PresetReceive, RandomRepliesNeverLeaveTheListOrItsRules)
{
    unit.answerUpTo = 0; // the unit stays silent; the test plays its replies
    Start();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return unit.GetPresetHandler() == &job; }, kWaitMs));

    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> number(-3, 300);
    std::uniform_int_distribution<int> anyInt(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> byte(1, 255);
    for (int round = 0; round < 2000; ++round)
    {
        std::string text;
        for (int i = length(random); i > 0; --i)
            text += static_cast<char>(byte(random));
        XString name(text.c_str());
        // Preset 0 restarts and preset 80 ends the receive: both are tested on their own.
        int presetNumber = number(random);
        if (presetNumber == 0 || presetNumber == kPresets)
            presetNumber = 1;
        if (round % 2 == 0)
            job.PresetInfoReceived(presetNumber, anyInt(random), name);
        else
            job.PresetFlagsReceived(number(random), anyInt(random));
    }
    EXPECT_EQ(unit.GetPresetHandler(), &job) << "still receiving";
    progress.cancel.store(true);
    EXPECT_EQ(Finish(), PresetReceiveJob::Outcome::kCancelled);

    ASSERT_EQ(presets.Count(), kPresets);
    for (int index = 0; index < kPresets; ++index)
    {
        PresetsManager::Preset entry("", 0, 0);
        ASSERT_TRUE(presets.GetEntry(index, &entry));
        const std::string name = entry.name.CStr();
        EXPECT_TRUE(name.empty() || name.back() != ' ') << index;
        EXPECT_TRUE(name.empty() || name[0] != '?' || name == "?") << index;
        EXPECT_GE(entry.flags, 0) << index;
        EXPECT_LE(entry.flags, 0xFF) << index;
    }
}
