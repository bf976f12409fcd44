// The main window: its bars, toolbar, background with the panels and the compare washes, the status
// line set from any thread, the compare button and the listen-mode switch, the editor windows' show
// commands, and the window on the screen.

#include "app/QM7MainWindow.h"

#include "AppScenario.h"
#include "app/QM7Panel.h"
#include "app/QM7SlavePanel.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XKeyPress.h"
#include "core/XParamDesc.h"
#include "device/DeviceCommand.h"
#include "device/GlobalParamTables.h"
#include "device/RequestPayloads.h"
#include "device/XParamDoc.h"
#include "gui/XButton.h"
#include "gui/XMenu.h"
#include "gui/XMenuBar.h"
#include "gui/XMenuItem.h"
#include "gui/XPict.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XText.h"
#include "support/FrameBytes.h"
#include "widgets/QM7Style.h"
#include "widgets/TiledPict.h"
#include "windows/EditorWindows.h"
#include "windows/SubWindow.h"
#include "windows/SubWindowRegistry.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace
{
using AppScenario::Scenario;
using FrameBytes::Sent;

constexpr int kUsbActiveId = QM7MainWindow::kUsbActiveId;
constexpr int kDisplayLoadingId = QM7MainWindow::kDisplayLoadingId;
constexpr int kLockId = QM7MainWindow::kLockUIForEditCompareId;
constexpr int kRs232Id = QM7MainWindow::kRs232ActiveId;

std::string Text(const XString& text)
{
    return text.CStr();
}

/** The skin's images the toolbar sizes from (see the manifest) give these places. */
struct ToolCase
{
    XRect frame;
    const char* command; // command buttons
    int windowParamId;   // window buttons, else 0
    const char* tooltip;
};
const ToolCase kTools[] = {
    {XRect(2, 2, 48, 34), "NewDocumentCmd", 0, "New File"},
    {XRect(48, 2, 94, 34), "OpenDocumentCmd", 0, "Open File"},
    {XRect(94, 2, 140, 34), "SaveDocumentCmd", 0, "Save File"},
    {XRect(232, 2, 278, 34), "storePresetCmd", 0, "Store Preset"},
    {XRect(278, 2, 324, 34), "recallPresetCmd", 0, "Recall Preset"},
    // The compare button, and "Busy..." over it.
    {XRect(404, 6, 468, 30), nullptr, GlobalParamTables::kCompareEditDisplayButtonId, ""},
    {XRect(404, 6, 468, 30), nullptr, 0, ""},
    {XRect(548, 2, 594, 34), nullptr, GlobalParamTables::kWndConfigId, "Configuration"},
    {XRect(594, 2, 640, 34), nullptr, GlobalParamTables::kWndOverviewId, "System Overview"},
    {XRect(640, 2, 686, 34), nullptr, GlobalParamTables::kWndMasterEqId, "Input PEQ"},
    {XRect(686, 2, 732, 34), nullptr, GlobalParamTables::kWndGraphicEqId, "Input GEQ"},
    {XRect(732, 2, 778, 34), nullptr, GlobalParamTables::kWndInputDelayId, "Input Delay"},
    {XRect(778, 2, 824, 34), nullptr, GlobalParamTables::kWndCrossoverId, "Crossover"},
    {XRect(824, 2, 870, 34), nullptr, GlobalParamTables::kWndChanEqId, "Output PEQ"},
    {XRect(870, 2, 916, 34), nullptr, GlobalParamTables::kWndChanDelayId, "Output Delay"},
    {XRect(916, 2, 962, 34), nullptr, GlobalParamTables::kWndOutputLevelsId, "Output Levels"},
    {XRect(962, 2, 1008, 34), nullptr, GlobalParamTables::kWndOutputFreqRespId, "Frequency Response"},
};

int RunLayoutScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App* app = scenario.app;
    GetResourceManager().ClearImageMisses();
    QM7MainWindow* window = app->BuildMainWindow();
    SCENARIO_CHECK(window != nullptr && app->BuildMainWindow() == window);
    if (window == nullptr)
        return failures + 1;
    SCENARIO_CHECK(app->GetMainWindow() == window && app->GetParentView() == window);
    SCENARIO_CHECK(dynamic_cast<QM7Style*>(XStyle::GetCurrentStyle()) != nullptr);
    SCENARIO_CHECK(XStyle::FindStyle("default") == XStyle::GetCurrentStyle());
    SCENARIO_CHECK(Text(window->GetTitle()) == "KRX-640 Editor");
    SCENARIO_CHECK(window->GetBounds() == XRect(0, 0, 1024, 768));
    SCENARIO_CHECK((window->GetWindowStyle() & XPopupWindow::kStyleDropShadow) == 0);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return window->isShowing(); }));

    // The bars and the background, and how each follows the window's edges.
    struct Part
    {
        XView* view;
        XRect frame;
        uint32_t mask;
    };
    const Part parts[] = {{window->GetMenuBar(), XRect(0, 0, 1024, 24), 7},
                          {window->GetToolbar(), XRect(0, 24, 1024, 60), 7},
                          {window->GetBackground(), XRect(0, 60, 1024, 768), 15},
                          {window->GetStatusBar(), XRect(0, 746, 1024, 768), 11}};
    for (const Part& part : parts)
        SCENARIO_CHECK(part.view != nullptr && part.view->GetFrame() == part.frame &&
                       part.view->GetResizeMask() == part.mask);
    SCENARIO_CHECK(window->GetMenuBar()->GetMenuCount() == 2);
    XMenu* file = window->GetFileMenu();
    SCENARIO_CHECK(file->GetItemCount() == 16 && Text(file->GetItemAt(15)->GetLabel()) == "Exit");

    // The toolbar from left to right.
    const auto& tools = window->GetToolbar()->getChildren();
    SCENARIO_CHECK(tools.size() == static_cast<int>(std::size(kTools)));
    for (int i = 0; i < tools.size() && i < static_cast<int>(std::size(kTools)); ++i)
    {
        const ToolCase& expected = kTools[i];
        auto* view = dynamic_cast<XView*>(tools[i]);
        SCENARIO_CHECK(view != nullptr && view->GetFrame() == expected.frame);
        if (view == nullptr)
            continue;
        SCENARIO_CHECK(Text(view->GetTooltipText()) == expected.tooltip);
        if (expected.windowParamId != 0)
            SCENARIO_CHECK(view->GetPot() == app->GetParam(expected.windowParamId));
        if (expected.command != nullptr)
        {
            auto* button = dynamic_cast<XButton*>(view);
            const char* command = nullptr;
            SCENARIO_CHECK(button != nullptr && button->GetMessage() != nullptr &&
                           button->GetMessage()->FindString(XCommandManager::kCommandNameItem, command) ==
                               0 &&
                           std::string(command) == expected.command);
        }
    }
    SCENARIO_CHECK(tools[5] == window->GetCompareButton() && tools[6] == window->GetBusyText());
    SCENARIO_CHECK(Text(window->GetBusyText()->GetLabel()) == "Busy...");

    // The front panel, the slave panel while rs232Active is 1, the washes while the lock is 0.
    SCENARIO_CHECK(window->GetPanel()->GetFrame().left == 10 && window->GetPanel()->GetFrame().top == 10);
    SCENARIO_CHECK(window->GetSlavePanel()->GetFrame().top == 168);
    SCENARIO_CHECK(window->GetCompareArea(0)->GetFrame() == XRect(0, 0, 1024, 125));
    SCENARIO_CHECK(window->GetCompareArea(1)->GetFrame() == XRect(547, 130, 583, 155));
    SCENARIO_CHECK(window->GetCompareArea(7)->GetFrame() == XRect(0, 165, 1024, 280));
    SCENARIO_CHECK(window->GetCompareArea(13)->GetFrame() == XRect(972, 288, 1008, 313));
    SCENARIO_CHECK(Text(window->GetCompareArea(13)->GetTooltipText()) == "Compare Mode");
    SCENARIO_CHECK(window->GetCompareArea(14) == nullptr);
    SCENARIO_CHECK(app->GetDisplayImage() == window->GetPanel()->GetDisplayPicture()->GetImageAt(0));

    // "QM7\\lockUIForEditCompare" is 0 only while a unit is connected and the listen mode is 0; its
    // watchers are told by whoever watches the two (the crossover window), here by hand.
    struct Visibility
    {
        double usb, loading, listen, rs232;
        bool washes;
    };
    XParam* lock = app->GetParam(kLockId);
    for (const Visibility& c : {Visibility{0, 0, 0, 0, false}, Visibility{1, 0, 0, 1, true},
                                Visibility{1, 1, 1, 0, false}, Visibility{0, 1, 1, 1, false}})
    {
        app->GetParam(kUsbActiveId)->SetValue(c.usb, true);
        app->GetParam(kDisplayLoadingId)->SetValue(c.loading, true);
        app->GetParam(QM7App::kListenModeId)->SetValue(c.listen, false);
        app->GetParam(kRs232Id)->SetValue(c.rs232, true);
        lock->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
        SCENARIO_CHECK(Scenario::RunUntil(
            [&]
            {
                bool washes = true;
                for (int i = 0; i < QM7MainWindow::kCompareAreaCount; ++i)
                    washes = washes && window->GetCompareArea(i)->IsVisible() == c.washes;
                return window->GetCompareButton()->IsVisible() == (c.usb == 1) &&
                       window->GetBusyText()->IsVisible() == (c.loading == 1) &&
                       window->GetSlavePanel()->IsVisible() == (c.rs232 == 1) && washes;
            }));
    }

    // The document's title shows in the window's.
    app->GetParamDoc()->UpdateTitle("/tmp/somewhere/Live Set.qm7");
    SCENARIO_CHECK(Text(window->GetTitle()).rfind("KRX-640 Editor - Live Set", 0) == 0);

    // On the screen: connected, in compare mode.
    app->GetParam(kUsbActiveId)->SetValue(1, true);
    app->GetParam(kDisplayLoadingId)->SetValue(0, true);
    app->GetParam(QM7App::kListenModeId)->SetValue(0, false);
    app->GetParam(kRs232Id)->SetValue(0, true);
    lock->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    app->SetStatusText("connected to unit");
    GuiTestSupport::RunLoopFor(200);
    GuiTestSupport::TakeScreenshot(*window, "main_window");
    const XStringArray& misses = GetResourceManager().GetImageMisses();
    SCENARIO_CHECK(misses.GetCount() == 0);
    for (int i = 0; i < misses.GetCount(); ++i)
        std::fprintf(stderr, "missing image %s\n", misses.GetAt(i).CStr());

    // "Exit" and the close box ask the application to quit; Escape leaves the window open.
    file->GetItemAt(15)->Execute(nullptr);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return scenario.app->CountOf("quit") == 1; }));
    window->RequestClose();
    SCENARIO_CHECK(Scenario::RunUntil([&] { return scenario.app->CountOf("quit") == 2; }));
    SCENARIO_CHECK(!window->EscapePressed() && window->isVisible());

    // A larger window stretches the bars and the background; buttons and panel keep their places.
    window->SetFrame(XRect(0, 0, 1200, 900));
    SCENARIO_CHECK(
        Scenario::RunUntil([&] { return window->GetStatusBar()->GetFrame() == XRect(0, 878, 1200, 900); }));
    SCENARIO_CHECK(window->GetMenuBar()->GetFrame() == XRect(0, 0, 1200, 24));
    SCENARIO_CHECK(window->GetToolbar()->GetFrame() == XRect(0, 24, 1200, 60));
    SCENARIO_CHECK(window->GetBackground()->GetFrame() == XRect(0, 60, 1200, 900));
    SCENARIO_CHECK(window->GetCompareButton()->GetFrame() == kTools[5].frame);
    SCENARIO_CHECK(window->GetPanel()->GetFrame().left == 10 && window->GetPanel()->GetFrame().top == 10);
    return failures;
}

