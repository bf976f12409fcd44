// The editor's start-up, connect hand-shake, idle pulse and quit, as the program runs them: the whole
// start-up in a child process (see core/ChildScenario.h) on the simulated unit of the test's own
// device folder, with every dialog answered through the dialogs' answer hook.

#include "AppScenario.h"
#include "app/FrontPanelDisplay.h"
#include "app/UploadPresetDialog.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/PresetsManager.h"
#include "device/UsbLinkManager.h"
#include "device/UsbUnitPeer.h"
#include "device/XParamDoc.h"
#include "files/FileDialogChooser.h"
#include "files/XVolumeManager.h"
#include "gui/XDialog.h"
#include "gui/XDocumentCmd.h"
#include "gui/XOKDialog.h"
#include "support/SimUnitTest.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
constexpr const char* kQuitTitle = "Quit KRX-640 Editor?";
/** The unit's commands the hand-shake and the quit send. */
constexpr int kGreetingCommand = 3;
constexpr int kParamIdCommand = 6;
constexpr int kRequestAllCommand = 7;
constexpr int kCommand12 = 12;
constexpr int kPresetInfoCommand = 13;
constexpr int kBulkBracketCommand = 21;
constexpr int kSetValueCommand = 5;
/** Input A's first band gain: a value the unit keeps and the editor shows. */
constexpr int32_t kInputGainId = ChannelParamTables::kInputGainFirstId + 1;
constexpr double kEditorsGain = 7.5;
/** A few pulses' time, to see that something does not happen again. */
constexpr int kSettleMs = 300;

/** One dialog as it was asked. */
struct Asked
{
    std::string title;
    std::string text;
    std::string kind;
};

/** The editor as the program starts it, with its quit requests to the toolkit, its status texts and
    its presets-list clean-ups recorded. */
class StartupApp final : public QM7App
{
public:
    int quits = 0;
    int presetListClears = 0;

    std::vector<std::string> Statuses()
    {
        std::lock_guard<std::mutex> hold(statusLock);
        return statuses;
    }
    void SetStatusText(const XString& text) override
    {
        {
            std::lock_guard<std::mutex> hold(statusLock);
            statuses.emplace_back(text.CStr());
        }
        QM7App::SetStatusText(text);
    }

protected:
    void RequestToolkitQuit() override { ++quits; }
    void ClearPresetList(bool keep) override
    {
        presetListClears += keep ? 0 : 1;
        QM7App::ClearPresetList(keep);
    }

private:
    std::mutex statusLock; // guards statuses: the jobs' threads set status texts too
    std::vector<std::string> statuses;
};

/** The child's side of a scenario: the dialogs answered by a script and recorded, the editor
    started and ended as JUCE's runner would. */
class StartupTest : public SimUnitTest
{
protected:
    using Script = std::function<XDialogResult(const Asked&)>;

    void SetUp() override
    {
        SimUnitTest::SetUp();
        settings = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", folder.Path());
        SetAppLogFolder(folder.Path().c_str());
        SetLogLevel(5);
    }
    void TearDown() override
    {
        XDialog::SetAnswerHook({});
        settings.reset();
        SimUnitTest::TearDown();
    }

    /** Runs body in a child process and ends the unit there afterwards: a unit left running would
        keep the child's report pipe open and the parent waiting. */
    void ExpectPasses(const std::function<int()>& body)
    {
        ChildScenario::ExpectPasses(
            [this, body]
            {
                const int failures = body();
                StopUnit();
                return failures;
            });
    }

    /** Starts the unit and waits for its pipes. */
    bool StartUnitAndWait(const juce::StringArray& options = {})
    {
        return StartUnit(options) && WaitForPipes();
    }
    bool WaitForPipes() const
    {
        const std::string unit = folder.Child(kUnitName);
        return TestSupport::WaitUntil(
            [&] {
                return std::filesystem::exists(unit + "/PIPE00") && std::filesystem::exists(unit + "/PIPE01");
            },
            kWaitMs);
    }

