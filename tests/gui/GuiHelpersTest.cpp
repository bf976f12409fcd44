#include "gui/GuiHelpers.h"

#include "gui/GuiViewServices.h"
#include "gui/IColourChooser.h"
#include "gui/IMonitorList.h"
#include "gui/JUCEColourChooser.h"
#include "gui/XDebugConsole.h"
#include "gui/XViewExplorer.h"
#include "support/gui/ViewTestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <juce_gui_extra/juce_gui_extra.h>
#include <thread>
#include <vector>

namespace
{
class FakeMonitors final : public IMonitorList
{
public:
    explicit FakeMonitors(std::vector<XRect> areasIn) : areas(std::move(areasIn)) { SetMonitorList(this); }
    ~FakeMonitors() override { SetMonitorList(nullptr); }
    std::vector<XRect> GetWorkAreas() override { return areas; }
    std::vector<XRect> areas;
};

class FakeChooser final : public IColourChooser
{
public:
    FakeChooser() { SetColourChooser(this); }
    ~FakeChooser() override { SetColourChooser(nullptr); }
    bool Choose(const XRGB& initialIn, XRGB& chosen) override
    {
        initial = initialIn;
        if (confirm)
            chosen = XRGB(1, 2, 3, 7);
        return confirm;
    }
    bool confirm = false;
    XRGB initial;
};

/** Sets a colour in the colour dialog and presses one of its buttons as soon as it is modal. */
class ChooserPresser final
{
public:
    ChooserPresser(const char* buttonName, juce::Colour colour)
        : driver(
              [buttonName, colour](juce::Component& modal)
              {
                  if (auto* selector = dynamic_cast<juce::ColourSelector*>(
                          GuiTestSupport::FindNamed(modal, JUCEColourChooser::kSelectorName)))
                      selector->setCurrentColour(colour);
                  if (auto* button =
                          dynamic_cast<juce::Button*>(GuiTestSupport::FindNamed(modal, buttonName)))
                      button->triggerClick();
                  return true;
              })
    {
    }

private:
    GuiTestSupport::ModalDialogDriver driver;
};
} // namespace

TEST(GuiHelpersTest, MonitorAreasComeFromTheMonitorList)
{
    {
        FakeMonitors monitors({XRect(0, 0, 1920, 1040), XRect(1920, 0, 3200, 1024)});
        EXPECT_EQ(GetMonitorCount(), 2);
        EXPECT_EQ(GetMonitorArea(1), XRect(1920, 0, 3200, 1024));
        EXPECT_EQ(GetMonitorArea(5), XRect(0, 0, 1920, 1040));
        EXPECT_EQ(GetMonitorArea(-1), XRect(0, 0, 1920, 1040));

        // A dialog whose parent window lies on the second monitor is fitted to that monitor.
        XView window(XRect(2000, 100, 2400, 400));
        EXPECT_EQ(GetWindowArea(&window), XRect(1920, 0, 3200, 1024));
        XView offScreen(XRect(5000, 5000, 5100, 5100));
        EXPECT_EQ(GetWindowArea(&offScreen), XRect(0, 0, 1920, 1040));
        EXPECT_EQ(GetWindowArea(nullptr), XRect(0, 0, 1920, 1040));
    }
    {
        FakeMonitors none({});
        EXPECT_EQ(GetMonitorCount(), 0);
        EXPECT_EQ(GetMonitorArea(0), kFallbackMonitorArea);
        EXPECT_EQ(GetWindowArea(nullptr), XRect(0, 0, 1024, 768));
    }
    // The display of the test's X server.
    ASSERT_GE(GetMonitorCount(), 1);
    EXPECT_EQ(GetMonitorArea(5), GetMonitorArea(0));
    const XRect area = GetMonitorArea(0);
    EXPECT_GT(area.right - area.left, 0);
    EXPECT_GT(area.bottom - area.top, 0);
}

TEST(GuiHelpersTest, CenterRectInKeepsTheSizeAndClampsAtZero)
{
    EXPECT_EQ(CenterRectIn(XRect(0, 0, 100, 50), XRect(0, 0, 400, 300)), XRect(150, 125, 250, 175));
    EXPECT_EQ(CenterRectIn(XRect(5, 5, 105, 55), XRect(1920, 0, 3200, 1024)), XRect(2510, 487, 2610, 537));
    EXPECT_EQ(CenterRectIn(XRect(0, 0, 500, 400), XRect(0, 0, 300, 200)), XRect(0, 0, 500, 400));
}

TEST(GuiHelpersTest, PointerFlagWaitCursorAndPointerPlacement)
{
    IViewServices& services = GetGuiViewServices();
    EXPECT_TRUE(IsMousePointerShown());
    HideMousePointer();
    EXPECT_FALSE(IsMousePointerShown());
    EXPECT_FALSE(services.IsCursorShown());
    ShowMousePointer();
    EXPECT_TRUE(services.IsCursorShown());

    EXPECT_FALSE(IsBusy());
    ShowWaitCursor();
    EXPECT_TRUE(IsBusy());
    EXPECT_TRUE(services.IsWaitCursorOn());
    HideWaitCursor();
    EXPECT_FALSE(IsBusy());
    EXPECT_FALSE(services.IsWaitCursorOn());

    // A drag puts the pointer back where it started.
    const juce::Point<int> start(123, 234);
    SetMousePosition(start.x, start.y);
    EXPECT_TRUE(
        GuiTestSupport::RunLoopUntil([&] { return juce::Desktop::getMousePosition() == start; }, 5000));
    SetMousePosition(40, 50);
    EXPECT_TRUE(GuiTestSupport::RunLoopUntil(
        [&] { return juce::Desktop::getMousePosition() == juce::Point<int>(40, 50); }, 5000));
}

