#include "gui/XPopupWindow.h"

#include "ControlTestSupport.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XKeyPress.h"
#include "core/XMessageCodes.h"
#include "core/XRegistrySettings.h"
#include "gui/GuiHelpers.h"
#include "gui/IMonitorList.h"
#include "gui/XButton.h"
#include "gui/XCloseBox.h"
#include "gui/XMainWindow.h"
#include "gui/XMaximizeButton.h"
#include "gui/XMinimizeButton.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XWindowList.h"
#include "platform/PlatformRegistry.h"
#include "platform/PlatformWindowOwner.h"
#include "support/ScopedEnvironment.h"
#include "support/gui/SkinTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace
{
using ControlTest::Recorder;
using ViewTest::Application;
using ViewTest::Pump;
using ViewTest::PumpUntil;

constexpr int kWaitMs = 5000;
constexpr int32_t kAbsent = -99999;

/** Two monitors with a gap between them. */
class TwoMonitors final : public IMonitorList
{
public:
    std::vector<XRect> GetWorkAreas() override { return {XRect(0, 0, 800, 600), XRect(1000, 0, 1800, 600)}; }
};

/** A window whose minimised state is kept here instead of by a window manager, and whose main
    window is chosen by the test. */
class SeamWindow : public XPopupWindow
{
public:
    SeamWindow(const XRect& frame, const char* title) : XPopupWindow(frame, title, nullptr) {}

    bool peerMinimised = false;
    int minimiseCalls = 0;
    XView* mainWindow = nullptr;

protected:
    void SetPeerMinimised(bool on) override
    {
        ++minimiseCalls;
        peerMinimised = on;
        minimisationStateChanged(on);
    }
    bool IsPeerMinimised() const override { return peerMinimised; }
    XView* FindMainWindow() const override { return mainWindow; }
};

/** A command that does nothing, bound to a hot key while it lives. */
class IdleCommand final : public XCommand
{
public:
    IdleCommand() : XCommand(XString("idle")) {}
    void Execute(XMessage*) override {}
    XString GetTitle() override { return "Idle"; }
    bool IsEnabled(XMessage*) override { return true; }
};

class PopupWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        // The settings store lives in a folder of the test's own, never in the user's settings.
        configHome = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", configFolder.Path());
        PlatformRegistry::Reset();
        SetMonitorList(&monitors);
    }
    void TearDown() override
    {
        SetMonitorList(nullptr);
        PlatformRegistry::Reset();
        configHome.reset();
    }

    static int32_t Stored(const char* window, const char* value)
    {
        XRegistrySettings settings(nullptr, nullptr);
        settings.PushKey(XPopupWindow::kWindowsKey);
        settings.PushKey(window);
        return settings.ReadInt(value, kAbsent);
    }
    static void Store(const char* window, const char* value, int32_t number)
    {
        XRegistrySettings settings(nullptr, nullptr);
        settings.PushKey(XPopupWindow::kWindowsKey);
        settings.PushKey(window);
        settings.WriteInt(value, number);
    }
    static void ApplyStyle(XPopupWindow& window, const char* style)
    {
        XMessage block;
        block.AddString("style", style);
        window.ReadAttributes(block);
    }

    TwoMonitors monitors;
    TestSupport::TempFolder configFolder;
    std::unique_ptr<ScopedEnvironment> configHome;
};

