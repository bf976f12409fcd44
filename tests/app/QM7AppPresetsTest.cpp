// The application and the presets window: the unit's preset flags keep the program's preset list in
// step, also when the last preset's flags arrive after the preset receive has ended and no window
// has been made yet.

#include "AppScenario.h"
#include "core/XMessage.h"
#include "device/DeviceCommWatcher.h"
#include "device/PresetsManager.h"
#include "windows/EditorWindows.h"
#include "windows/PresetsWindow.h"
#include "windows/SubWindowRegistry.h"

#include <gtest/gtest.h>

namespace
{
using AppScenario::Scenario;

int32_t FlagsOf(int32_t index)
{
    PresetsManager::Preset preset(XString(), 0, 0);
    return PresetsManager::Instance().GetEntry(index, &preset) ? preset.flags : -1;
}

int RunPresetFlagsScenario()
{
    int failures = 0;
    Scenario scenario;
    AppScenario::RecordingApp* app = scenario.app;
    SCENARIO_CHECK(app->GetWindows().Find(EditorWindows::kPresets) == nullptr);
    SCENARIO_CHECK(FlagsOf(79) == 0);

    XMessage flags(DeviceCommWatcher::kMsgPresetFlags);
    flags.AddInt32("presetNum", 80);
    flags.AddInt32("presetFlags", 8);
    app->PostMessage(&flags);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return FlagsOf(79) == 8; }));
    SCENARIO_CHECK(app->GetWindows().Find<PresetsWindow>(EditorWindows::kPresets) != nullptr);
    return failures;
}
} // namespace

TEST(QM7AppPresets, TheUnitsPresetFlagsKeepThePresetListInStepWithoutAWindowShown)
{
    ChildScenario::ExpectPasses(RunPresetFlagsScenario);
}