    /** Answers the dialogs by script from now on. */
    void AnswerBy(Script answers)
    {
        script = std::move(answers);
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                Asked asked{"", "", dialog.GetClassNameText()};
                if (auto* box = dynamic_cast<XOKDialog*>(&dialog))
                {
                    asked.title = box->GetDialogTitle().CStr();
                    asked.text = box->GetText().CStr();
                }
                dialogs.push_back(asked);
                return script(asked);
            });
    }

    /** The whole start-up, as JUCE's runner starts the program. */
    void StartEditor()
    {
        app = new StartupApp();
        app->initialise("");
    }
    void EndEditor()
    {
        app->shutdown();
        delete app;
        app = nullptr;
        juce::shutdownJuce_GUI();
    }

    int CountDialogs(const std::string& title) const
    {
        int count = 0;
        for (const Asked& asked : dialogs)
            count += asked.title == title ? 1 : 0;
        return count;
    }
    static XParam* Param(const char* path) { return FindParam("%s", path); }
    static double Value(const char* path) { return Param(path)->GetValue(); }
    bool UnitGot(int command, size_t count = 1) const
    {
        return TestSupport::WaitUntil([&] { return UnitReceived(command).size() >= count; }, kWaitMs);
    }

    std::unique_ptr<ScopedEnvironment> settings;
    Script script;
    std::vector<Asked> dialogs;
    StartupApp* app = nullptr;
};

XDialogResult AnswerConnect(const Asked& asked, XDialogResult connect, XDialogResult quit)
{
    if (asked.title == kQuitTitle)
        return quit;
    return asked.title == QM7App::kConnectTitle ? connect : XDialog::kCancel;
}
} // namespace

TEST_F(StartupTest, WithoutAUnitTheEditorStartsOfflineInTheFreeConfigurationAndSaysSoOnce)
{
    ExpectPasses(
        [this]
        {
            int failures = 0;
            AnswerBy([](const Asked&) { return XDialog::kOK; });
            StartEditor();
            SCENARIO_CHECK(dialogs.size() == 1);
            SCENARIO_CHECK(CountDialogs(QM7App::kNoHardwareTitle) == 1);
            SCENARIO_CHECK(!dialogs.empty() && dialogs[0].text == QM7App::kNoHardwareText);
            const std::vector<std::string> statuses = app->Statuses();
            SCENARIO_CHECK(!statuses.empty() && statuses.back() == QM7App::kNoConnectionStatus);
            SCENARIO_CHECK(Value("QM7\\enableChannelLinking") == 1.0);
            SCENARIO_CHECK(Value("preset\\CurrentConfig") == 4.0);
            SCENARIO_CHECK(Value("QM7\\usbActive") == 0.0);
            SCENARIO_CHECK(!app->GetParamDoc()->IsModified());
            for (int output = 1; output <= 6; ++output)
            {
                SCENARIO_CHECK(QM7App::FindOutputParam(output, "outputGain")->GetValue() == -100.0);
                SCENARIO_CHECK(QM7App::FindOutputParam(output, "chFilterMode")->GetValue() == 8.0);
                XString label;
                label.Format("FR %d", output);
                SCENARIO_CHECK(QM7App::FindOutputParam(output, "label")->GetText() == label);
            }
            SCENARIO_CHECK(GetCompareOutputChannel(5) != nullptr && GetCompareInputChannel(1) != nullptr);
            SCENARIO_CHECK(!app->IsHandshakeDone());
            // The file layer serves the drive changes and the framework's file dialogs.
            SCENARIO_CHECK(app->GetVolumeUpdater() == &XVolumeManager::GetInstance());
            SCENARIO_CHECK(XDocumentCmd::GetFileChooser() == &FileDialogChooser::Instance());
            EndEditor();
            return failures;
        });
}