TEST_F(PopupWindowTest, StyleWordsSetTheirOptionsInAnyCaseAndOtherWordsChangeNothing)
{
    XPopupWindow window;
    ApplyStyle(window, "noclose,NoTitle");
    EXPECT_EQ(window.GetOptions().closable, 0);
    EXPECT_EQ(window.GetOptions().titled, 0);

    struct Case
    {
        const char* words;
        uint8_t XWindowOptions::*option;
        uint8_t value;
    };
    const Case cases[] = {{"NOZOOM", &XWindowOptions::zoomable, 0},
                          {"canMove", &XWindowOptions::movable, 1},
                          {"nohsize", &XWindowOptions::horizontallySizable, 0},
                          {"NoSize", &XWindowOptions::sizable, 0},
                          {" noframe ", &XWindowOptions::framed, 0},
                          {"FullScreen", &XWindowOptions::fullScreen, 1},
                          {"nosavewindowpos", &XWindowOptions::saveWindowPos, 0},
                          {"dragDrop", &XWindowOptions::dragDrop, 1},
                          {"modal", &XWindowOptions::modal, 1}};
    for (const Case& c : cases)
    {
        XWindowOptions options;
        EXPECT_TRUE(options.ApplyStyleWord(c.words)) << c.words;
        EXPECT_EQ(options.*c.option, c.value) << c.words;
    }

    const XWindowOptions defaults;
    XPopupWindow other;
    ApplyStyle(other, "sparkly,, nothing");
    EXPECT_EQ(std::memcmp(&other.GetOptions(), &defaults, sizeof defaults), 0);

    XMessage block;
    block.AddBool("saveWindowPos", false);
    other.ReadAttributes(block);
    EXPECT_EQ(other.GetOptions().saveWindowPos, 0);
}

TEST_F(PopupWindowTest, SizeLimitsKeepMaximumsAtLeastTheMinimumsAndClampTheSize)
{
    XPopupWindow window;
    window.SetFrameXYWH(10, 10, 500, 150);
    window.SetSizeLimits(300, 300, 100, 100);
    int32_t minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    window.GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    EXPECT_EQ(minWidth, 300);
    EXPECT_EQ(minHeight, 300);
    EXPECT_EQ(maxWidth, 300);
    EXPECT_EQ(maxHeight, 300);
    EXPECT_EQ(window.GetFrame(), XRect(10, 10, 310, 310));

    window.SetSizeLimits(-5, -5, 50, 40);
    window.GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    EXPECT_EQ(minWidth, 0);
    EXPECT_EQ(maxHeight, 40);
    EXPECT_EQ(window.GetFrame(), XRect(10, 10, 60, 50));
}

TEST_F(PopupWindowTest, InsetsFollowTheStyleTheBorderAndFullScreen)
{
    XPopupWindow native(XRect(20, 20, 320, 220), "insetsNative", nullptr);
    native.SetWindowStyle(XPopupWindow::kStyleNativeTitleBar);
    EXPECT_EQ(native.GetFrameInsets(), XRect(0, 0, 0, 0));
    EXPECT_EQ(native.GetFrameInsetsWithTitle(), XRect(0, 0, 0, 0));
    EXPECT_EQ(native.GetContentView(), &native);

    XPopupWindow drawn(XRect(20, 20, 320, 220), "insetsDrawn", nullptr);
    EXPECT_EQ(drawn.GetFrameInsets(), XRect(1, 1, 1, 1));
    EXPECT_EQ(drawn.GetFrameInsetsWithTitle(), XRect(1, 24, 1, 1));
    drawn.SetResizable(true);
    EXPECT_EQ(drawn.GetFrameInsets(), XRect(4, 4, 4, 4));
    drawn.Attach();
    drawn.Show();
    drawn.SetFullScreen(true);
    EXPECT_EQ(drawn.GetFrameInsets(), XRect(1, 1, 1, 1));

    XPopupWindow untitled(XRect(20, 20, 320, 220), "insetsUntitled", nullptr);
    ApplyStyle(untitled, "notitle");
    EXPECT_EQ(untitled.GetFrameInsetsWithTitle(), XRect(1, 1, 1, 1));
}

