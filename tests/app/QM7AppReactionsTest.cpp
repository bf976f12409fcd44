// The application object's reactions to its watched parameters: the speaker configuration's default
// set-up, the graphic equaliser's bypass masks, the listen mode's live/compare swap, the standard-edit
// links, the confirmations and the slave-mode wait.

#include "AppScenario.h"
#include "core/XABGroup.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"
#include "device/DeviceCommand.h"
#include "device/GlobalParamTables.h"
#include "device/MasterSlaveGuiThread.h"
#include "device/RequestPayloads.h"
#include "device/SendAllParamsJob.h"
#include "device/XParamDoc.h"
#include "gui/XDialog.h"
#include "support/FrameBytes.h"

#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace
{
using AppScenario::Scenario;
using FrameBytes::Sent;

constexpr int32_t kBypassedFlag = 0x80;
constexpr int32_t kCompareDiffersFlag = 0x400;
constexpr double kAllBands = 2147483647.0;

XParam* OutputParam(int output, const char* name)
{
    return QM7App::FindOutputParam(output, name);
}

void SetConfiguration(QM7App& app, int config)
{
    app.GetPresetParam(QM7App::kCurrentConfigId)->SetValue(config, true);
}

/** Command 5 with a value of an integer parameter at a wire id, as the watcher sends it. */
Sent IntegerValueFrame(int wireId, double value)
{
    TWMsgBuf payload;
    RequestPayloads::SetParamValue(payload, wireId, XParamDesc::kTypeInteger, value, 0);
    return {kCmdSetParamValue, FrameBytes::Contents(payload)};
}

/** The unit's answer to a request for all values, 143 frames; the watcher takes a later request
    only once the answer to the earlier one has ended. */
void AnswerAllValues(DeviceCommWatcher& watcher)
{
    constexpr int kFrames = DeviceCommWatcher::kBulkValueCount / DeviceCommWatcher::kBulkRecordsPerFrame;
    const FrameBytes::Bytes records(DeviceCommWatcher::kBulkRecordsPerFrame * 6, 0);
    for (int frame = 0; frame < kFrames; ++frame)
    {
        TWMsgBuf payload;
        payload.SetContents(records.data(), static_cast<int>(records.size()));
        watcher.HandleCommand(0, kCmdBulkParamData, &payload, nullptr);
    }
}

int RunConfigurationScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;

    // The start-up's announcement of the configuration set up the free configuration.
    for (int output = 1; output <= 6; ++output)
    {
        SCENARIO_CHECK(OutputParam(output, "chFilterMode")->GetValue() == 8.0);
        SCENARIO_CHECK(OutputParam(output, "outputGain")->GetValue() == -100.0);
        SCENARIO_CHECK(OutputParam(output, "label")->GetText() == ("FR " + std::to_string(output)).c_str());
    }

    struct Case
    {
        int config, preset, output;
        double filterMode, source, linked, colour, hipassFreq;
        const char* label;
    };
    const Case cases[] = {
        {0, 1, 1, 6, 0, 4, 0, 35, "Low L"},     {0, 20, 4, 6, 1, 1, 0, 35, "Low R"},
        {2, 1, 5, 1, 1, 0, 4, 35, "FR\t"},      {3, 1, 2, 5, 0, 0, 1, 60, "Low"},
        {5, 1, 5, 7, 1, 2, 1, 100, "Lo-Mid R"}, {6, 21, 2, 5, 2, 0, 1, 100, "High L"},
        {1, 24, 6, 3, 1, 3, 2, 1600, "Out 6"},  {4, 80, 6, 8, 1, 0, 5, 35, ""},
    };
    for (const Case& c : cases)
    {
        app.GetParam(QM7App::kCurrentPresetId)->SetValue(c.preset, true);
        OutputParam(c.output, "outputGain")->SetValue(0.0, true);
        SetConfiguration(app, (c.config + 1) % 7);
        SetConfiguration(app, c.config);
        const bool matches =
            OutputParam(c.output, "chFilterMode")->GetValue() == c.filterMode &&
            OutputParam(c.output, "source")->GetValue() == c.source &&
            OutputParam(c.output, "linkedChannel")->GetValue() == c.linked &&
            app.GetPresetParam(QM7App::kColorChanFirstId + c.output - 1)->GetValue() == c.colour &&
            OutputParam(c.output, "hipassFreq")->GetValue() == c.hipassFreq &&
            OutputParam(c.output, "outputGain")->GetValue() == -100.0 &&
            OutputParam(c.output, "label")->GetText() == c.label;
        if (!matches)
        {
            std::fprintf(stderr, "configuration %d, preset %d, output %d set up wrong\n", c.config, c.preset,
                         c.output);
            ++failures;
        }
    }

    // The set-up is both A/B settings of every channel.
    app.GetParam(QM7App::kCurrentPresetId)->SetValue(1, true);
    SetConfiguration(app, 0);
    app.GetParam(QM7App::kToolbarABId)->SetValue(1, true);
    SCENARIO_CHECK(OutputParam(2, "chFilterMode")->GetValue() == 3.0);
    app.GetParam(QM7App::kToolbarABId)->SetValue(0, true);

    // Without a watcher, only a configuration other than the free one touches the edit mode.
    XParam* editMode = app.GetParam(QM7App::kGlobalEditModeId);
    editMode->SetValue(1.0, true);
    SetConfiguration(app, 4);
    SCENARIO_CHECK(editMode->GetValue() == 1.0);
    SetConfiguration(app, 0);
    SCENARIO_CHECK(editMode->GetValue() == 0.0);

    // Only the user's own configuration change resets the channels first.
    OutputParam(2, "delayTime")->SetValue(10.0, true);
    SetConfiguration(app, 1);
    SCENARIO_CHECK(OutputParam(2, "delayTime")->GetValue() == 10.0);
    app.SetUserConfigChange(true);
    SetConfiguration(app, 4);
    SCENARIO_CHECK(OutputParam(2, "delayTime")->GetValue() == 0.0);
    SCENARIO_CHECK(!app.IsUserConfigChange());

    // A configuration that a document brings while it loads changes nothing beyond itself.
    // A preset holds an element for every group of the document; these are empty.
    const std::string path = scenario.folder.Child("config2.qm7");
    std::ofstream(path)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<QM-Seven><InputA/><InputB/><Output1/><Output2/><Output3/><Output4/><Output5/><Output6/>"
           "<preset><param name=\"CurrentConfig\" pid=\"9\" val=\"2\"/></preset></QM-Seven>\n";
    SCENARIO_CHECK(app.GetParamDoc()->Open(path.c_str()) == 0);
    SCENARIO_CHECK(app.GetCurrentConfig() == 2);
    SCENARIO_CHECK(OutputParam(1, "chFilterMode")->GetValue() == 8.0);
    SCENARIO_CHECK(OutputParam(5, "label")->GetText() == "FR 5");
    return failures;
}

int RunConfigurationWithUnitScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    DeviceCommWatcher& watcher = scenario.AttachWatcher();
    WatcherRig::RecordingConnection& connection = *scenario.connection;
    XParam* editMode = app.GetParam(QM7App::kGlobalEditModeId);
    const Sent reread{kCmdRequestAllParams, {}};

    // The unit is told the edit mode and the configuration, and read again a moment later.
    SetConfiguration(app, 0);
    SCENARIO_CHECK(
        (connection.Take() == std::vector<Sent>{IntegerValueFrame(8, 0), IntegerValueFrame(60, 0)}));
    std::vector<Sent> later;
    SCENARIO_CHECK(Scenario::RunUntil(
        [&]
        {
            for (const Sent& sent : connection.Take())
                later.push_back(sent);
            return !later.empty();
        }));
    SCENARIO_CHECK(later == std::vector<Sent>{reread});
    AnswerAllValues(watcher); // the maps are not built yet: no value changes

    // The free configuration switches the unit to full edit.
    SetConfiguration(app, 4);
    SCENARIO_CHECK(editMode->GetValue() == 1.0);
    SCENARIO_CHECK(
        (connection.Take() == std::vector<Sent>{IntegerValueFrame(60, 4), IntegerValueFrame(8, 1)}));
    SCENARIO_CHECK(Scenario::RunUntil([&] { return connection.Take() == std::vector<Sent>{reread}; }));

    // Without the unit nothing goes out and nothing is read again; the edit mode still follows.
    connection.connected.store(false);
    SetConfiguration(app, 2);
    SCENARIO_CHECK(editMode->GetValue() == 0.0);
    SetConfiguration(app, 4);
    SCENARIO_CHECK(editMode->GetValue() == 1.0);
    connection.connected.store(true);
    GuiTestSupport::RunLoopFor(300);
    SCENARIO_CHECK(connection.Take().empty());

    // While the watcher takes in everything (maps built, sending off) only the edit mode is sent.
    watcher.BuildWireIdMaps(true);
    watcher.SetSendingEnabled(false);
    SetConfiguration(app, 1);
    GuiTestSupport::RunLoopFor(300);
    SCENARIO_CHECK((connection.Take() == std::vector<Sent>{IntegerValueFrame(8, 0)}));

    // The application's sending switch is the watcher's; a send-all starts only with the unit there.
    app.EnableParamSending(true);
    SCENARIO_CHECK(watcher.IsSendingEnabled());
    connection.connected.store(false);
    app.SendAllParamsIfConnected();
    SCENARIO_CHECK(!app.GetSendAllJob()->IsRunning());
    connection.connected.store(true);
    app.SendAllParamsIfConnected();
    std::vector<Sent> sent;
    SCENARIO_CHECK(Scenario::RunUntil(
        [&]
        {
            for (const Sent& frame : connection.Take())
                sent.push_back(frame);
            return app.GetSendAllJob()->HasFinished();
        }));
    SCENARIO_CHECK(!sent.empty() && sent.front().command == kCmdBulkBracket);
    return failures;
}