TEST(GuiHelpersTest, ColourChooserSetsAnOpaqueColourOnlyWhenConfirmed)
{
    FakeChooser chooser;
    XRGB colour(10, 20, 30, 40);
    EXPECT_FALSE(ChooseSystemColour(colour));
    EXPECT_EQ(colour, XRGB(10, 20, 30, 40));
    EXPECT_EQ(chooser.initial, XRGB(10, 20, 30, 255));
    chooser.confirm = true;
    EXPECT_TRUE(ChooseSystemColour(colour));
    EXPECT_EQ(colour, XRGB(1, 2, 3, 255));
}

TEST(GuiHelpersTest, TheDialogReturnsFalseOnCancelAndTheColourOnOk)
{
    XRGB colour(10, 20, 30, 40);
    {
        ChooserPresser cancel(JUCEColourChooser::kCancelButtonName, juce::Colour(200, 100, 50));
        EXPECT_FALSE(ChooseSystemColour(colour));
    }
    EXPECT_EQ(colour, XRGB(10, 20, 30, 40));

    ChooserPresser ok(JUCEColourChooser::kOkButtonName, juce::Colour(200, 100, 50));
    EXPECT_TRUE(ChooseSystemColour(colour));
    EXPECT_EQ(colour, XRGB(200, 100, 50, 255));
    EXPECT_EQ(JUCEColourChooser::GetCustomColour(0), XRGB(255, 255, 255));
}

TEST(GuiHelpersTest, DebugConsoleKeepsLinesUntilItHasAnEditor)
{
    XDebugConsole console;
    FlushDebugConsole(nullptr);
    console.AddLine("first");
    FlushDebugConsole(&console);
    EXPECT_EQ(console.CountQueuedLines(), 1);

    juce::TextEditor editor;
    editor.setMultiLine(true);
    console.SetEditor(&editor);
    console.AddLine("second");
    FlushDebugConsole(&console);
    EXPECT_EQ(console.CountQueuedLines(), 0);
    EXPECT_EQ(editor.getText(), "first\nsecond\n");

    // Threads queue while the GUI thread flushes: every line arrives once.
    constexpr int kThreads = 4;
    constexpr int kLines = 50;
    std::atomic<int> running{kThreads};
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back(
            [&console, &running, t]
            {
                for (int i = 0; i < kLines; ++i)
                    console.AddLine(XString(t * 1000 + i));
                --running;
            });
    while (running > 0)
        FlushDebugConsole(&console);
    for (auto& writer : writers)
        writer.join();
    FlushDebugConsole(&console);
    EXPECT_EQ(console.CountQueuedLines(), 0);
    juce::StringArray lines;
    lines.addLines(editor.getText());
    lines.removeEmptyStrings();
    EXPECT_EQ(lines.size(), 2 + kThreads * kLines);
    console.SetEditor(nullptr);
}

TEST(GuiHelpersTest, InspectorListsTheTargetsFrameAndMarksIt)
{
    ViewTest::Application();
    GuiViewServices& services = GetGuiViewServices();
    IViewServices::Set(&services);
    XView window(XRect(0, 0, 300, 200));
    auto* target = new XView(XRect(10, 20, 60, 45));
    window.AddChild(target);

    // Closed, the inspector ignores presses.
    services.InspectorSelectView(target);
    EXPECT_EQ(XViewExplorer::Get().GetTarget(), nullptr);

    XViewExplorer::Get().Open();
    ASSERT_TRUE(XViewExplorer::Get().IsOpen());
    ShowWaitCursor();
    services.InspectorSelectView(target);
    EXPECT_EQ(XViewExplorer::Get().GetTarget(), nullptr);
    HideWaitCursor();
    services.InspectorSelectView(target);

    XViewExplorer& inspector = XViewExplorer::Get();
    ASSERT_EQ(inspector.GetTarget(), target);
    ASSERT_EQ(inspector.CountFields(), 4);
    const char* const values[] = {"10", "20", "50", "25"};
    for (int i = 0; i < 4; ++i)
    {
        juce::TextEditor* field = inspector.GetField(i);
        EXPECT_EQ(field->getText(), values[i]) << i;
        EXPECT_EQ(field->getBounds(), juce::Rectangle<int>(60, 35 + 30 * i, 130, 15)) << i;
    }
    EXPECT_EQ(inspector.GetField(0)->getName(), "X-Pos");
    EXPECT_EQ(inspector.GetMarkBounds(), juce::Rectangle<int>(7, 17, 56, 31));

    // A view inside the inspector itself is never its target.
    XView inside;
    inspector.GetWindow()->addChildComponent(inside);
    InspectView(&inside);
    EXPECT_EQ(inspector.GetTarget(), target);
    inspector.GetWindow()->removeChildComponent(&inside);

    window.RemoveChild(target);
    delete target;
    EXPECT_EQ(inspector.GetTarget(), nullptr);
    CloseViewInspector();
    IViewServices::Set(nullptr);
}