TEST_F(PopupWindowTest, ChildrenGoIntoTheContentViewWhichFillsTheWindowLessItsInsets)
{
    XPopupWindow window(XRect(20, 20, 320, 220), "content", nullptr);
    auto* child = new XView(XRect(5, 5, 50, 50));
    window.AddChild(child);
    XView* content = window.GetContentView();
    ASSERT_NE(content, &window);
    EXPECT_EQ(child->GetParentView(), content);
    EXPECT_STREQ(content->GetName().CStr(), XPopupWindow::kContentViewName);
    EXPECT_EQ(content->GetFrame(), XRect(1, 24, 299, 199));

    auto* fitted = new XView(XRect(0, 0, 120, 80));
    window.SetContentView(fitted, true, true);
    EXPECT_EQ(window.GetFrame().Width(), 122);
    EXPECT_EQ(window.GetFrame().Height(), 105);
    EXPECT_EQ(fitted->GetFrame(), XRect(1, 24, 121, 104));
}

TEST_F(PopupWindowTest, PositionsAreSavedOnlyWhenThereIsSomethingToSave)
{
    SeamWindow fixed(XRect(30, 40, 230, 140), "fixedPos");
    ApplyStyle(fixed, "nosize");
    fixed.SaveWindowPos();
    EXPECT_EQ(Stored("fixedPos", "left"), 30);
    EXPECT_EQ(Stored("fixedPos", "top"), 40);
    EXPECT_EQ(Stored("fixedPos", "right"), kAbsent) << "a window of fixed size keeps no right edge";
    EXPECT_EQ(Stored("fixedPos", "bottom"), kAbsent);
    EXPECT_EQ(Stored("fixedPos", "fullscreen"), 0);

    SeamWindow sizable(XRect(30, 40, 230, 140), "sizablePos");
    sizable.SaveWindowPos();
    EXPECT_EQ(Stored("sizablePos", "right"), 230);
    EXPECT_EQ(Stored("sizablePos", "bottom"), 140);

    SeamWindow empty(XRect(30, 40, 30, 140), "emptyPos");
    empty.SaveWindowPos();
    EXPECT_EQ(Stored("emptyPos", "left"), kAbsent);

    SeamWindow down(XRect(30, 40, 230, 140), "minimisedPos");
    down.Attach();
    down.SetMinimised(true);
    ASSERT_TRUE(down.IsMinimised());
    down.SaveWindowPos();
    EXPECT_EQ(Stored("minimisedPos", "left"), kAbsent);

    SeamWindow unsaved(XRect(30, 40, 230, 140), "unsavedPos");
    ApplyStyle(unsaved, "nosavewindowpos");
    unsaved.SaveWindowPos();
    EXPECT_EQ(Stored("unsavedPos", "left"), kAbsent);
}

TEST_F(PopupWindowTest, ASavedFrameIsRestoredOnlyOnAMonitorAndFullScreenComesBack)
{
    // On a monitor, pushed onto the screen: the negative top moves down to 0.
    Store("onScreen", "left", 100);
    Store("onScreen", "top", -20);
    Store("onScreen", "right", 400);
    Store("onScreen", "bottom", 280);
    SeamWindow onScreen(XRect(0, 0, 200, 100), "onScreen");
    onScreen.Attach();
    EXPECT_TRUE(onScreen.WasPositionRestored());
    EXPECT_EQ(onScreen.GetFrame(), XRect(100, 0, 400, 300));

    // In the gap between the two monitors: not applied.
    Store("offScreen", "left", 850);
    Store("offScreen", "top", 100);
    Store("offScreen", "right", 950);
    Store("offScreen", "bottom", 200);
    SeamWindow offScreen(XRect(10, 10, 210, 110), "offScreen");
    offScreen.Attach();
    EXPECT_FALSE(offScreen.WasPositionRestored());
    EXPECT_EQ(offScreen.GetFrame(), XRect(10, 10, 210, 110));
    EXPECT_FALSE(offScreen.IsFullScreen());

    // The same, saved full screen: the saved frame becomes the normal bounds.
    Store("offScreenFull", "left", 850);
    Store("offScreenFull", "top", 100);
    Store("offScreenFull", "right", 950);
    Store("offScreenFull", "bottom", 200);
    Store("offScreenFull", "fullscreen", 1);
    SeamWindow full(XRect(10, 10, 210, 110), "offScreenFull");
    full.Attach();
    EXPECT_FALSE(full.WasPositionRestored());
    EXPECT_TRUE(full.IsFullScreen());
    EXPECT_EQ(full.GetNormalBounds(), XRect(850, 100, 950, 200));
    EXPECT_EQ(full.GetFrame(), GetWindowArea(&full));

    // A fixed-size window keeps its size whatever was stored.
    Store("fixedRestore", "left", 50);
    Store("fixedRestore", "top", 60);
    Store("fixedRestore", "right", 900);
    SeamWindow fixed(XRect(0, 0, 200, 100), "fixedRestore");
    ApplyStyle(fixed, "nosize");
    fixed.Attach();
    EXPECT_EQ(fixed.GetFrame(), XRect(50, 60, 250, 160));

    // Never saved: nothing to restore, so the window may still centre on its parent.
    SeamWindow fresh(XRect(0, 0, 200, 100), "neverSaved");
    fresh.Attach();
    EXPECT_FALSE(fresh.WasPositionRestored());
}

