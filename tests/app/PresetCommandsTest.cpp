// The menu commands: their registration, the store, recall and save-all flows against the simulated
// unit (dialogs answered by the test), a recall that gets no answer, and the firmware update's host.

#include "AppScenario.h"
#include "app/AppFirmwareUpdateHost.h"
#include "app/PresetLocationDialog.h"
#include "app/QM7RecallCmd.h"
#include "app/QM7SaveAllUserPresetCmd.h"
#include "app/QM7StoreCmd.h"
#include "core/XCommandManager.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/FirmwareCommands.h"
#include "device/GlobalParamTables.h"
#include "device/PresetsManager.h"
#include "device/RequestPayloads.h"
#include "device/UsbLinkManager.h"
#include "device/UserPresetSavingMananger.h"
#include "gui/IFolderChooser.h"
#include "gui/XDocumentCmd.h"
#include "gui/XPopupMenu.h"
#include "gui/XYesNoCancelDialog.h"
#include "support/FrameBytes.h"
#include "support/SimUnitTest.h"
#include "support/gui/SkinTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace
{
using AppScenario::Scenario;
using FrameBytes::Sent;

constexpr int32_t kStoreMemLocationId = GlobalParamTables::kStoreMemLocationId;
constexpr int32_t kRecallMemLocationId = GlobalParamTables::kRecallMemLocationId;
constexpr int32_t kListenModeId = GlobalParamTables::kListenModeId;
constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
/** Input A's first band gain: the value that tells presets apart. */
constexpr int32_t kGainId = ChannelParamTables::kInputGainFirstId + 1;

Sent PresetFrame(int command, int number)
{
    TWMsgBuf payload;
    RequestPayloads::PresetNumber(payload, number);
    return {command, FrameBytes::Contents(payload)};
}

/** Answers every dialog as a test script says and records each as "class: title". The script gets
    the dialog and answers it (0 lets the dialog run, which a test never wants). */
class DialogScript final
{
public:
    using Answer = std::function<XDialogResult(XDialog&)>;

    DialogScript()
    {
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                auto* box = dynamic_cast<XOKDialog*>(&dialog);
                const std::string title = box != nullptr ? box->GetDialogTitle().CStr() : "";
                asked.push_back(std::string(dialog.GetClassNameText()) + ": " + title);
                auto found = answers.find(asked.back());
                return found != answers.end() ? found->second(dialog) : XDialog::kOK;
            });
    }
    ~DialogScript() { XDialog::SetAnswerHook({}); }

    /** How the dialog of that "class: title" is answered from now on (OK when not said). */
    void Set(const std::string& dialog, XDialogResult result)
    {
        answers[dialog] = [result](XDialog&) { return result; };
    }
    void SetAnswer(const std::string& dialog, Answer answer) { answers[dialog] = std::move(answer); }
    /** A location dialog: the drop-down's parameter takes location, then OK. */
    void SetLocation(const std::string& dialog, int location)
    {
        answers[dialog] = [location](XDialog& shown)
        {
            auto* locationDialog = dynamic_cast<PresetLocationDialog*>(&shown);
            if (locationDialog == nullptr || locationDialog->GetMenu() == nullptr)
                return XDialog::kCancel;
            locationDialog->GetMenu()->GetPot()->ChangeValue(location, true);
            return XDialog::kOK;
        };
    }
    std::vector<std::string> Take() { return std::exchange(asked, {}); }
    /** Runs the message loop until count dialogs were asked (or the wait ends); takes them. */
    std::vector<std::string> TakeAtLeast(size_t count)
    {
        std::vector<std::string> taken;
        Scenario::RunUntil(
            [&]
            {
                for (std::string& dialog : Take())
                    taken.push_back(std::move(dialog));
                return taken.size() >= count;
            });
        return taken;
    }

private:
    std::map<std::string, Answer> answers;
    std::vector<std::string> asked;
};

constexpr const char* kStoreDialog = "StorePresetDialog: Store Preset...";
constexpr const char* kRecallDialog = "RecallPresetDialog: Recall Preset...";
constexpr const char* kStoreFirst = "XYesNoCancelDialog: Store Preset...";
constexpr const char* kOverwrite = "XOKCancelDialog: Warning ";
constexpr const char* kNoConnection = "XOKDialog: No Connection...";