TEST(QM7MainWindow, BuildsBarsToolbarPanelsAndWashesThatFollowTheirParameters)
{
    ChildScenario::ExpectPasses(RunLayoutScenario);
}

/** An editor window that only counts its shows. */
class PlainWindow final : public SubWindow
{
public:
    explicit PlainWindow(const char* title, int32_t windowParamId)
        : SubWindow(title, "backgrounds\\panel.png", windowParamId)
    {
    }

protected:
    void BuildContent() override {}
};

int RunWindowCommandScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App* app = scenario.app;
    SubWindowRegistry& windows = app->GetWindows();
    // Two windows exist; the other rows have no window.
    for (int32_t index = 0; index < windows.Count(); ++index)
    {
        SubWindowRegistry::Row row = *windows.GetRow(index);
        row.create = nullptr;
        windows.Register(row);
    }
    windows.Register({EditorWindows::kCrossover, EditorWindows::kCrossoverParamId, [] {
                          return std::make_unique<PlainWindow>("Crossover", EditorWindows::kCrossoverParamId);
                      }});
    windows.Register({EditorWindows::kPresets, SubWindowRegistry::kNoWindowParam, [] {
                          return std::make_unique<PlainWindow>("Presets", SubWindowRegistry::kNoWindowParam);
                      }});
    windows.Register({EditorWindows::kFrontPanelAccess, SubWindowRegistry::kNoWindowParam, nullptr});
    QM7MainWindow* window = app->BuildMainWindow();

    SubWindow* crossover = windows.Find(EditorWindows::kCrossover);
    SCENARIO_CHECK(crossover != nullptr && !crossover->IsShown() && crossover->GetOwnerView() == window);
    struct CommandCase
    {
        const char* name;
        bool exists;
        const char* hotKey;
    };
    const CommandCase commands[] = {{"xOvrWndCmd", true, "F7"},
                                    {"presetsWndCmd", true, ""},
                                    {"configWndCmd", false, ""},
                                    {"frontPanelWndCmd", false, ""}};
    for (const CommandCase& c : commands)
    {
        XCommand* command = FindCommandByName(c.name);
        SCENARIO_CHECK((command != nullptr) == c.exists);
        if (command != nullptr)
            SCENARIO_CHECK(Text(command->GetHotKeyText()) == c.hotKey);
    }
    // The "Window" menu lists the commands that exist, in its order.
    XMenu* menu = window->GetWindowMenu();
    SCENARIO_CHECK(menu->GetItemCount() == 2);
    auto* first = dynamic_cast<XCommandItem*>(menu->GetItemAt(0));
    auto* second = dynamic_cast<XCommandItem*>(menu->GetItemAt(1));
    SCENARIO_CHECK(first != nullptr && Text(first->GetCommandName()) == "xOvrWndCmd");
    SCENARIO_CHECK(second != nullptr && Text(second->GetCommandName()) == "presetsWndCmd");

    // F7 shows the window (and its parameter follows), the command ticks; F7 again hides it.
    XParam* crossoverParam = app->GetParam(EditorWindows::kCrossoverParamId);
    SCENARIO_CHECK(app->HandleHotKey(XKeyCode::kF1 + 6, 0));
    SCENARIO_CHECK(Scenario::RunUntil([&] { return crossover->IsShown(); }));
    SCENARIO_CHECK(crossoverParam->GetValue() == 1.0 && first->IsChecked());
    SCENARIO_CHECK(app->HandleHotKey(XKeyCode::kF1 + 6, 0));
    SCENARIO_CHECK(Scenario::RunUntil([&] { return !crossover->IsShown(); }));
    SCENARIO_CHECK(crossoverParam->GetValue() == 0.0 && !first->IsChecked());
    // The toolbar's window button works through the same parameter.
    crossoverParam->ChangeValue(1, true);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return crossover->IsShown(); }));
    return failures;
}