TEST_F(PopupWindowTest, AMoveIsSavedOnceTheMovesSettleAndAFullScreenWindowSavesItsNormalBounds)
{
    SeamWindow window(XRect(100, 100, 300, 200), "movingPos");
    window.Attach();
    window.Show();
    Pump();
    for (int step = 1; step <= 5; ++step)
        window.setTopLeftPosition(100 + step * 10, 100);
    EXPECT_NE(Stored("movingPos", "left"), 150) << "writes wait for the moves to settle";
    ASSERT_TRUE(PumpUntil([] { return Stored("movingPos", "left") == 150; }, kWaitMs));
    EXPECT_EQ(Stored("movingPos", "visible"), 1);

    window.SetFullScreen(true);
    window.SaveWindowPos();
    EXPECT_EQ(Stored("movingPos", "left"), 150);
    EXPECT_EQ(Stored("movingPos", "right"), 350);
    EXPECT_EQ(Stored("movingPos", "fullscreen"), 1);
    window.SetFullScreen(false);
    EXPECT_EQ(window.GetFrame(), XRect(150, 100, 350, 200));
}

TEST_F(PopupWindowTest, MaximiseAndMinimiseKeepTheNormalBoundsAndTheActiveWindow)
{
    SeamWindow window(XRect(100, 100, 300, 200), "statesPos");
    window.Attach();
    window.Show();
    ASSERT_TRUE(window.IsActiveWindow());

    window.SetMaximised(true);
    EXPECT_TRUE(window.IsMaximised());
    EXPECT_EQ(window.GetFrame(), GetWindowArea(&window));
    EXPECT_EQ(window.GetNormalBounds(), XRect(100, 100, 300, 200));
    window.SetMaximised(false);
    EXPECT_EQ(window.GetFrame(), XRect(100, 100, 300, 200));

    window.SetMinimised(true);
    EXPECT_TRUE(window.IsMinimised());
    EXPECT_EQ(XPopupWindow::GetActiveWindow(), nullptr);
    window.SetMinimised(true);
    EXPECT_EQ(window.minimiseCalls, 1) << "no second request for the same state";
    window.Show(); // showing restores a minimised window
    EXPECT_FALSE(window.IsMinimised());
    EXPECT_TRUE(window.IsActiveWindow());

    XPopupWindow offDesktop(XRect(0, 0, 100, 100), "noPeer", nullptr);
    offDesktop.SetFullScreen(true);
    offDesktop.SetMaximised(true);
    EXPECT_FALSE(offDesktop.IsFullScreen());
    EXPECT_FALSE(offDesktop.IsMaximised());
}