TEST_F(StartupTest, TakingTheUnitsDataReadsItsPresetsAndValuesAndThePulseMarksThePresetDirty)
{
    ExpectPasses(
        [this]
        {
            int failures = 0;
            SCENARIO_CHECK(StartUnitAndWait());
            AnswerBy(
                [](const Asked& asked)
                {
                    if (asked.title == QM7App::kConnectTitle)
                        GetInputChannel(0)->GetParam(kInputGainId)->SetValue(kEditorsGain, true);
                    return AnswerConnect(asked, XDialog::kOK, XDialog::kCancel);
                });
            StartEditor();
            SCENARIO_CHECK(CountDialogs(QM7App::kConnectTitle) == 1);
            SCENARIO_CHECK(CountDialogs(QM7App::kNoHardwareTitle) == 0);
            SCENARIO_CHECK(app->IsHandshakeDone());
            SCENARIO_CHECK(Value("QM7\\usbActive") == 1.0);
            SCENARIO_CHECK(UnitGot(kGreetingCommand) && UnitGot(kCommand12) && UnitGot(kRequestAllCommand));
            SCENARIO_CHECK(UnitReceived(kPresetInfoCommand).size() >= 80);
            // The 60 factory presets came with their names.
            XString name;
            int32_t flags = 0;
            SCENARIO_CHECK(PresetsManager::Instance().GetPresetEntry(20, &name, &flags) && !name.IsEmpty());
            // The unit's values are shown: the editor's own change is gone.
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil(
                [] { return GetInputChannel(0)->GetParam(kInputGainId)->GetValue() != kEditorsGain; }));

            SCENARIO_CHECK(app->GetMainWindow() != nullptr && app->GetMainWindow()->isShowing());
            if (XView* window = app->GetMainWindow())
                GuiTestSupport::TakeScreenshot(*window, "editor-started-on-unit");

            // The display's mark of unsaved changes reaches presetDirty within a second or so.
            app->DrawDisplayColumn(QM7App::kDirtyMarkFirstRow, 184, 0x40);
            app->RepaintDisplay();
            SCENARIO_CHECK(app->IsPresetDirty());
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil([] { return Value("QM7\\presetDirty") == 1.0; }));
            app->DrawDisplayColumn(QM7App::kDirtyMarkFirstRow, 184, 0);
            app->RepaintDisplay();
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil([] { return Value("QM7\\presetDirty") == 0.0; }));

            // Ctrl+Q's request, answered No: nothing is sent and the editor stays.
            const size_t greetings = UnitReceived(kGreetingCommand).size();
            app->PostCode(XMsgCode::kQuitApplication);
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil([&] { return CountDialogs(kQuitTitle) == 1; }));
            SCENARIO_CHECK(app->quits == 0);
            SCENARIO_CHECK(UsbLinkManager::Instance().IsConnected());
            // Answered Yes: "quitting...", the goodbye, the link closed, then the toolkit quits.
            script = [](const Asked&) { return XDialog::kOK; };
            app->PostCode(XMsgCode::kQuitApplication);
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil([&] { return app->quits == 1; }));
            SCENARIO_CHECK(app->Statuses().back() == QM7App::kQuittingStatus);
            SCENARIO_CHECK(UnitGot(kGreetingCommand, greetings + 1));
            SCENARIO_CHECK(!UsbLinkManager::Instance().IsConnected());
            EndEditor();
            // The shutdown's goodbye found the link closed and sent nothing more.
            SCENARIO_CHECK(UnitReceived(kGreetingCommand).size() == greetings + 1);
            return failures;
        });
}

TEST_F(StartupTest, SendingTheEditorsDataSendsGlobalDirtyAndEveryParameter)
{
    ExpectPasses(
        [this]
        {
            int failures = 0;
            SCENARIO_CHECK(StartUnitAndWait());
            AnswerBy([](const Asked& asked) { return AnswerConnect(asked, XDialog::kNo, XDialog::kCancel); });
            StartEditor();
            SCENARIO_CHECK(app->IsHandshakeDone());
            SCENARIO_CHECK(UnitGot(kParamIdCommand) && UnitGot(kBulkBracketCommand, 2));
            SCENARIO_CHECK(UnitReceived(kSetValueCommand).size() > 400);
            SCENARIO_CHECK(UnitReceived(kRequestAllCommand).empty());
            EndEditor();
            return failures;
        });
}

