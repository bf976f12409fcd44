// The application and the front-panel access window: the unit's preset flags reach the window once
// the registry has made it.

#include "AppScenario.h"
#include "core/XMessage.h"
#include "device/DeviceCommWatcher.h"
#include "windows/EditorWindows.h"
#include "windows/FrontPanelWindow.h"
#include "windows/SubWindowRegistry.h"

#include <gtest/gtest.h>

namespace
{
using AppScenario::Scenario;

int RunFrontPanelScenario()
{
    int failures = 0;
    Scenario scenario;
    AppScenario::RecordingApp* app = scenario.app;
    SubWindowRegistry& windows = app->GetWindows();

    // Without the window, the flags and the refresh find no front-panel window to show them in.
    XMessage flags(DeviceCommWatcher::kMsgPresetFlags);
    flags.AddInt32("presetNum", 1);
    flags.AddInt32("presetFlags", 12);
    app->PostMessage(&flags);
    app->RefreshFrontPanelWindow();
    SCENARIO_CHECK(Scenario::RunUntil([&] { return app->CountOf("preset flags 1") == 1; }));
    SCENARIO_CHECK(windows.Find(EditorWindows::kFrontPanelAccess) == nullptr);

    auto* window = windows.Get<FrontPanelWindow>(EditorWindows::kFrontPanelAccess);
    SCENARIO_CHECK(window != nullptr);
    if (window == nullptr)
        return failures;
    // The presets window kept the flags in the program's list: the new window shows them at once.
    SCENARIO_CHECK(window->GetPresetNumber() == 1 && window->GetPresetLockParam().GetValue() == 1.0);
    XMessage cleared(DeviceCommWatcher::kMsgPresetFlags);
    cleared.AddInt32("presetNum", 1);
    cleared.AddInt32("presetFlags", 0);
    app->PostMessage(&cleared);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return window->GetPresetLockParam().GetValue() == 0.0; }));
    app->PostMessage(&flags);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return window->GetPresetLockParam().GetValue() == 1.0; }));
    SCENARIO_CHECK(window->GetPresetHiddenParam().GetValue() == 1.0);
    return failures;
}
} // namespace

TEST(QM7AppFrontPanel, TheUnitsPresetFlagsReachTheFrontPanelAccessWindowOnceItIsMade)
{
    ChildScenario::ExpectPasses(RunFrontPanelScenario);
}