TEST_F(PopupWindowTest, TitleBarBoxesCloseMaximiseAndMinimiseTheirWindow)
{
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    SeamWindow window(XRect(100, 100, 400, 300), "boxes");
    window.GetOptions().hasMaximizeButton = 1;
    window.GetOptions().hasMinimizeButton = 1;
    window.Attach();
    window.Show();
    ASSERT_NE(window.GetCloseBox(), nullptr);
    ASSERT_NE(window.GetMaximizeButton(), nullptr);
    ASSERT_NE(window.GetMinimizeButton(), nullptr);
    EXPECT_FALSE(window.GetCloseBox()->GetFrame().IsEmpty());
    EXPECT_LE(window.GetCloseBox()->GetFrame().bottom, 24) << "inside the title bar";

    XButton* maximise = window.GetMaximizeButton();
    maximise->MouseDown(XPoint(2, 2), XView::kButtonLeft);
    maximise->MouseUp(XPoint(2, 2), XView::kButtonLeft);
    EXPECT_TRUE(window.IsMaximised());
    maximise->MouseDown(XPoint(2, 2), XView::kButtonLeft);
    maximise->MouseUp(XPoint(2, 2), XView::kButtonLeft);
    EXPECT_FALSE(window.IsMaximised());

    XButton* minimise = window.GetMinimizeButton();
    minimise->MouseDown(XPoint(2, 2), XView::kButtonLeft);
    minimise->MouseUp(XPoint(2, 2), XView::kButtonLeft);
    EXPECT_TRUE(window.IsMinimised());
    window.Show();

    XCloseBox* close = window.GetCloseBox();
    close->MouseDown(XPoint(2, 2), XView::kButtonLeft);
    close->MouseUp(XPoint(2, 2), XView::kButtonLeft);
    EXPECT_TRUE(PumpUntil([&] { return !window.isVisible(); }, kWaitMs));
    EXPECT_EQ(Stored("boxes", "visible"), 0);
    XStyle::SetCurrentStyle(nullptr);
}

TEST_F(PopupWindowTest, EscapeClosesAPopupButNotTheMainWindowWhoseCloseAsksTheApplicationToQuit)
{
    Recorder quit("QuitRecorder");
    quit.Bind(XMsgCode::kQuitApplication);
    XMainWindow main(XRect(0, 0, 400, 300), "Main");
    EXPECT_EQ(main.GetWindowStyle(), 489);
    main.Attach();
    main.Show();
    XKeyInfo none = 0;
    EXPECT_FALSE(main.HandleKeyPress(XPopupWindow::kKeyEscape, none));
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.GetOptions().framed, 0);
    EXPECT_EQ(main.GetOptions().fixedTitleHeight, 1);
    EXPECT_EQ(main.GetTitleBarRect(), XRect(0, 0, 400, 40));

    main.userTriedToCloseWindow();
    ASSERT_TRUE(PumpUntil([&] { return !quit.messages.empty(); }, kWaitMs));
    EXPECT_TRUE(main.isVisible());

    SeamWindow popup(XRect(50, 50, 250, 150), "escapable");
    popup.Attach();
    popup.Show();
    EXPECT_TRUE(popup.HandleKeyPress(XPopupWindow::kKeyEscape, none));
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(popup.IsActiveWindow());
    XMessage show(XMsgCode::kShowWindow);
    popup.MessageReceived(show);
    EXPECT_TRUE(popup.isVisible());
    XMessage close(XMsgCode::kCloseWindow);
    popup.MessageReceived(close);
    EXPECT_FALSE(popup.isVisible());
}