/** A folder choice that answers with a fixed folder (empty: cancelled) and records its question. */
class FixedFolderChooser final : public IFolderChooser
{
public:
    bool ChooseFolder(const XString& title, const XString& wildcard, XString& folder) override
    {
        asked.push_back(std::string(title.CStr()) + " " + wildcard.CStr() + " " + folder.CStr());
        if (answer.empty())
            return false;
        folder = answer.c_str();
        return true;
    }
    std::string answer;
    std::vector<std::string> asked;
};

bool RunCommand(QM7App& app, const char* name)
{
    XMessage request(XMsgCode::kRunCommand);
    request.AddString(XCommandManager::kCommandNameItem, name);
    return app.GetCommandManager()->RunCommand(name, request);
}

int RunRegistrationScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    app.RegisterCommands();
    app.RegisterCommands();

    struct Row
    {
        const char* name;
        const char* context;
        const char* shortcut;
        const char* title;
    };
    const Row rows[] = {
        {"newdocumentcmd", "File", "Ctrl + N", "New..."},
        {"opendocumentcmd", "File", "Ctrl + O", "Open..."},
        {"savedocumentcmd", "File", "Ctrl + S", "Save"},
        {"savedocumentascmd", "File", "Ctrl + Shift + S", "Save As..."},
        {"storepresetcmd", "File", "Ctrl + T", "Store Preset..."},
        {"recallpresetcmd", "File", "Ctrl + R", "Recall Preset..."},
        {"eraseflashuserpresetscmd", "Firmware", "", nullptr},
        {"storealluserpresetcmd", "File", "", "Saving User Preset Preset..."},
        {"enterbootloadercmd", "Firmware", "", nullptr},
        {"exitbootloadercmd", "Firmware", "", nullptr},
        {"eraseflashcmd", "Firmware", "", nullptr},
        {"uploaddspcmd", "Firmware", "", nullptr},
        {"uploadfactorypresetdatacmd", "Firmware", "", nullptr},
        {"uploadamplifierdatacmd", "Firmware", "", nullptr},
        {"uploadatmelcmd", "Firmware", "", nullptr},
    };
    XCommandManager* manager = app.GetCommandManager();
    int first = 0;
    while (first < manager->GetCommandCount() && manager->GetCommandAt(first)->GetName() != "newdocumentcmd")
        ++first;
    SCENARIO_CHECK(manager->GetCommandCount() == first + 15);
    for (int index = 0; index < 15 && first + index < manager->GetCommandCount(); ++index)
    {
        const Row& row = rows[index];
        XCommand* command = manager->GetCommandAt(first + index);
        const bool matches = command->GetName() == row.name && command->GetContext() == row.context &&
                             command->GetShortcutText() == row.shortcut &&
                             (row.title == nullptr || command->GetTitle() == row.title) &&
                             FindCommandByName(row.name) == command;
        if (!matches)
        {
            std::fprintf(stderr, "command %d: %s %s '%s' %s\n", index, command->GetName().CStr(),
                         command->GetContext().CStr(), command->GetShortcutText().CStr(),
                         command->GetTitle().CStr());
            ++failures;
        }
        if (auto* document = dynamic_cast<XDocumentCmd*>(command))
            SCENARIO_CHECK(document->GetDocumentType() == "qm7");
    }
    SCENARIO_CHECK(app.GetFirmwareCommands()->Find(FirmwareCommandSet::kUploadDsp) ==
                   FindCommandByName("UploadDSPCmd"));
    auto* saveAll = dynamic_cast<QM7SaveAllUserPresetCmd*>(FindCommandByName("StoreAllUserPresetCmd"));
    const std::string folder = saveAll != nullptr ? saveAll->GetFolder().CStr() : "";
    SCENARIO_CHECK(folder.size() > 8 && folder.compare(folder.size() - 8, 8, "/Presets") == 0);

    // Without a unit the keys and the commands only say so.
    DialogScript dialogs;
    FixedFolderChooser chooser;
    SetFolderChooser(&chooser);
    for (char key : {'t', 'r'})
    {
        SCENARIO_CHECK(app.keyPressed(juce::KeyPress(key, juce::ModifierKeys::ctrlModifier, 0), nullptr));
        SCENARIO_CHECK(dialogs.TakeAtLeast(1) == std::vector<std::string>{kNoConnection});
    }
    SCENARIO_CHECK(RunCommand(app, "StoreAllUserPresetCmd"));
    SCENARIO_CHECK(dialogs.Take() == std::vector<std::string>{kNoConnection});
    SCENARIO_CHECK(chooser.asked.empty());
    SetFolderChooser(nullptr);
    return failures;
}