// How each kind of unit's connect dialog ends: the normal unit's "Quit" and the locked-out unit's
// No ask whether to quit; the slaved unit's Ok quits without asking.
TEST_F(StartupTest, TheConnectDialogsLeadToTheQuitQuestionOrQuitAtOnce)
{
    struct Case
    {
        const char* mode;
        const char* dialogKind;
        XDialogResult answer;
        int quitQuestions;
    };
    const Case cases[] = {
        {"normal", "UploadPresetDialog", XDialog::kCancel, 1},
        {"locked", "UploadPresetDialog", XDialog::kCancel, 1},
        {"slave", "XOKDialog", XDialog::kOK, 0},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.mode);
        ExpectPasses(
            [this, test]
            {
                int failures = 0;
                juce::StringArray options;
                if (std::string(test.mode) != "normal")
                    options.addArray({"--mode", test.mode});
                SCENARIO_CHECK(StartUnitAndWait(options));
                AnswerBy([&](const Asked& asked)
                         { return AnswerConnect(asked, test.answer, XDialog::kCancel); });
                StartEditor();
                SCENARIO_CHECK(dialogs.size() >= 1 && dialogs[0].kind == test.dialogKind);
                if (test.quitQuestions > 0)
                {
                    SCENARIO_CHECK(
                        AppScenario::Scenario::RunUntil([&] { return CountDialogs(kQuitTitle) == 1; }));
                    SCENARIO_CHECK(app->quits == 0);
                }
                else
                {
                    SCENARIO_CHECK(app->quits == 1);
                    SCENARIO_CHECK(CountDialogs(kQuitTitle) == 0);
                }
                EndEditor();
                return failures;
            });
    }
}

// An outdated unit (whose update then fails in its bootloader) and a unit that never answers the
// device info: no connect dialog; the next pulse offers the update once, with link supervision off
// around it.
TEST_F(StartupTest, AnOutdatedOrSilentUnitIsOfferedTheFirmwareUpdateByThePulse)
{
    for (const bool silent : {false, true})
    {
        SCOPED_TRACE(silent ? "silent" : "outdated");
        ExpectPasses(
            [this, silent]
            {
                int failures = 0;
                std::unique_ptr<UsbUnitPeer> peer;
                std::thread peerConnect;
                if (silent)
                {
                    peer = std::make_unique<UsbUnitPeer>(folder.Path(), kUnitName);
                    peerConnect = std::thread([&] { peer->ConnectOutgoing(kWaitMs); });
                }
                else
                {
                    SCENARIO_CHECK(
                        StartUnitAndWait({"--firmware-version", "42010300", "--fail-at", "command:1:nak"}));
                }
                std::vector<bool> supervisedAtOffer;
                AnswerBy(
                    [&](const Asked& asked)
                    {
                        if (asked.title != QM7App::kFirmwareTitle)
                            return XDialog::kOK;
                        supervisedAtOffer.push_back(UsbLinkManager::Instance().IsAutoReconnect());
                        return silent ? XDialog::kCancel : XDialog::kOK;
                    });
                StartEditor();
                if (peerConnect.joinable())
                    peerConnect.join();
                SCENARIO_CHECK(CountDialogs(QM7App::kConnectTitle) == 0);
                SCENARIO_CHECK(CountDialogs(QM7App::kNoHardwareTitle) == 0);
                SCENARIO_CHECK(!app->IsHandshakeDone());
                SCENARIO_CHECK(Value("QM7\\usbActive") == (silent ? 0.0 : 1.0));
                SCENARIO_CHECK(AppScenario::Scenario::RunUntil(
                    [&] {
                        return CountDialogs(silent ? QM7App::kFirmwareTitle : QM7App::kFirmwareErrorTitle) ==
                               1;
                    }));
                SCENARIO_CHECK(supervisedAtOffer == std::vector<bool>{false});
                if (!silent)
                {
                    const std::string& error = dialogs.back().text;
                    SCENARIO_CHECK(
                        error.size() > std::string(QM7App::kFirmwareErrorAdvice).size() &&
                        error.compare(error.size() - std::string(QM7App::kFirmwareErrorAdvice).size(),
                                      std::string::npos, QM7App::kFirmwareErrorAdvice) == 0);
                }
                SCENARIO_CHECK(UsbLinkManager::Instance().IsAutoReconnect());
                GuiTestSupport::RunLoopFor(kSettleMs);
                SCENARIO_CHECK(CountDialogs(QM7App::kFirmwareTitle) == 1);
                EndEditor();
                return failures;
            });
    }
}