TEST_F(PopupWindowTest, CtrlFTogglesFullScreenInASizableWindowAndTheKeyStillReachesTheCommands)
{
    std::unique_ptr<XCommandManager> ownManager;
    if (XCommandManager::GetProcessWide() == nullptr)
        ownManager = std::make_unique<XCommandManager>();
    XCommandManager* manager = XCommandManager::GetProcessWide();
    ASSERT_NE(manager, nullptr);
    IdleCommand idle;
    manager->AddCommand(&idle, "Global", "Ctrl+F");

    SeamWindow window(XRect(100, 100, 300, 200), "ctrlF");
    window.Attach();
    window.Show();
    XKeyInfo ctrl = XKeyMod::kCtrl;
    EXPECT_TRUE(window.HandleKeyPress(XPopupWindow::kKeyFullScreen, ctrl));
    EXPECT_TRUE(window.IsFullScreen());
    EXPECT_TRUE(window.HandleKeyPress(XPopupWindow::kKeyFullScreen, ctrl));
    EXPECT_FALSE(window.IsFullScreen());
    EXPECT_EQ(window.GetFrame(), XRect(100, 100, 300, 200));
    Pump();

    SeamWindow fixed(XRect(100, 100, 300, 200), "ctrlFFixed");
    ApplyStyle(fixed, "nosize");
    fixed.Attach();
    fixed.HandleKeyPress(XPopupWindow::kKeyFullScreen, ctrl);
    EXPECT_FALSE(fixed.IsFullScreen());
    Pump();
}

TEST_F(PopupWindowTest, WindowsAreListedWhileTheyLiveAndSecondaryOnesAreOwnedByTheMainWindow)
{
    const int32_t before = GetWindowCount();
    XMainWindow main(XRect(0, 0, 400, 300), "Owner");
    {
        SeamWindow secondary(XRect(50, 50, 250, 150), "owned");
        EXPECT_EQ(GetWindowCount(), before + 2);
        EXPECT_EQ(GetWindowAt(before + 1), &secondary);
        main.Attach();
        secondary.mainWindow = &main;
        secondary.Attach();
        ASSERT_NE(secondary.getPeer(), nullptr);
        EXPECT_EQ(PlatformWindowOwner::GetOwner(secondary.getPeer()->getNativeHandle()),
                  main.getPeer()->getNativeHandle());
        EXPECT_EQ(PlatformWindowOwner::GetOwner(main.getPeer()->getNativeHandle()), nullptr);
    }
    EXPECT_EQ(GetWindowCount(), before + 1);
}

TEST_F(PopupWindowTest, AWindowAddedToAViewGoesOnTheDesktopOwnedByThatViewAndIsDeletedWithIt)
{
    const int32_t before = GetWindowCount();
    {
        // As a "popupwindow" of a description: out of the view's children, on the desktop of its
        // own, its unhandled messages passing to the view, and gone with the view.
        auto owner = std::make_unique<XView>();
        owner->Attach();
        auto* window = new XPopupWindow();
        window->SetFrameXYWH(60, 60, 240, 160);
        owner->AddChild(window);
        ASSERT_TRUE(window->isOnDesktop());
        EXPECT_EQ(window->GetParentView(), nullptr);
        EXPECT_EQ(owner->getNumChildComponents(), 0);
        EXPECT_EQ(window->GetOwnerView(), owner.get());
        EXPECT_EQ(window->GetNextHandler(), owner.get());
        EXPECT_EQ(GetWindowCount(), before + 1);
        owner.reset();
        EXPECT_EQ(GetWindowCount(), before) << "deleted with its owner";
    }
    {
        // Deleted first by someone else: the owner that goes later no longer reaches it.
        XView owner;
        owner.Attach();
        auto* window = new XPopupWindow();
        owner.AddChild(window);
        delete window;
        EXPECT_EQ(GetWindowCount(), before);
    }
    {
        // One window described inside another goes with the outer one's content.
        auto* outer = new XPopupWindow();
        outer->Attach();
        auto* inner = new XPopupWindow();
        outer->AddChild(inner);
        ASSERT_TRUE(inner->isOnDesktop());
        EXPECT_EQ(inner->GetOwnerView(), outer->GetContentView());
        EXPECT_EQ(GetWindowCount(), before + 2);
        delete outer;
        EXPECT_EQ(GetWindowCount(), before);
    }
    {
        // A dialog's parent may go first: the window forgets it.
        auto parent = std::make_unique<XView>();
        XPopupWindow window(parent.get());
        EXPECT_EQ(window.GetParentWindowView(), parent.get());
        parent.reset();
        EXPECT_EQ(window.GetParentWindowView(), nullptr);
        window.Show();
    }
}