int RunGeqScenario()
{
    int failures = 0;
    Scenario scenario;
    ChannelInput* inputA = GetInputChannel(0);
    XParam* maskA = Scenario::Param("InputA\\GEQBandBypassFlag");
    XParam* bypassA = Scenario::Param("InputA\\GEQBandBypass");
    XParam* maskB = Scenario::Param("InputB\\GEQBandBypassFlag");
    const auto band = [](ChannelInput* input, int index)
    { return input->GetParam(ChannelParamTables::kGeqBypassFirstId + index); };
    const auto mark = [](XParam* param, bool bypassed)
    {
        param->SetFlags(bypassed ? param->GetFlags() | kBypassedFlag : param->GetFlags() & ~kBypassedFlag);
        param->Notify(XMsgCode::kParamValueSet);
    };

    for (int index = 0; index < 31; ++index)
    {
        SCENARIO_CHECK((bypassA->GetFlags() & kBypassedFlag) == 0);
        mark(band(inputA, index), true);
    }
    SCENARIO_CHECK(maskA->GetValue() == kAllBands);
    SCENARIO_CHECK((bypassA->GetFlags() & kBypassedFlag) != 0);
    SCENARIO_CHECK(maskB->GetValue() == 0.0);
    mark(band(inputA, 5), false);
    SCENARIO_CHECK(maskA->GetValue() == kAllBands - 32);
    SCENARIO_CHECK((bypassA->GetFlags() & kBypassedFlag) == 0);

    // When every value has come, each band takes its input's bypass flag; its own bits stay.
    ChannelInput* inputB = GetInputChannel(1);
    XParam* bypassB = Scenario::Param("InputB\\GEQBandBypass");
    band(inputB, 3)->SetFlags(band(inputB, 3)->GetFlags() | XParamDesc::kFlagCopiedToOtherInput);
    bypassB->SetFlags(bypassB->GetFlags() | kBypassedFlag);
    scenario.app->PostCode(DeviceCommWatcher::kMsgAllValuesReceived);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return maskB->GetValue() == kAllBands; }));
    for (int index = 0; index < 31; ++index)
        SCENARIO_CHECK((band(inputB, index)->GetFlags() & kBypassedFlag) != 0);
    SCENARIO_CHECK((band(inputB, 3)->GetFlags() & XParamDesc::kFlagCopiedToOtherInput) != 0);
    SCENARIO_CHECK((band(inputB, 3)->GetFlags() & ChannelParamTables::kRegionInputGeq) != 0);
    SCENARIO_CHECK((band(inputA, 5)->GetFlags() & kBypassedFlag) == 0);
    SCENARIO_CHECK(maskA->GetValue() == 0.0);
    return failures;
}

int RunListenModeScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    XParam* listenMode = app.GetParam(QM7App::kListenModeId);
    XParam* button = app.GetParam(QM7App::kCompareEditDisplayButtonId);
    XParam* liveGain = OutputParam(1, "outputGain");
    XParam* compareGain = GetCompareOutputChannel(0)->GetParam(ChannelParamTables::kOutputGainId);
    XParam* liveDelay = OutputParam(2, "delayTime");
    XParam* compareDelay = GetCompareOutputChannel(1)->GetParam(ChannelParamTables::kOutputDelayId);
    XParam* liveColour = app.GetPresetParam(QM7App::kColorChanFirstId);
    XParam* compareColour = app.GetComparePresetParam(QM7App::kColorChanFirstId);
    SCENARIO_CHECK(button->GetValue() == 1.0);

    struct Case
    {
        double globalDirty, fromRecall, confirm;
        bool swaps;
    };
    const Case cases[] = {{1, 0, 1, true}, {0, 0, 1, false}, {1, 1, 1, false}, {1, 0, 0, false}};
    for (const Case& c : cases)
    {
        liveGain->SetValue(-20.0, true);
        compareGain->SetValue(-30.0, true);
        liveDelay->SetValue(5.0, true);
        compareDelay->SetValue(5.0, true);
        liveDelay->SetFlags(liveDelay->GetFlags() | kCompareDiffersFlag);
        liveColour->SetValue(0.0, true);
        compareColour->SetValue(3.0, true);
        app.GetParam(QM7App::kGlobalDirtyId)->SetValue(c.globalDirty, true);
        app.GetParam(QM7App::kGetAllFromRecallId)->SetValue(c.fromRecall, true);
        app.GetParam(QM7App::kConfirmChangeListenModeId)->SetValue(c.confirm, true);
        listenMode->SetValue(0.0, true);
        SCENARIO_CHECK(button->GetValue() == 0.0);
        SCENARIO_CHECK(liveGain->GetValue() == (c.swaps ? -30.0 : -20.0));
        SCENARIO_CHECK(compareGain->GetValue() == (c.swaps ? -20.0 : -30.0));
        SCENARIO_CHECK(((liveGain->GetFlags() & kCompareDiffersFlag) != 0) == c.swaps);
        SCENARIO_CHECK(((liveDelay->GetFlags() & kCompareDiffersFlag) != 0) == !c.swaps);
        SCENARIO_CHECK(liveColour->GetValue() == (c.swaps ? 3.0 : 0.0));
        SCENARIO_CHECK(!app.IsSyncing());
        listenMode->SetValue(1.0, true);
        SCENARIO_CHECK(button->GetValue() == 1.0);
        liveGain->SetFlags(liveGain->GetFlags() & ~kCompareDiffersFlag);
    }

    // 'cmp' saves the live values and the preset group into their compare twins.
    liveDelay->SetValue(7.0, true);
    app.GetPresetParam(GlobalParamTables::kProgramNameId)->SetText("Show", true);
    app.GetParam(QM7App::kGetAllFromRecallId)->SetValue(1.0, true);
    app.PostCode(QM7App::kMsgSyncCompare);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return compareDelay->GetValue() == 7.0; }));
    SCENARIO_CHECK(app.GetComparePresetParam(GlobalParamTables::kProgramNameId)->GetText() == "Show");
    SCENARIO_CHECK(app.GetParam(QM7App::kGetAllFromRecallId)->GetValue() == 0.0);
    return failures;
}

int RunEditLinksScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    SetConfiguration(app, 0); // outputs 1 and 4, 2 and 5 are linked
    XParam* inputAFreq = Scenario::Param("InputA\\HPFFreq");
    XParam* inputBFreq = Scenario::Param("InputB\\HPFFreq");
    inputAFreq->SetValue(100.0, true);
    OutputParam(1, "band1Gain")->SetValue(5.0, true);
    OutputParam(1, "outputMute")->SetValue(1.0, true);
    OutputParam(2, "delayTime")->SetValue(12.0, true);
    OutputParam(4, "source")->SetValue(0.0, true);

    app.ApplyStandardEditLinks(); // not asked for by the user: nothing
    SCENARIO_CHECK(inputBFreq->GetValue() != 100.0);
    SCENARIO_CHECK(OutputParam(4, "source")->GetValue() == 0.0);

    app.SetUserEditModeChange(true);
    app.ApplyStandardEditLinks();
    SCENARIO_CHECK(!app.IsUserEditModeChange());
    SCENARIO_CHECK(inputBFreq->GetValue() == 100.0);
    SCENARIO_CHECK(OutputParam(4, "source")->GetValue() == 1.0);
    SCENARIO_CHECK(OutputParam(4, "band1Gain")->GetValue() == 5.0);
    SCENARIO_CHECK(OutputParam(4, "outputMute")->GetValue() == 0.0);
    SCENARIO_CHECK(OutputParam(4, "linkedChannel")->GetValue() == 1.0);
    SCENARIO_CHECK(OutputParam(5, "delayTime")->GetValue() == 12.0);
    SCENARIO_CHECK(OutputParam(3, "delayTime")->GetValue() == 0.0);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return scenario.app->CountOf("linked leds") == 2; }));
    return failures;
}

int RunConfirmationScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    std::vector<std::string> titles;
    XDialogResult answer = XDialog::kOK;
    XDialog::SetAnswerHook(
        [&](XDialog& dialog)
        {
            titles.emplace_back(dialog.GetTitle().CStr());
            return answer;
        });

    SetConfiguration(app, 0);
    struct Case
    {
        bool userConfig, userEditMode;
        XDialogResult answer;
        bool configConfirmed, editModeConfirmed;
    };
    const Case cases[] = {
        {false, false, XDialog::kCancel, true, true},
        {true, true, XDialog::kOK, true, true},
        {true, true, XDialog::kCancel, false, false},
    };
    for (const Case& c : cases)
    {
        titles.clear();
        answer = c.answer;
        app.SetUserConfigChange(c.userConfig);
        app.SetUserEditModeChange(c.userEditMode);
        SCENARIO_CHECK(app.ConfirmConfigurationChange() == c.configConfirmed);
        SCENARIO_CHECK(app.ConfirmEditModeChange() == c.editModeConfirmed);
        const std::vector<std::string> asked =
            c.userConfig ? std::vector<std::string>{"configuration change", "edit mode change"}
                         : std::vector<std::string>{};
        SCENARIO_CHECK(titles == asked);
    }

    // The free configuration never asks about the edit mode; a refused configuration stays.
    titles.clear();
    answer = XDialog::kCancel;
    app.SetUserConfigChange(true);
    SCENARIO_CHECK(!app.GetPresetParam(QM7App::kCurrentConfigId)->ChangeValue(3, true));
    SCENARIO_CHECK(app.GetCurrentConfig() == 0);
    SetConfiguration(app, 4);
    app.SetUserEditModeChange(true);
    SCENARIO_CHECK(app.ConfirmEditModeChange());
    SCENARIO_CHECK((titles == std::vector<std::string>{"configuration change"}));
    XDialog::SetAnswerHook({});
    return failures;
}

int RunSlaveModeScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    scenario.AttachWatcher();
    XParam* masterSlave = app.GetParam(QM7App::kMasterSlaveModeId);
    XParam* contacts = app.GetParam(QM7App::kRS232OrContactsId);
    const int32_t watchers = masterSlave->GetWatcherCount();

    // Without the unit nothing waits.
    scenario.connection->connected.store(false);
    masterSlave->SetValue(1.0, true);
    contacts->SetValue(1.0, true);
    GuiTestSupport::RunLoopFor(300);
    SCENARIO_CHECK(GuiTestSupport::FindShowingWindow(MasterSlaveGuiThread::kTitle) == nullptr);
    contacts->SetValue(0.0, true);
    scenario.connection->connected.store(true);

    // With it, the progress window waits until the unit reports master again, on the link's reader
    // thread; a wait that ran out would leave an alert of the same title.
    bool shown = false;
    std::thread reader;
    GuiTestSupport::ModalDialogDriver driver(
        [&](juce::Component& modal)
        {
            if (modal.getName() != MasterSlaveGuiThread::kTitle)
                return false;
            shown = true;
            SCENARIO_CHECK(masterSlave->GetWatcherCount() == watchers + 1);
            reader = std::thread([masterSlave] { masterSlave->SetValue(0.0, true); });
            return true;
        });
    contacts->SetValue(1.0, true);
    SCENARIO_CHECK(Scenario::RunUntil(
        [&] { return shown && GuiTestSupport::FindShowingWindow(MasterSlaveGuiThread::kTitle) == nullptr; }));
    if (reader.joinable())
        reader.join();
    SCENARIO_CHECK(Scenario::RunUntil([&] { return masterSlave->GetWatcherCount() == watchers; }));
    SCENARIO_CHECK(contacts->GetWatcherCount() == 1);
    return failures;
}
} // namespace

TEST(QM7AppReactions, ConfigurationSetsUpTheOutputs)
{
    ChildScenario::ExpectPasses(RunConfigurationScenario);
}

TEST(QM7AppReactions, ConfigurationChangeTellsTheUnitAndReadsItAgain)
{
    ChildScenario::ExpectPasses(RunConfigurationWithUnitScenario);
}

TEST(QM7AppReactions, GraphicEqBypassMasksFollowTheBands)
{
    ChildScenario::ExpectPasses(RunGeqScenario);
}

TEST(QM7AppReactions, ListenModeSwapsLiveAndCompareWhenAsked)
{
    ChildScenario::ExpectPasses(RunListenModeScenario);
}

TEST(QM7AppReactions, StandardEditCopiesLinkedChannels)
{
    ChildScenario::ExpectPasses(RunEditLinksScenario);
}

TEST(QM7AppReactions, ConfirmationsAskOnlyAboutTheUsersOwnChanges)
{
    ChildScenario::ExpectPasses(RunConfirmationScenario);
}

TEST(QM7AppReactions, SlavedUnitWaitsInItsProgressWindow)
{
    ChildScenario::ExpectPasses(RunSlaveModeScenario);
}
