#pragma once

// What the application object's tests stand on: the application started as the program starts it
// (in a child process, see core/ChildScenario.h), its parameter model built, its window and command
// hooks recorded, and optionally a device watcher on a connection that records the frames sent.

#include "app/QM7App.h"
#include "core/ChildScenario.h"
#include "core/Log.h"
#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "device/DeviceCommWatcher.h"
#include "platform/PlatformClock.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"
#include "support/WatcherTestRig.h"
#include "support/gui/GuiTestSupport.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace AppScenario
{
/** Time runs this much faster, so that the fixed waits stay short. */
constexpr double kTimeScale = 20.0;
constexpr int kWaitMs = 20000;

/** The application with what its extension points are asked recorded as lines of text (the windows'
    messages are then handled as the application handles them). Its start-up is the GUI's alone: no
    link, connection or main window, so the tests build what they need. */
class RecordingApp final : public QM7App
{
public:
    std::vector<std::string> events;

    bool StartApp() override { return XGuiApp::StartApp(); }

    int CountOf(const std::string& event) const
    {
        int count = 0;
        for (const std::string& recorded : events)
            count += recorded == event ? 1 : 0;
        return count;
    }

protected:
    void ShowEditorWindow(int32_t windowParamId, int32_t channel) override
    {
        Record("window %d channel %d", windowParamId, channel);
        QM7App::ShowEditorWindow(windowParamId, channel);
    }
    void ShowConfigLeds(int32_t config) override { Record("config leds %d", config); }
    void CopyLinkedConfigLeds() override { Record("linked leds"); }
    void TakePresetInfo(XMessage& message) override { Record("preset info %d", PresetNumber(message)); }
    void TakePresetFlags(XMessage& message) override
    {
        Record("preset flags %d", PresetNumber(message));
        QM7App::TakePresetFlags(message);
    }
    void RequestPresetInfo(int32_t presetNumber) override { Record("request preset %d", presetNumber); }
    void RunRecallAfterStore() override
    {
        Record("recall after store");
        QM7App::RunRecallAfterStore();
    }
    void RequestToolkitQuit() override { Record("quit"); }

private:
    template <typename... Args> void Record(const char* format, Args... args)
    {
        char text[128];
        std::snprintf(text, sizeof text, format, args...);
        events.emplace_back(text);
    }
    static int32_t PresetNumber(XMessage& message)
    {
        int32_t number = -1;
        message.FindInt32("presetNum", number);
        return number;
    }
};

/** A started application with its parameter model, in a fast clock with its settings and log in a
    temporary folder; shut down and deleted at the end, then JUCE is shut down (a child process
    leaves the test without unwinding main). Main thread. */
class Scenario final
{
public:
    Scenario() : config("XDG_CONFIG_HOME", folder.Path())
    {
        PlatformClock::SetTimeScale(kTimeScale);
        SetAppLogFolder(folder.Path().c_str());
        SetLogLevel(5);
        app = new RecordingApp();
        app->initialise("");
        app->BuildParameterModel();
    }
    ~Scenario()
    {
        app->shutdown();
        delete app;
        connection.reset();
        juce::shutdownJuce_GUI();
    }
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    /** Gives the application a device watcher on a recording connection (connected). */
    DeviceCommWatcher& AttachWatcher()
    {
        connection = std::make_unique<WatcherRig::RecordingConnection>();
        app->SetDeviceWatcher(std::make_unique<DeviceCommWatcher>(connection.get()));
        return *app->GetDeviceWatcher();
    }

    /** Runs the message loop until condition holds (or kWaitMs pass); whether it held. */
    static bool RunUntil(const std::function<bool()>& condition)
    {
        return GuiTestSupport::RunLoopUntil(condition, kWaitMs);
    }

    static XParam* Param(const char* path) { return FindParam("%s", path); }

    TestSupport::TempFolder folder;
    ScopedEnvironment config;
    // The watcher's connection: it outlives the application, which deletes the watcher.
    std::unique_ptr<WatcherRig::RecordingConnection> connection;
    RecordingApp* app = nullptr;
};
} // namespace AppScenario