/** A recall whose preset information never comes: the wait ends, says so and leaves the handler
    slot; the store's questions over the same silent unit. */
int RunSilentUnitScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    app.RegisterCommands();
    DeviceCommWatcher& watcher = scenario.AttachWatcher();
    SCENARIO_CHECK(SkinTestSupport::UseBuiltSkin()); // the start-up's skin folder
    DialogScript dialogs;

    // The store dialog's drop-down is bound to the store location and styled.
    bool styled = false;
    dialogs.SetAnswer(kStoreDialog,
                      [&](XDialog& dialog)
                      {
                          XPopupMenu* menu = dynamic_cast<PresetLocationDialog&>(dialog).GetMenu();
                          styled = menu != nullptr && menu->GetPot() == app.GetParam(kStoreMemLocationId) &&
                                   menu->GetMainImage() != nullptr &&
                                   menu->GetMainImage() == menu->GetSecondImage();
                          if (styled)
                              menu->GetPot()->ChangeValue(7, true);
                          return XDialog::kOK;
                      });
    PresetsManager::Instance().SetEntryInfo(6, "?", PresetsManager::kNoConfiguration);
    app.GetParam(kCurrentPresetId)->SetValue(5, false);
    app.GetParam(kListenModeId)->SetValue(1, false);
    scenario.connection->Take();
    SCENARIO_CHECK(RunCommand(app, QM7StoreCmd::kName));
    SCENARIO_CHECK(styled);
    SCENARIO_CHECK(dialogs.Take() == std::vector<std::string>{kStoreDialog});
    SCENARIO_CHECK(scenario.connection->Take() == std::vector<Sent>{PresetFrame(kCmdStorePreset, 7)});
    SCENARIO_CHECK(app.GetParam(kListenModeId)->GetValue() == 0.0);

    // A location that holds a preset is overwritten only after a Yes; No still ends the listen mode.
    PresetsManager::Instance().SetEntryInfo(4, "Stage left", 1);
    dialogs.SetLocation(kStoreDialog, 5);
    for (XDialogResult answer : {XDialog::kCancel, XDialog::kOK})
    {
        app.GetParam(kListenModeId)->SetValue(1, false);
        dialogs.Set(kOverwrite, answer);
        SCENARIO_CHECK(RunCommand(app, QM7StoreCmd::kName));
        SCENARIO_CHECK((dialogs.Take() == std::vector<std::string>{kStoreDialog, kOverwrite}));
        const std::vector<Sent> sent = scenario.connection->Take();
        SCENARIO_CHECK(sent == (answer == XDialog::kOK ? std::vector<Sent>{PresetFrame(kCmdStorePreset, 5)}
                                                       : std::vector<Sent>{}));
        SCENARIO_CHECK(app.GetParam(kListenModeId)->GetValue() == 0.0);
    }
    // Cancel in the store dialog sends nothing and leaves the listen mode.
    app.GetParam(kListenModeId)->SetValue(1, false);
    dialogs.Set(kStoreDialog, XDialog::kCancel);
    RunCommand(app, QM7StoreCmd::kName);
    SCENARIO_CHECK(scenario.connection->Take().empty());
    SCENARIO_CHECK(app.GetParam(kListenModeId)->GetValue() == 1.0);

    // The recall dialog starts at the current preset; the unit never answers.
    dialogs.Take();
    dialogs.Set(kRecallDialog, XDialog::kOK);
    SCENARIO_CHECK(RunCommand(app, QM7RecallCmd::kName));
    SCENARIO_CHECK(app.GetParam(kRecallMemLocationId)->GetValue() == 5.0);
    SCENARIO_CHECK((dialogs.Take() == std::vector<std::string>{kRecallDialog, std::string("XOKDialog: ") +
                                                                                  QM7RecallCmd::kTitle}));
    SCENARIO_CHECK(scenario.connection->Take() == std::vector<Sent>{PresetFrame(kCmdPresetInfo, 5)});
    SCENARIO_CHECK(watcher.GetPresetHandler() == nullptr);

    // A cancelled recall never takes the handler slot.
    dialogs.Set(kRecallDialog, XDialog::kCancel);
    RunCommand(app, QM7RecallCmd::kName);
    SCENARIO_CHECK(scenario.connection->Take().empty());
    SCENARIO_CHECK(watcher.GetPresetHandler() == nullptr);

    // Without a connection the recall after a store only says so, and clears the mark.
    scenario.connection->connected = false;
    watcher.SetRecallAfterStore(true);
    dialogs.Take();
    XMessage allIn(DeviceCommWatcher::kMsgAllValuesReceived);
    dynamic_cast<QM7RecallCmd*>(FindCommandByName(QM7RecallCmd::kName))->RecallAfterStore(&allIn);
    SCENARIO_CHECK(dialogs.Take() == std::vector<std::string>{kNoConnection});
    SCENARIO_CHECK(!watcher.IsRecallAfterStore());
    return failures;
}