TEST_F(StartupTest, AUnitThatGoesAndComesBackIsCleanedUpOnceAndGreetedAgain)
{
    ExpectPasses(
        [this]
        {
            int failures = 0;
            SCENARIO_CHECK(StartUnitAndWait({"--meters"}));
            AnswerBy([](const Asked& asked) { return AnswerConnect(asked, XDialog::kOK, XDialog::kCancel); });
            StartEditor();
            SCENARIO_CHECK(CountDialogs(QM7App::kConnectTitle) == 1);
            XParam* meter = GetInputChannel(0)->GetParam(ChannelParamTables::kInputMeterId);
            SCENARIO_CHECK(
                AppScenario::Scenario::RunUntil([&] { return meter->GetValue() > meter->GetMin(); }));

            StopUnit();
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil(
                [&] { return Value("QM7\\usbActive") == 0.0 && meter->GetValue() == meter->GetMin(); }));
            SCENARIO_CHECK(app->presetListClears == 1);
            SCENARIO_CHECK(!app->GetDeviceWatcher()->AreMapsBuilt());

            SCENARIO_CHECK(StartUnitAndWait({"--meters"}));
            SCENARIO_CHECK(AppScenario::Scenario::RunUntil(
                [&] { return CountDialogs(QM7App::kConnectTitle) == 2 && app->IsHandshakeDone(); }));
            const std::vector<std::string> statuses = app->Statuses();
            SCENARIO_CHECK(std::find(statuses.begin(), statuses.end(), QM7App::kConnectingStatus) !=
                           statuses.end());
            SCENARIO_CHECK(app->presetListClears == 1);
            SCENARIO_CHECK(Value("QM7\\usbActive") == 1.0);
            EndEditor();
            return failures;
        });
}

namespace
{
/** The program as it runs, asked to quit as soon as it has started. */
class QuitAfterStartApp final : public QM7App
{
public:
    bool StartApp() override
    {
        const bool started = QM7App::StartApp();
        PostCode(XMsgCode::kQuitApplication);
        return started;
    }
};
} // namespace

TEST_F(StartupTest, QuittingEndsTheProgramWithExitCode0AndEveryThreadJoined)
{
    ExpectPasses(
        [this]
        {
            int failures = 0;
            SCENARIO_CHECK(StartUnitAndWait());
            AnswerBy([](const Asked& asked) { return AnswerConnect(asked, XDialog::kOK, XDialog::kOK); });
            juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
            { return new QuitAfterStartApp(); };
            const char* arguments[] = {"KRX-640"};
            const int result = juce::JUCEApplicationBase::main(1, arguments);
            // The test program's own JUCE initialiser keeps JUCE up past the runner's, so JUCE is
            // shut down here as the program's main would at its end: that ends the timer thread,
            // which would otherwise still run while the exit's static destructors go.
            juce::shutdownJuce_GUI();
            SCENARIO_CHECK(result == 0);
            SCENARIO_CHECK(CountDialogs(kQuitTitle) == 1);
            SCENARIO_CHECK(UnitGot(kGreetingCommand, 2));
            const juce::String log = juce::File(folder.Child("log.txt")).loadFileAsString();
            SCENARIO_CHECK(log.contains("All Modules Exited."));
            SCENARIO_CHECK(!log.contains("is still running"));
            return failures;
        });
}
