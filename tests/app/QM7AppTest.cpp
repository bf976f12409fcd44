// The application object: its groups and tables, its accessors, its registration as the application
// services, and the device watcher's messages reaching its handlers.

#include "AppScenario.h"
#include "app/FrontPanelDisplay.h"
#include "core/FloatParam.h"
#include "core/IAppServices.h"
#include "core/XCommand.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/DeviceCommand.h"
#include "device/GlobalParamTables.h"
#include "device/PresetsManager.h"
#include "device/RegionsManager.h"
#include "device/XParamDoc.h"
#include "files/XFileManager.h"
#include "files/XListView.h"
#include "gui/XImage.h"
#include "widgets/XSlider.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace
{
using AppScenario::Scenario;

std::string ReadFile(const std::string& path)
{
    std::ifstream stream(path);
    std::stringstream text;
    text << stream.rdbuf();
    return text.str();
}

int RunModelScenario()
{
    int failures = 0;
    {
        Scenario scenario;
        QM7App* app = scenario.app;
        SCENARIO_CHECK(QM7App::GetInstance() == app);
        SCENARIO_CHECK(&GetAppServices() == static_cast<IAppServices*>(app));

        // The version, by value and as the global text parameter.
        SCENARIO_CHECK(app->GetVersionString() == "1.4.0");
        SCENARIO_CHECK(app->getApplicationVersion() == "1.4.0");
        XParam* version = Scenario::Param("global\\VersionStr");
        SCENARIO_CHECK(version != nullptr && version->GetText() == "1.4.0");

        // Every table under its prefix, the channel groups and their twins.
        for (const char* path :
             {"QM7\\Status", "QM7\\displayloading", "QM7_KOVA\\MSState", "QM7_KOVA\\globalVuMode",
              "global\\Temp", "global\\GlobalDirty", "preset\\CurrentConfig", "presetComapreMode\\ColorChan6",
              "QM7_slave\\slavedChanConfig", "InputB\\GEQBandBypassFlag", "Output6\\label",
              "CompreInputChannel2\\delayTime", "CompreOutputChannel6\\outputGain"})
        {
            if (Scenario::Param(path) == nullptr)
            {
                std::fprintf(stderr, "missing %s\n", path);
                ++failures;
            }
        }
        SCENARIO_CHECK(app->GetPresetParam(QM7App::kCurrentConfigId) ==
                       Scenario::Param("preset\\CurrentConfig"));
        SCENARIO_CHECK(app->GetComparePresetParam(QM7App::kCurrentConfigId) ==
                       Scenario::Param("presetComapreMode\\CurrentConfig"));
        SCENARIO_CHECK(app->GetSlaveParam(GlobalParamTables::kSlavedChanConfigId) ==
                       Scenario::Param("QM7_slave\\slavedChanConfig"));
        SCENARIO_CHECK(GetAppServices().GetPresetGroup() == app->GetPresetGroup());
        SCENARIO_CHECK(app->GetCurrentConfig() == 4);
        SCENARIO_CHECK(QM7App::FindOutputParam(3, "label") == Scenario::Param("Output3\\label"));
        SCENARIO_CHECK(QM7App::FindOutputParam(7, "label") == nullptr);
        SCENARIO_CHECK(static_cast<XParam*>(GetInputChannel(1)->GetSelector()) ==
                       app->GetParam(QM7App::kToolbarABId));

        // An id no group holds: a usable stand-in that reads 0 at every hand-out, and a log line.
        XParam* missing = app->GetParam(999);
        SCENARIO_CHECK(missing != nullptr && missing->GetValue() == 0.0);
        missing->SetValue(0.5, false);
        SCENARIO_CHECK(app->GetParam(999)->GetValue() == 0.0);
        for (XParam* standIn :
             {app->GetPresetParam(999), app->GetComparePresetParam(999), app->GetSlaveParam(999)})
            SCENARIO_CHECK(standIn != nullptr && standIn != missing && standIn->GetValue() == 0.0);
        SCENARIO_CHECK(ReadFile(scenario.folder.Child("log.txt")).find("no parameter of id 999") !=
                       std::string::npos);

        // The regions, the 80 placeholders and the dark display.
        SCENARIO_CHECK(RegionsManager::Instance().Count() == RegionsManager::kRegionCount);
        SCENARIO_CHECK(PresetsManager::Instance().Count() == 80);
        PresetsManager::Preset entry("", 0, 0);
        SCENARIO_CHECK(PresetsManager::Instance().GetEntry(79, &entry) && entry.name == "---");
        XImage* image = app->GetDisplayImage();
        SCENARIO_CHECK(image != nullptr && image->GetWidth() == 192 && image->GetHeight() == 38);
        SCENARIO_CHECK(app->GetDisplay().GetPixel(191, 37) == FrontPanelDisplay::kDarkColour);

        // The view factory knows the widgets' and the lists' type words.
        for (const char* word : {"list", "filemanager", "slider"})
        {
            std::unique_ptr<XView> view(XView::CreateViewByName(word));
            const bool known = dynamic_cast<XListView*>(view.get()) != nullptr ||
                               dynamic_cast<XFileManager*>(view.get()) != nullptr ||
                               dynamic_cast<XSlider*>(view.get()) != nullptr;
            SCENARIO_CHECK(known);
        }

        // The document keeps the live channels and the preset group, never the twins.
        const std::string path = scenario.folder.Child("saved.qm7");
        SCENARIO_CHECK(app->GetParamDoc()->WriteTo(path.c_str()) == 0);
        const std::unique_ptr<juce::XmlElement> root = juce::XmlDocument::parse(juce::File(path));
        std::string groups;
        if (root != nullptr)
            for (const juce::XmlElement* group : root->getChildIterator())
                groups += group->getTagName().toStdString() + " ";
        SCENARIO_CHECK(groups == "InputA InputB Output1 Output2 Output3 Output4 Output5 Output6 preset ");
    }
    // Once the application is gone the services are the defaults again.
    SCENARIO_CHECK(QM7App::GetInstance() == nullptr);
    SCENARIO_CHECK(GetAppServices().GetPresetGroup() == nullptr);
    return failures;
}

/** A command that records what it was prepared with. */
class PreparedCommand final : public XCommand
{
public:
    explicit PreparedCommand(std::vector<std::string>& events) : events(events) {}
    void Execute(XMessage*) override {}
    XString GetTitle() override { return "recall"; }
    bool IsEnabled(XMessage*) override { return true; }
    void Prepare(void* argument) override
    {
        int32_t number = -1;
        static_cast<XMessage*>(argument)->FindInt32("presetNum", number);
        events.push_back("prepared " + std::to_string(number));
    }

private:
    std::vector<std::string>& events;
};

int RunMessageScenario()
{
    int failures = 0;
    Scenario scenario;
    AppScenario::RecordingApp* app = scenario.app;
    DeviceCommWatcher& watcher = scenario.AttachWatcher();

    // The unit's replies arrive on the link's reader thread; the watcher posts them to the application.
    std::thread reader(
        [&watcher]
        {
            const auto deliver = [&watcher](int command, std::vector<uint8_t> payload)
            {
                TWMsgBuf buffer;
                buffer.SetContents(payload.data(), static_cast<int>(payload.size()));
                watcher.HandleCommand(0, command, &buffer, nullptr);
            };
            // The last block of the display: one row of 24 bytes at row 4, the first byte 0xA0.
            std::vector<uint8_t> display{0, 0, 0, 0, 24, 1};
            display.resize(display.size() + 24, 0);
            display[6] = 0xA0;
            display[0] = 3;
            display[1] = 3;
            deliver(kCmdDisplayData, display);
            deliver(kCmdPresetInfo, {5, 3, 0, 'A', 'b', 'c', 2, 0, 0, 0});
            deliver(kCmdPresetFlags, {6, 4});
            deliver(kCmdStorePreset, {9});
        });
    reader.join();
    SCENARIO_CHECK(Scenario::RunUntil([&] { return app->CountOf("request preset 9") == 1; }));
    SCENARIO_CHECK(app->CountOf("preset info 5") == 1);
    SCENARIO_CHECK(app->CountOf("preset flags 6") == 1);
    // Row 3 x 0 is the display data's row 3 * 1 + 0: bits 7 and 5 of 0xA0 light pixels 0 and 2.
    const FrontPanelDisplay& display = app->GetDisplay();
    SCENARIO_CHECK(display.GetPixel(0, 3) == FrontPanelDisplay::kLitColour);
    SCENARIO_CHECK(display.GetPixel(1, 3) == FrontPanelDisplay::kDarkColour);
    SCENARIO_CHECK(display.GetPixel(2, 3) == FrontPanelDisplay::kLitColour);

    // The editor windows' messages and the recall command's preparation.
    app->AddCommand(QM7App::kRecallCommandName, "Global", new PreparedCommand(app->events), "");
    XMessage prepare(QM7App::kMsgRecallPrepare);
    prepare.AddInt32("presetNum", 33);
    app->PostMessage(&prepare);
    XMessage inputGeq(QM7App::kMsgShowInputGEQ);
    inputGeq.AddInt32("channel", 1);
    app->PostMessage(&inputGeq);
    app->PostCode(79);
    XMessage leds(QM7App::kMsgConfigLeds);
    leds.AddInt32("config", 3);
    app->PostMessage(&leds);
    app->PostCode(QM7App::kMsgLinkedConfigLeds);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return app->CountOf("linked leds") == 1; }));
    for (const char* event : {"prepared 33", "window 74 channel 1", "window 79 channel 0", "config leds 3"})
        SCENARIO_CHECK(app->CountOf(event) == 1);

    // All values received: the recall that stored first goes on only while the unit is there.
    watcher.SetRecallAfterStore(true);
    XMessage allReceived(DeviceCommWatcher::kMsgAllValuesReceived);
    scenario.connection->connected.store(false);
    app->MessageReceived(allReceived);
    SCENARIO_CHECK(app->CountOf("recall after store") == 0);
    scenario.connection->connected.store(true);
    app->MessageReceived(allReceived);
    SCENARIO_CHECK(app->CountOf("recall after store") == 1);
    return failures;
}
} // namespace

TEST(QM7App, BuildsItsGroupsAndTablesAndServesThem)
{
    ChildScenario::ExpectPasses(RunModelScenario);
}

TEST(QM7App, WatcherAndWindowMessagesReachTheirHandlers)
{
    ChildScenario::ExpectPasses(RunMessageScenario);
}
