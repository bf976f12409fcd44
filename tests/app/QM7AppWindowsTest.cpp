// The application and the editor windows: the window-open parameters and messages 71..79 show and
// hide the registered windows, and the windows reach the unit through the watcher's requests.

#include "AppScenario.h"
#include "core/XParam.h"
#include "device/DeviceCommand.h"
#include "device/IDeviceRequests.h"
#include "device/XParamDoc.h"
#include "support/FrameBytes.h"
#include "windows/ChannelDelayWindow.h"
#include "windows/EditorWindows.h"
#include "windows/InputDelayWindow.h"
#include "windows/InputPEQWindow.h"
#include "windows/MasterGraphicEqWindow.h"
#include "windows/SubWindow.h"
#include "windows/SubWindowRegistry.h"

#include <gtest/gtest.h>

namespace
{
using AppScenario::Scenario;

/** A window that counts its builds and shows. */
class CountingWindow final : public SubWindow
{
public:
    explicit CountingWindow(int32_t windowParamId)
        : SubWindow("Counting", "backgrounds\\panel.png", windowParamId)
    {
    }
    void Show() override
    {
        ++shows;
        SubWindow::Show();
    }
    int builds = 0;
    int shows = 0;

protected:
    void BuildContent() override { ++builds; }
};

int RunWindowScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App* app = scenario.app;
    SubWindowRegistry& windows = app->GetWindows();
    SCENARIO_CHECK(windows.Count() == 13);
    windows.Register({EditorWindows::kCrossover, EditorWindows::kCrossoverParamId,
                      [] { return std::make_unique<CountingWindow>(EditorWindows::kCrossoverParamId); }});
    XParam* crossoverParam = app->GetParam(EditorWindows::kCrossoverParamId);
    SCENARIO_CHECK(windows.Find(EditorWindows::kCrossover) == nullptr);

    // A user change and a program write of the parameter both show and hide, from a message after
    // the change; the window's own write-back of the parameter shows it no second time. The first
    // show marks the document clean.
    app->GetParamDoc()->SetModified(true);
    crossoverParam->ChangeValue(1, true);
    SCENARIO_CHECK(windows.Find(EditorWindows::kCrossover) == nullptr);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return windows.Find(EditorWindows::kCrossover) != nullptr; }));
    SCENARIO_CHECK(!app->GetParamDoc()->IsModified());
    auto* crossover = windows.Find<CountingWindow>(EditorWindows::kCrossover);
    SCENARIO_CHECK(crossover != nullptr && crossover->IsShown() && crossover->shows == 1);
    if (crossover == nullptr)
        return failures;
    crossoverParam->SetValue(0, true);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return !crossover->IsShown(); }));
    crossoverParam->SetValue(1, true);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return crossover->IsShown(); }));
    SCENARIO_CHECK(crossover->shows == 2 && crossover->builds == 1);
    crossover->Hide();
    SCENARIO_CHECK(crossoverParam->GetValue() == 0.0);

    // The message of the window's id shows it and sets its parameter.
    app->PostCode(EditorWindows::kCrossoverParamId);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return crossover->IsShown(); }));
    SCENARIO_CHECK(crossoverParam->GetValue() == 1.0);

    // A window not built yet, and an id no window has, do nothing.
    windows.Register({EditorWindows::kConfiguration, EditorWindows::kConfigParamId, nullptr});
    XParam* config = app->GetParam(EditorWindows::kConfigParamId);
    config->ChangeValue(1, true);
    crossoverParam->SetValue(0, true); // handled after the configuration's message
    SCENARIO_CHECK(Scenario::RunUntil([&] { return !crossover->IsShown(); }));
    SCENARIO_CHECK(windows.Find(EditorWindows::kConfiguration) == nullptr);
    app->ShowWindowForParam(80, true);
    app->ShowWindowForParam(EditorWindows::kCrossoverParamId, true);
    SCENARIO_CHECK(crossover->IsShown());
    app->ShowWindowForParam(EditorWindows::kCrossoverParamId, false);
    SCENARIO_CHECK(!crossover->IsShown());

    // The watcher's requests are the windows' way to the unit while the application has a watcher.
    SCENARIO_CHECK(!GetDeviceRequests().IsConnected());
    scenario.AttachWatcher();
    IDeviceRequests& requests = GetDeviceRequests();
    SCENARIO_CHECK(requests.IsConnected());
    requests.RequestPresetInfo(7);
    requests.SetPresetFlags(7, 8);
    const std::vector<FrameBytes::Sent> frames = scenario.connection->Take();
    SCENARIO_CHECK(frames.size() == 2 && frames[0].command == kCmdPresetInfo &&
                   frames[1].command == kCmdSetPresetFlags);
    app->SetDeviceWatcher(nullptr);
    SCENARIO_CHECK(!GetDeviceRequests().IsConnected());
    return failures;
}