/** The simulated unit in a folder of its own, its frame log, and the application's link to it. */
class SimUnit final : public SimUnitTest
{
public:
    SimUnit() { SimUnitTest::SetUp(); }
    ~SimUnit() override { SimUnitTest::TearDown(); }
    void TestBody() override {}

    /** Starts the unit (its clock as fast as the application's) and gives the application a
        watcher connected to it, its maps built and every value received. */
    bool Connect(QM7App& app)
    {
        ::setenv("KRX640_TIME_SCALE", juce::String(AppScenario::kTimeScale).toRawUTF8(), 1);
        const bool started = StartUnit();
        ::unsetenv("KRX640_TIME_SCALE");
        if (!started)
            return false;
        auto owned = std::make_unique<DeviceCommWatcher>(&connection);
        watcher = owned.get();
        app.SetDeviceWatcher(std::move(owned));
        if (connection.Open() != 0 || !Scenario::RunUntil([&] { return connection.IsConnected(); }))
            return false;
        watcher->SetAwaitingDeviceInfo(true);
        watcher->RequestDeviceInfo();
        if (!Scenario::RunUntil([&] { return !watcher->IsAwaitingDeviceInfo(); }))
            return false;
        watcher->BuildWireIdMaps(false);
        watcher->RequestAllParams();
        return WaitForAllValues();
    }
    void Disconnect(QM7App& app)
    {
        if (watcher != nullptr)
            watcher->DetachFromConnection();
        connection.Stop();
        app.SetDeviceWatcher(nullptr);
        watcher = nullptr;
    }

    /** Waits until no answer with every value is under way or waiting. */
    bool WaitForAllValues()
    {
        return Scenario::RunUntil([&]
                                  { return !watcher->IsReceivingAll() && !watcher->IsAllRequestWaiting(); });
    }
    size_t Count(int command) const { return UnitReceived(command).size(); }
    using SimUnitTest::UnitReceived;

    UsbLinkManager link;
    TWRPCUSBConnection connection{link};
    DeviceCommWatcher* watcher = nullptr; // the application's
};

int RunSimUnitScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    app.RegisterCommands();
    SCENARIO_CHECK(SkinTestSupport::UseBuiltSkin()); // the start-up's skin folder
    SimUnit unit;
    if (!unit.Connect(app))
    {
        std::fprintf(stderr, "the simulated unit could not be reached\n");
        unit.Disconnect(app);
        return 1;
    }
    DialogScript dialogs;
    XParam* gain = GetInputChannel(0)->GetParam(kGainId);
    PresetsManager& presets = PresetsManager::Instance();
    for (int index = 0; index < PresetsManager::kUserPresetCount; ++index)
        presets.SetEntryInfo(index, "?", PresetsManager::kNoConfiguration);
    const auto changeAndWaitForDirty = [&](double value)
    {
        gain->ChangeValue(value, true);
        return Scenario::RunUntil([&] { return app.IsGlobalDirty(); });
    };

    // Store the edited settings into the empty slot 3: no overwrite question; the unit reads back.
    SCENARIO_CHECK(changeAndWaitForDirty(5.0));
    dialogs.SetLocation(kStoreDialog, 3);
    SCENARIO_CHECK(RunCommand(app, QM7StoreCmd::kName));
    SCENARIO_CHECK(dialogs.Take() == std::vector<std::string>{kStoreDialog});
    SCENARIO_CHECK(Scenario::RunUntil([&] { return unit.Count(kCmdStorePreset) == 1; }));
    SCENARIO_CHECK(unit.UnitReceived(kCmdStorePreset).back() == PresetFrame(kCmdStorePreset, 3));
    SCENARIO_CHECK(Scenario::RunUntil([&] { return !app.IsGlobalDirty(); }));
    SCENARIO_CHECK(unit.WaitForAllValues());

    // Recall it over unsaved changes without storing them first: the editor shows the unit's values.
    SCENARIO_CHECK(changeAndWaitForDirty(7.0));
    dialogs.Set(kStoreFirst, XDialog::kNo);
    dialogs.SetLocation(kRecallDialog, 3);
    size_t recalls = unit.Count(kCmdRecallPreset);
    SCENARIO_CHECK(RunCommand(app, QM7RecallCmd::kName));
    SCENARIO_CHECK(Scenario::RunUntil([&] { return gain->GetValue() == 5.0; }));
    SCENARIO_CHECK((dialogs.Take() == std::vector<std::string>{kStoreFirst, kRecallDialog}));
    SCENARIO_CHECK(unit.UnitReceived(kCmdPresetInfo).back() == PresetFrame(kCmdPresetInfo, 3));
    SCENARIO_CHECK(unit.Count(kCmdRecallPreset) == recalls + 1);
    SCENARIO_CHECK(unit.WaitForAllValues());

    // Store first: the recall dialog comes back once the unit's data is in again; cancelling it
    // leaves the next preset information to the application.
    SCENARIO_CHECK(changeAndWaitForDirty(-2.0));
    dialogs.Set(kStoreFirst, XDialog::kOK);
    dialogs.SetLocation(kStoreDialog, 4);
    dialogs.Set(kRecallDialog, XDialog::kCancel);
    const size_t stores = unit.Count(kCmdStorePreset);
    SCENARIO_CHECK(RunCommand(app, QM7RecallCmd::kName));
    SCENARIO_CHECK((dialogs.Take() == std::vector<std::string>{kStoreFirst, kStoreDialog}));
    SCENARIO_CHECK(Scenario::RunUntil([&] { return scenario.app->CountOf("recall after store") == 1; }));
    SCENARIO_CHECK(dialogs.Take() == std::vector<std::string>{kRecallDialog});
    SCENARIO_CHECK(unit.Count(kCmdStorePreset) == stores + 1);
    SCENARIO_CHECK(!unit.watcher->IsRecallAfterStore());
    SCENARIO_CHECK(unit.watcher->GetPresetHandler() == nullptr);
    recalls = unit.Count(kCmdRecallPreset);
    unit.watcher->RequestPresetInfo(4);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return scenario.app->CountOf("preset info 4") == 1; }));
    SCENARIO_CHECK(unit.WaitForAllValues());

    // An empty preset is not recalled; one of another configuration only after a Yes.
    const int otherConfigPreset = 21 + (app.GetCurrentConfig() + 1) % 7;
    struct Case
    {
        int preset;
        XDialogResult configAnswer;
        std::vector<std::string> asked;
        bool recalled;
    };
    const Case cases[] = {
        {6, XDialog::kOK, {kRecallDialog, "XOKDialog: Empty Preset..."}, false},
        {otherConfigPreset,
         XDialog::kCancel,
         {kRecallDialog, "XOKCancelDialog: configuration change"},
         false},
        {otherConfigPreset, XDialog::kOK, {kRecallDialog, "XOKCancelDialog: configuration change"}, true},
    };
    for (const Case& c : cases)
    {
        dialogs.SetLocation(kRecallDialog, c.preset);
        dialogs.Set("XOKCancelDialog: configuration change", c.configAnswer);
        recalls = unit.Count(kCmdRecallPreset);
        app.SetUserConfigChange(true);
        SCENARIO_CHECK(RunCommand(app, QM7RecallCmd::kName));
        SCENARIO_CHECK(dialogs.TakeAtLeast(c.asked.size()) == c.asked);
        SCENARIO_CHECK(unit.WaitForAllValues());
        if (c.recalled)
            SCENARIO_CHECK(Scenario::RunUntil([&] { return unit.Count(kCmdRecallPreset) == recalls + 1; }));
        else
            SCENARIO_CHECK(unit.Count(kCmdRecallPreset) == recalls);
        if (c.preset == otherConfigPreset)
            SCENARIO_CHECK(!app.IsUserConfigChange());
    }
    SCENARIO_CHECK(
        Scenario::RunUntil([&] { return app.GetCurrentConfig() == (otherConfigPreset - 21) % 7; }));

    // Save all user presets: the two stored ones become files, and every value is read again.
    TestSupport::TempFolder saved;
    FixedFolderChooser chooser;
    chooser.answer = saved.Path();
    SetFolderChooser(&chooser);
    const size_t rereads = unit.Count(kCmdRequestAllParams);
    SCENARIO_CHECK(RunCommand(app, QM7SaveAllUserPresetCmd::kName));
    SCENARIO_CHECK(chooser.asked.size() == 1 && chooser.asked[0].rfind("Browse for folder *.* ", 0) == 0);
    for (int number : {3, 4})
        SCENARIO_CHECK(
            juce::File(saved.Child(UserPresetSavingMananger::FileNameFor(number).CStr())).existsAsFile());
    SCENARIO_CHECK(!juce::File(saved.Child(UserPresetSavingMananger::FileNameFor(5).CStr())).exists());
    SCENARIO_CHECK(Scenario::RunUntil([&] { return unit.Count(kCmdRequestAllParams) >= rereads + 2; }));
    SetFolderChooser(nullptr);

    unit.Disconnect(app);
    return failures;
}