TEST_F(PopupWindowTest, ASelfDrawnWindowWithButtonsDrawsItsFrameTitleAndBoxes)
{
    ASSERT_TRUE(SkinTestSupport::UseBuiltSkin());
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    {
        SeamWindow window(XRect(60, 60, 420, 240), "Buttons and boxes");
        window.GetOptions().hasMaximizeButton = 1;
        window.GetOptions().hasMinimizeButton = 1;
        window.SetTitle("Buttons and boxes");
        window.AddChild(new XButton(XRect(20, 20, 110, 44), "Plain"));
        auto* lit = new XButton(XRect(130, 20, 220, 44), "Lit");
        lit->SetLitLabel("Lit!");
        window.AddChild(lit);
        lit->SetPosition(1);
        auto* skin = new XButton(XRect(20, 70, 21, 71), "Skin", "widgets\\buttons\\buttonup.png",
                                 "widgets\\buttons\\buttonlit.png", nullptr);
        EXPECT_EQ(skin->GetFrame(), XRect(20, 70, 100, 94));
        window.AddChild(skin);
        auto* imageLit = new XButton(XRect(130, 70, 131, 71), "On", "widgets\\buttons\\buttonup.png",
                                     "widgets\\buttons\\buttonlit.png", nullptr);
        window.AddChild(imageLit);
        imageLit->SetPosition(1);
        window.Attach();
        window.Show();
        Pump();
        EXPECT_EQ(skin->GetFrame(), XRect(20, 70, 100, 94));
        const juce::Image shot = GuiTestSupport::TakeScreenshot(window, "popup_window_buttons");
        ASSERT_TRUE(shot.isValid());
        EXPECT_EQ(shot.getWidth(), 360);
        // The title bar is drawn in the style's colour, not the window's background.
        EXPECT_NE(shot.getPixelAt(180, 12), shot.getPixelAt(180, 150));
        // The lit text button is drawn in the lit colour, the plain one in the dim colour.
        EXPECT_NE(shot.getPixelAt(60, 48), shot.getPixelAt(170, 48));
    }
    XStyle::SetCurrentStyle(nullptr);
}
} // namespace

namespace
{
TEST(PopupWindowDescriptions, RandomStyleListsAndItemsNeverBreakTheWindowOrButtonReaders)
{
    Application();
    juce::Random random(4711);
    const char* const words[] = {"noclose", "NOTITLE", "momentary", "repeatClick", "",
                                 " ",       ",",       "%d",        "fullscreen"};
    for (int round = 0; round < 300; ++round)
    {
        juce::String style;
        const int parts = random.nextInt(6);
        for (int part = 0; part < parts; ++part)
        {
            if (random.nextBool())
                style << words[random.nextInt(static_cast<int>(std::size(words)))];
            else
                for (int c = random.nextInt(12); c > 0; --c)
                    style << juce::String::charToString(
                        static_cast<juce::juce_wchar>(1 + random.nextInt(254)));
            style << (random.nextBool() ? "," : "");
        }
        XMessage block;
        block.AddString("style", style.toRawUTF8());
        block.AddString("imagename", style.toRawUTF8());
        block.AddInt32("currentArrayIndex", random.nextInt(5) - 2);
        block.AddString("label", style.toRawUTF8());
        XPopupWindow window;
        window.ReadAttributes(block);
        XButton button(XRect(0, 0, 10, 10), "random");
        button.ReadAttributes(block);
        EXPECT_EQ(button.GetFrame().left, 0);
    }
}
} // namespace
