// The system overview in the running editor, on the simulated unit with its meters running, through
// real mouse events: clicks on blocks open their windows through the application, and the limiter of
// one output is copied to another through the blocks' pop-up menus.

#include "AppScenario.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommWatcher.h"
#include "device/GlobalParamTables.h"
#include "gui/XButton.h"
#include "gui/XDialog.h"
#include "gui/XMenu.h"
#include "gui/XOKDialog.h"
#include "support/SimUnitTest.h"
#include "widgets/XLEDMeter.h"
#include "windows/EditorWindows.h"
#include "windows/InputPEQWindow.h"
#include "windows/SubWindowRegistry.h"
#include "windows/SysOvvInputPanel.h"
#include "windows/SystemOverviewWindow.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
constexpr int kWaitMs = SimUnitTest::kSimWaitMs;
constexpr int kSetValueCommand = 5;
constexpr int32_t kInputMeterId = ChannelParamTables::kInputMeterId;
constexpr int32_t kLimitThresholdId = ChannelParamTables::kLimitThresholdId;
constexpr int32_t kOutputGainId = ChannelParamTables::kOutputGainId;

using Kind = SysOvvBlockPanel::Kind;

/** The editor as the program starts it, with the windows it is asked to show recorded. */
class OverviewApp final : public QM7App
{
public:
    std::vector<std::string> shown;

protected:
    void RequestToolkitQuit() override {}
    void ShowEditorWindow(int32_t windowParamId, int32_t channel) override
    {
        shown.push_back(std::to_string(windowParamId) + " " + std::to_string(channel));
        QM7App::ShowEditorWindow(windowParamId, channel);
    }
};

class SystemOverviewAppTest : public SimUnitTest
{
protected:
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

    std::unique_ptr<ScopedEnvironment> settings;
};

/** The commands registered in the blocks' copy and paste context. */
int CopyPasteCommandCount()
{
    int count = 0;
    XCommandManager* manager = XCommandManager::GetProcessWide();
    for (int index = 0; manager != nullptr && index < manager->GetCommandCount(); ++index)
        count +=
            manager->GetCommandAt(index)->GetContext() == XString(SysOvvBlockPanel::kCommandContext) ? 1 : 0;
    return count;
}

bool RunUntil(const std::function<bool()>& condition)
{
    return GuiTestSupport::RunLoopUntil(condition, kWaitMs);
}

/** A left click, or a right click that runs the block's menu, in the middle of a block. */
void Click(GuiTestSupport::PeerMouse& mouse, SysOvvBlockPanel& block, bool right)
{
    const juce::Point<int> middle(36, 30);
    mouse.Send(block, middle,
               right ? juce::ModifierKeys::rightButtonModifier : juce::ModifierKeys::leftButtonModifier);
    mouse.Send(block, middle, juce::ModifierKeys());
    mouse.Wait(500);
}

/** Chooses item (0 first) of the pop-up menu the next right click shows, once it is up and shows
    the block's menu; whether the menu was the block's and listed labels. */
struct MenuChoice
{
    MenuChoice(SysOvvBlockPanel& block, int item, std::vector<std::string> labels)
        : driver(
              [&block, item, labels, this](juce::Component& menuWindow)
              {
                  XMenu* menu = block.GetBlockMenu();
                  std::vector<std::string> shownLabels;
                  for (juce::PopupMenu::MenuItemIterator it(menu->GetNativeMenu()); it.next();)
                      if (it.getItem().isEnabled)
                          shownLabels.push_back(it.getItem().text.toStdString());
                  matched = menu->IsShowing() && shownLabels == labels;
                  for (int step = 0; step <= item; ++step)
                      menuWindow.keyPressed(juce::KeyPress(juce::KeyPress::downKey));
                  menuWindow.keyPressed(juce::KeyPress(juce::KeyPress::returnKey));
                  return true;
              })
    {
    }
    bool matched = false;
    GuiTestSupport::ModalDialogDriver driver;
};

/** Right-clicks a block until the driver has chosen from its menu. A menu shown while no window of
    the program has the display's focus closes itself at once, so the window is brought to the front
    first, and the click is tried again when the menu closed before the driver saw it. */
bool RunBlockMenu(GuiTestSupport::PeerMouse& mouse, juce::Component& window, SysOvvBlockPanel& block,
                  MenuChoice& choice)
{
    for (int attempt = 0; attempt < 3 && !choice.driver.IsDone(); ++attempt)
    {
        window.toFront(true);
        GuiTestSupport::RunLoopUntil([] { return juce::Process::isForegroundProcess(); }, 5000);
        Click(mouse, block, true);
        GuiTestSupport::RunLoopUntil([&] { return choice.driver.IsDone(); }, 10000);
    }
    return choice.driver.IsDone();
}
} // namespace