/** The firmware update's host reads the firmware dialog's parameters, writes the preset document
    and follows the application's watcher. */
int RunUpdateHostScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App& app = *scenario.app;
    AppFirmwareUpdateHost& host = app.GetFirmwareUpdateHost();
    SCENARIO_CHECK(host.GetWatcher() == nullptr && !host.IsUnitConnected());
    DeviceCommWatcher& watcher = scenario.AttachWatcher();
    SCENARIO_CHECK(host.GetWatcher() == &watcher && host.IsUnitConnected());

    app.GetParam(GlobalParamTables::kSaveUserPresetId)->SetValue(1, false);
    app.GetParam(GlobalParamTables::kSaveUserPresetPathId)->SetText("/tmp/kept presets", false);
    SCENARIO_CHECK(host.GetSaveUserPreset() == 1);
    SCENARIO_CHECK(host.GetSaveUserPresetPath() == "/tmp/kept presets");
    SCENARIO_CHECK(host.IsEmptyPresetName("?  ") && !host.IsEmptyPresetName("Main"));
    const std::string file = scenario.folder.Child("User Preset _1.qm7");
    SCENARIO_CHECK(host.SavePresetFile(file.c_str()) && juce::File(file).getSize() > 0);
    SCENARIO_CHECK(!host.SavePresetFile(scenario.folder.Child("missing/sub/x.qm7").c_str()));

    // A message from the update's thread is shown on the GUI thread.
    DialogScript dialogs;
    std::thread job([&]
                    { host.ShowMessage("No Connection...", "There is no unit connected at this time."); });
    job.join();
    SCENARIO_CHECK(
        Scenario::RunUntil([&] { return dialogs.Take() == std::vector<std::string>{kNoConnection}; }));

    app.SetDeviceWatcher(nullptr);
    SCENARIO_CHECK(host.GetWatcher() == nullptr);
    return failures;
}
} // namespace

TEST(PresetCommands, RegisteredInMenuOrderAndSayWhenNoUnitIsConnected)
{
    ChildScenario::ExpectPasses(RunRegistrationScenario);
}

TEST(PresetCommands, StoreAsksBeforeOverwritingAndRecallGivesUpOnASilentUnit)
{
    ChildScenario::ExpectPasses(RunSilentUnitScenario);
}

TEST(PresetCommands, StoreRecallAndSaveAllAgainstTheSimulatedUnit)
{
    ChildScenario::ExpectPasses(RunSimUnitScenario);
}

TEST(PresetCommands, UpdateHostServesTheApplicationsHalf)
{
    ChildScenario::ExpectPasses(RunUpdateHostScenario);
}