/** The refresh after a document load or an edit-mode change reaches both delay windows: the output
    window's link checks clear once it has content, and the input window is found and left as is. */
int RunDelayRefreshScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App* app = scenario.app;
    SubWindowRegistry& windows = app->GetWindows();
    auto* output = windows.Get<ChannelDelayWindow>(EditorWindows::kOutputDelay);
    auto* input = windows.Get<InputDelayWindow>(EditorWindows::kInputDelay);
    SCENARIO_CHECK(output != nullptr && input != nullptr);
    if (output == nullptr || input == nullptr)
        return failures;

    output->GetCheckParam(3)->SetValue(1, false);
    app->RefreshDelayWindows();
    SCENARIO_CHECK(output->GetCheckParam(3)->GetValue() == 1.0); // no content yet: nothing to reset

    output->Show();
    input->Show();
    output->GetCheckParam(4)->ChangeValue(1, true);
    SCENARIO_CHECK(!output->GetLinkGroup(0).IsEmpty());
    InputDelayWindow::GetDelayLinkFlag().SetValue(1, true);
    app->RefreshDelayWindows();
    SCENARIO_CHECK(output->GetCheckParam(3)->GetValue() == 0.0 &&
                   output->GetCheckParam(4)->GetValue() == 0.0);
    SCENARIO_CHECK(output->GetLinkGroup(0).IsEmpty());
    SCENARIO_CHECK(InputDelayWindow::GetDelayLinkFlag().GetValue() == 1.0);
    return failures;
}
/** Messages 73 and 74 choose the input their "channel" item names, when it is 0 or 1, and show the
    input parametric or graphic equaliser window. */
template <typename Window>
int RunInputEqMessageScenario(int32_t windowParamId, const char* windowName,
                              FloatParam& (Window::*selected)())
{
    int failures = 0;
    Scenario scenario;
    QM7App* app = scenario.app;
    auto* window = app->GetWindows().Get<Window>(windowName);
    SCENARIO_CHECK(window != nullptr);
    if (window == nullptr)
        return failures;
    struct Case
    {
        int32_t channel;
        double selected;
    };
    for (const Case& c : {Case{1, 1.0}, Case{2, 1.0}, Case{-1, 1.0}, Case{0, 0.0}})
    {
        XMessage message(windowParamId);
        message.AddInt32("channel", c.channel);
        app->MessageReceived(message);
        SCENARIO_CHECK(window->IsShown());
        SCENARIO_CHECK((window->*selected)().GetValue() == c.selected);
    }
    return failures;
}

int RunInputPeqMessageScenario()
{
    return RunInputEqMessageScenario(EditorWindows::kInputPeqParamId, EditorWindows::kInputParametricEq,
                                     &InputPEQWindow::GetSelectedInput);
}

int RunInputGeqMessageScenario()
{
    return RunInputEqMessageScenario(EditorWindows::kInputGeqParamId, EditorWindows::kInputGraphicEq,
                                     &MasterGraphicEqWindow::GetCurActiveChannel);
}
} // namespace

TEST(QM7AppWindows, TheInputEqMessageChoosesTheNamedInputAndShowsTheWindow)
{
    ChildScenario::ExpectPasses(RunInputPeqMessageScenario);
}

TEST(QM7AppWindows, TheInputGraphicEqMessageChoosesTheNamedInputAndShowsTheWindow)
{
    ChildScenario::ExpectPasses(RunInputGeqMessageScenario);
}

TEST(QM7AppWindows, WindowParametersAndMessagesShowTheRegisteredWindowsWhichReachTheUnit)
{
    ChildScenario::ExpectPasses(RunWindowScenario);
}

TEST(QM7AppWindows, TheDelayRefreshReachesBothDelayWindows)
{
    ChildScenario::ExpectPasses(RunDelayRefreshScenario);
}