TEST_F(SystemOverviewAppTest, ClicksOpenTheBlocksWindowsAndTheMenusCopyALimiterBetweenOutputs)
{
    ChildScenario::ExpectPasses(
        [this]
        {
            int failures = 0;
            SCENARIO_CHECK(StartUnit({"--meters"}));
            XDialog::SetAnswerHook(
                [](XDialog& dialog)
                {
                    auto* box = dynamic_cast<XOKDialog*>(&dialog);
                    const std::string title = box != nullptr ? box->GetDialogTitle().CStr() : "";
                    return title == QM7App::kConnectTitle ? XDialog::kOK : XDialog::kCancel;
                });
            auto* app = new OverviewApp();
            app->initialise("");
            SCENARIO_CHECK(app->IsHandshakeDone());

            // The meters run: input A's level moves away from its floor.
            XParam* inputMeter = GetInputChannel(0)->GetParam(kInputMeterId);
            const double floor = inputMeter->GetValue();
            SCENARIO_CHECK(RunUntil([&] { return inputMeter->GetValue() != floor; }));

            // F3's window, by its window parameter as the menu sets it; its blocks' copy and paste
            // commands come with its first show.
            SCENARIO_CHECK(CopyPasteCommandCount() == 0);
            app->GetParam(EditorWindows::kOverviewParamId)->ChangeValue(1, true);
            SubWindowRegistry& windows = app->GetWindows();
            SCENARIO_CHECK(RunUntil(
                [&]
                {
                    auto* overview = windows.Find<SystemOverviewWindow>(EditorWindows::kSystemOverview);
                    return overview != nullptr && overview->isShowing();
                }));
            auto* overview = windows.Find<SystemOverviewWindow>(EditorWindows::kSystemOverview);
            if (overview == nullptr)
            {
                app->shutdown();
                delete app;
                return failures + 1;
            }
            SCENARIO_CHECK(CopyPasteCommandCount() == 84);
            // Input A's meter block follows the running meter.
            XLEDMeter* meterBlock = overview->GetBlock<SysOvvInputPanel>(Kind::InputMeter, 0)->GetMeter();
            SCENARIO_CHECK(RunUntil([&] { return meterBlock->GetPosition() > 0; }));
            GuiTestSupport::PeerMouse mouse(*overview);
            // The unit's light shows while the unit is there, clean before any edit.
            XButton* unitLight = overview->GetUnitIndicator();
            SCENARIO_CHECK(unitLight->isVisible() && unitLight->GetPosition() == 0);

            // Output 3's crossover block opens the crossover window.
            SubWindow* crossover = windows.Get(EditorWindows::kCrossoverParamId);
            SCENARIO_CHECK(crossover != nullptr && !crossover->IsShown());
            Click(mouse, *overview->GetBlock(Kind::Crossover, 2), false);
            SCENARIO_CHECK(RunUntil([&] { return crossover != nullptr && crossover->IsShown(); }));
            crossover->Hide();

            // Input B's PEQ block asks for the input PEQ window on input B.
            Click(mouse, *overview->GetBlock(Kind::InputPeq, 1), false);
            SCENARIO_CHECK(RunUntil([&] { return !app->shown.empty() && app->shown.back() == "73 1"; }));
            auto* inputPeq = windows.Find<InputPEQWindow>(EditorWindows::kInputParametricEq);
            SCENARIO_CHECK(inputPeq != nullptr && RunUntil([&] { return inputPeq->IsShown(); }));
            SCENARIO_CHECK(inputPeq != nullptr && inputPeq->GetSelectedInput().GetValue() == 1.0);
            if (inputPeq != nullptr)
                inputPeq->Hide();

            // Output 2's limiter copied onto output 5 through the menus.
            GetOutputChannel(1)->GetParam(kLimitThresholdId)->ChangeValue(-9, true);
            GetOutputChannel(1)->GetParam(kOutputGainId)->ChangeValue(-14, true);
            overview->Show();
            SCENARIO_CHECK(RunUntil([&] { return overview->isShowing(); }));
            {
                SysOvvBlockPanel& source = *overview->GetBlock(Kind::Limiter, 1);
                MenuChoice copy(source, 0, {"Copy Limiter block"});
                SCENARIO_CHECK(RunBlockMenu(mouse, *overview, source, copy));
                SCENARIO_CHECK(copy.matched);
            }
            const size_t framesBefore = UnitReceived(kSetValueCommand).size();
            XParam* linking = app->GetParam(GlobalParamTables::kChannelLinkingId);
            linking->ChangeValue(0, true);
            {
                SysOvvBlockPanel& target = *overview->GetBlock(Kind::Limiter, 4);
                MenuChoice paste(target, 1, {"Copy Limiter block", "Paste Limiter block"});
                SCENARIO_CHECK(RunBlockMenu(mouse, *overview, target, paste));
                SCENARIO_CHECK(paste.matched);
            }
            SCENARIO_CHECK(RunUntil(
                [&] { return GetOutputChannel(4)->GetParam(kLimitThresholdId)->GetValue() == -9.0; }));
            SCENARIO_CHECK(GetOutputChannel(4)->GetParam(kOutputGainId)->GetValue() == -14.0);
            // The unit is told output 5's new threshold.
            const int32_t thresholdWire =
                app->GetDeviceWatcher()->FindLiveWireId(GetOutputChannel(4)->GetParam(kLimitThresholdId));
            SCENARIO_CHECK(thresholdWire >= 0);
            SCENARIO_CHECK(RunUntil(
                [&]
                {
                    const std::vector<FrameBytes::Sent> frames = UnitReceived(kSetValueCommand);
                    for (size_t index = framesBefore; index < frames.size(); ++index)
                        if (frames[index].payload.size() >= 2 &&
                            FrameBytes::U16At(frames[index].payload, 0) == thresholdWire)
                            return true;
                    return false;
                }));
            SCENARIO_CHECK(linking->GetValue() == 1.0); // on after a paste, whatever it was
            // The unit reports its edited settings unsaved, and its light turns red.
            SCENARIO_CHECK(RunUntil([&] { return unitLight->GetPosition() == 1; }));

            GuiTestSupport::RunLoopFor(300); // a few meter readings drawn
            GuiTestSupport::TakeScreenshot(*overview, "system_overview_on_unit");

            app->shutdown();
            delete app;
            juce::shutdownJuce_GUI();
            StopUnit();
            return failures;
        });
}