TEST(QM7MainWindow, GivesEveryExistingEditorWindowItsShowCommandHotKeyAndMenuItem)
{
    ChildScenario::ExpectPasses(RunWindowCommandScenario);
}

/** Command 5 with an integer parameter's value at a wire id, as the watcher sends it. */
Sent IntegerValueFrame(int wireId, double value)
{
    TWMsgBuf payload;
    RequestPayloads::SetParamValue(payload, wireId, XParamDesc::kTypeInteger, value, 0);
    return {kCmdSetParamValue, FrameBytes::Contents(payload)};
}

int RunStatusAndCompareScenario()
{
    int failures = 0;
    Scenario scenario;
    QM7App* app = scenario.app;
    scenario.AttachWatcher();
    QM7MainWindow* window = app->BuildMainWindow();
    XParam* status = app->GetParam(QM7App::kStatusId);

    // The status line, with every ':' as '|', written from other threads and shown by the GUI thread.
    const std::string prefix = "Software Rev| 1.4.0" + std::string(20, ' ') + "Status| ";
    SCENARIO_CHECK(Text(app->GetStatusPrefix()) == prefix);
    std::thread([app] { app->SetStatusText("unit: 10:20"); }).join();
    SCENARIO_CHECK(Text(status->GetText()) == prefix + "unit| 10|20");
    SCENARIO_CHECK(window->GetStatusText()->GetPot() == status);
    // The status bar turns the '|' back into ':'.
    const std::string shown = "Software Rev: 1.4.0" + std::string(20, ' ') + "Status: unit: 10:20";
    SCENARIO_CHECK(
        Scenario::RunUntil([&] { return Text(window->GetStatusText()->GetDisplayText()) == shown; }));

    // Hiding and showing the compare button from a job's thread happens on the GUI thread.
    app->GetParam(kUsbActiveId)->SetValue(1, true);
    XButton* compare = window->GetCompareButton();
    SCENARIO_CHECK(Scenario::RunUntil([&] { return compare->IsVisible(); }));
    std::thread([app] { app->HideCompareButton(); }).join();
    SCENARIO_CHECK(compare->IsVisible());
    SCENARIO_CHECK(Scenario::RunUntil([&] { return !compare->IsVisible(); }));
    std::thread([app] { app->ShowCompareButton(); }).join();
    SCENARIO_CHECK(Scenario::RunUntil([&] { return compare->IsVisible(); }));

    // A click sends the other listen mode while the local value stays; the unit's report changes it.
    XParam* listenMode = app->GetParam(QM7App::kListenModeId);
    XParam* buttonParam = app->GetParam(QM7App::kCompareEditDisplayButtonId);
    SCENARIO_CHECK(listenMode->GetValue() == 1.0 && buttonParam->GetValue() == 1.0);
    scenario.connection->Take();
    std::atomic<bool> unitAsked{false};
    std::atomic<int> unitFailures{0};
    std::thread unit(
        [&]
        {
            int failures = 0;
            // The unit: once asked for the listen mode (command 6), it reports the new one.
            for (int turn = 0; turn < AppScenario::kWaitMs && !unitAsked; ++turn)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                for (const Sent& sent : scenario.connection->Take())
                {
                    if (sent.command == kCmdSetParamValue)
                        SCENARIO_CHECK(sent == IntegerValueFrame(QM7App::kListenModeId, 0.0));
                    if (sent.command == kCmdParamId)
                        unitAsked = true;
                }
            }
            SCENARIO_CHECK(unitAsked && listenMode->GetValue() == 1.0);
            listenMode->SetValue(0.0, true);
            unitFailures = failures;
        });
    // A click of the button (its press flips its own parameter, its release emits the click).
    const XPoint centre(compare->GetWidth() / 2, compare->GetHeight() / 2);
    compare->MouseDown(centre, XView::kButtonLeft);
    compare->MouseUp(centre, XView::kButtonLeft);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return unitAsked.load() && listenMode->GetValue() == 0.0; }));
    unit.join();
    failures += unitFailures;
    SCENARIO_CHECK(Scenario::RunUntil([&] { return buttonParam->GetValue() == 0.0; }));

    // A unit that never confirms: the job gives up, the local value stays, and the button, whose
    // press flipped it, shows the listen mode again.
    scenario.connection->Take();
    compare->MouseDown(centre, XView::kButtonLeft);
    compare->MouseUp(centre, XView::kButtonLeft);
    SCENARIO_CHECK(buttonParam->GetValue() == 1.0);
    SCENARIO_CHECK(Scenario::RunUntil([&] { return buttonParam->GetValue() == 0.0; }));
    SCENARIO_CHECK(listenMode->GetValue() == 0.0);
    const std::vector<Sent> sent = scenario.connection->Take();
    SCENARIO_CHECK(!sent.empty() && sent.front() == IntegerValueFrame(QM7App::kListenModeId, 1.0));
    return failures;
}

TEST(QM7MainWindow, SetsTheStatusLineFromAnyThreadAndSwitchesTheListenModeOnlyWhenTheUnitReportsIt)
{
    ChildScenario::ExpectPasses(RunStatusAndCompareScenario);
}
} // namespace
