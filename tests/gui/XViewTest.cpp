#include "ManualTickClock.h"
#include "SkinTestFiles.h"
#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "gui/IContextMenu.h"
#include "gui/JUCECanvas.h"
#include "gui/XResourceManager.h"
#include "gui/XViewCursors.h"
#include "platform/PlatformClock.h"
#include "support/TestSupport.h"
#include "support/gui/ViewTestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace
{
using ViewTest::Application;
using ViewTest::MakeParam;
using ViewTest::Pump;
using ViewTest::PumpUntil;

/** A framework mouse or key call as a view saw it. */
struct Call
{
    std::string what;
    XPoint point;
    int32_t value;
    bool operator==(const Call& other) const
    {
        return what == other.what && point == other.point && value == other.value;
    }
};

/** A view that records what reaches it, takes the mouse when asked to and hands on what it does not
    handle as the base view does. */
class Probe : public XView
{
public:
    bool wantsMouse = false;
    bool handles = false;
    bool handlesKeys = false;
    XParam* pot = nullptr;
    int32_t cursorTool = 0;
    std::vector<Call> calls;
    std::vector<int32_t> keyModifiers;
    std::vector<uint32_t> messages;
    std::vector<bool> focusChanges;
    int showCalls = 0;
    int hideCalls = 0;
    int repaintCalls = 0;

    bool WantsMouse() const override { return wantsMouse; }
    XParam* GetPot() const override { return pot; }
    int32_t GetCursorTool(const XPoint&) override { return cursorTool; }
    bool MouseDown(const XPoint& p, int32_t button) override
    {
        return Record("down", p, button) || XView::MouseDown(p, button);
    }
    bool MouseMoved(const XPoint& p, int32_t button) override
    {
        return Record("move", p, button) || XView::MouseMoved(p, button);
    }
    bool MouseUp(const XPoint& p, int32_t button) override
    {
        return Record("up", p, button) || XView::MouseUp(p, button);
    }
    bool MouseWheel(const XPoint& p, int32_t steps) override
    {
        return Record("wheel", p, steps) || XView::MouseWheel(p, steps);
    }
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override
    {
        calls.push_back({"key", XPoint(), keyCode});
        keyModifiers.push_back(modifiers);
        return handlesKeys;
    }
    void FocusViewChanged(bool focused) override { focusChanges.push_back(focused); }
    void Show() override
    {
        ++showCalls;
        XView::Show();
    }
    void Hide() override
    {
        ++hideCalls;
        XView::Hide();
    }
    void RepaintRect(const XRect& rect) override
    {
        if (IsOnGui())
            ++repaintCalls;
        XView::RepaintRect(rect);
    }
    void MessageReceived(XMessage& message) override
    {
        messages.push_back(message.GetWhat());
        XView::MessageReceived(message);
    }

private:
    /** Records the call; true when this view handles it. */
    bool Record(const char* what, const XPoint& p, int32_t value)
    {
        calls.push_back({what, p, value});
        return handles;
    }
    static bool IsOnGui() { return juce::MessageManager::existsAndIsCurrentThread(); }
};

juce::MouseEvent Event(juce::Component& component, int x, int y, juce::ModifierKeys mods = {})
{
    const juce::Point<float> position(static_cast<float>(x), static_cast<float>(y));
    const juce::Time now = juce::Time::getCurrentTime();
    return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                            juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &component,
                            &component, now, position, now, 1, false);
}

const juce::ModifierKeys kLeft(juce::ModifierKeys::leftButtonModifier);
const juce::ModifierKeys kRight(juce::ModifierKeys::rightButtonModifier);

/** A root view with children added under the application; the root owns them. */
class ViewTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        root.SetFrameXYWH(0, 0, 200, 200);
        root.Show();
        root.Attach();
    }

    Probe* Add(XView& parent, int x, int y, int w, int h)
    {
        auto* child = new Probe();
        child->SetFrameXYWH(x, y, w, h);
        parent.AddChild(child);
        return child;
    }

    Probe root;
};

// Layout ---------------------------------------------------------------------------------------------

TEST(XViewLayout, ChildrenFollowTheirParentsSizeByResizeMask)
{
    struct Case
    {
        uint32_t mask;
        int dw;
        int dh;
        XRect expected;
    };
    // The child sits at 40,40..60,60 in a 100 x 100 parent.
    const Case cases[] = {
        {0x2, 10, 0, {50, 40, 70, 60}},   {0x3, 10, 0, {40, 40, 70, 60}},  {0x10, 10, 0, {45, 40, 65, 60}},
        {0x1, 10, 0, {40, 40, 60, 60}},   {0x5, 10, 10, {40, 40, 60, 60}}, {0x8, 0, 10, {40, 50, 60, 70}},
        {0xC, 0, 10, {40, 40, 60, 70}},   {0x20, 0, 10, {40, 45, 60, 65}}, {0xF, 10, 10, {40, 40, 70, 70}},
        {0x11, 10, 0, {40, 40, 65, 60}},  {0x12, 10, 0, {45, 40, 70, 60}}, {0x2, -10, 0, {30, 40, 50, 60}},
        {0x40, 10, 10, {40, 40, 60, 60}},
    };
    Application();
    for (const Case& c : cases)
    {
        XView parent;
        parent.SetFrameXYWH(0, 0, 100, 100);
        auto* child = new XView();
        child->SetFrame({40, 40, 60, 60});
        child->SetResizeMask(c.mask);
        parent.AddChild(child);
        parent.SetFrameXYWH(0, 0, 100 + c.dw, 100 + c.dh);
        EXPECT_EQ(child->GetFrame(), c.expected) << "mask " << c.mask << " dw " << c.dw << " dh " << c.dh;
    }
}

TEST(XViewLayout, AParentWithoutSizeBeforeLaysNothingOutAndSizeChangesAreReported)
{
    Application();
    XView parent;
    struct Sized : XView
    {
        std::vector<std::pair<int, int>> changes;
        void SizeChanged(int32_t dw, int32_t dh) override { changes.emplace_back(dw, dh); }
    };
    auto* child = new Sized();
    child->SetFrame({10, 10, 30, 30});
    child->SetResizeMask(XView::kResizeRight);
    parent.AddChild(child); // the parent has no size yet
    parent.SetFrameXYWH(0, 0, 100, 100);
    EXPECT_EQ(child->GetFrame(), XRect(10, 10, 30, 30));
    child->GrowBy(5, 0);
    EXPECT_EQ(child->changes, (std::vector<std::pair<int, int>>{{20, 20}, {5, 0}}));
}

// Mouse -----------------------------------------------------------------------------------------------

TEST_F(ViewTree, WheelIncrementsBecomeWholeStepsThatReachTheParentView)
{
    Probe* panel = Add(root, 10, 20, 100, 100);
    Probe* knob = Add(*panel, 5, 5, 20, 20);
    panel->handles = true;
    struct Case
    {
        float increment;
        int32_t steps;
    };
    for (const Case c : {Case{0.3f, 1}, Case{-0.3f, -1}, Case{1.7f, 2}, Case{-2.0f, -2}})
    {
        panel->calls.clear();
        juce::MouseWheelDetails wheel{};
        wheel.deltaY = c.increment;
        knob->mouseWheelMove(Event(*knob, 3, 4), wheel);
        EXPECT_EQ(panel->calls, (std::vector<Call>{{"wheel", {8, 9}, c.steps}})) << c.increment;
    }
    panel->calls.clear();
    juce::MouseWheelDetails still{};
    knob->mouseWheelMove(Event(*knob, 3, 4), still);
    EXPECT_TRUE(panel->calls.empty()) << "a zero step goes nowhere";
}

TEST_F(ViewTree, UnhandledMouseEventsClimbToTheParentsInTheirCoordinates)
{
    Probe* panel = Add(root, 10, 20, 100, 100);
    Probe* label = Add(*panel, 5, 5, 40, 20);
    panel->wantsMouse = true;
    root.handles = true;

    // The label does not want the mouse: JUCE's events go to the panel in the panel's coordinates.
    label->mouseDown(Event(*label, 1, 2, kLeft));
    label->mouseDrag(Event(*label, 3, 4, kLeft));
    label->mouseUp(Event(*label, 3, 4, kLeft));
    label->mouseMove(Event(*label, 7, 8));
    // The panel passes them on unhandled: the root gets them in its own coordinates.
    const std::vector<Call> expected = {
        {"down", {6, 7}, 1}, {"move", {8, 9}, 1}, {"up", {8, 9}, 1}, {"move", {12, 13}, 255}};
    EXPECT_EQ(panel->calls, expected);
    std::vector<Call> atRoot = expected;
    for (Call& call : atRoot)
        call.point = XPoint(call.point.x + 10, call.point.y + 20);
    EXPECT_EQ(root.calls, atRoot);
    EXPECT_TRUE(label->calls.empty());
}

TEST_F(ViewTree, ReleaseWithoutButtonFlagsAndDoubleClickReplay)
{
    Probe* button = Add(root, 10, 10, 50, 20);
    button->wantsMouse = true;
    button->handles = true;
    button->mouseDown(Event(*button, 5, 5, kRight));
    button->mouseUp(Event(*button, 5, 5)); // inside the window
    button->mouseDown(Event(*button, 5, 5, kRight));
    button->mouseUp(Event(*button, 500, 5)); // outside: the pressed button
    EXPECT_EQ(juce::MouseEvent::getDoubleClickTimeout(), XView::kDoubleClickTimeoutMs);
    EXPECT_EQ(button->calls[1], (Call{"up", {5, 5}, 0}));
    EXPECT_EQ(button->calls[3], (Call{"up", {500, 5}, 2}));

    struct Clicker : Probe
    {
        std::vector<bool> replayed;
        bool MouseDown(const XPoint& p, int32_t b) override
        {
            replayed.push_back(XView::IsDoubleClickInProgress());
            return Probe::MouseDown(p, b);
        }
    };
    auto* clicker = new Clicker();
    clicker->wantsMouse = true;
    clicker->handles = true;
    clicker->SetFrameXYWH(0, 50, 20, 20);
    root.AddChild(clicker);
    clicker->mouseDown(Event(*clicker, 1, 1, kLeft));
    clicker->mouseDoubleClick(Event(*clicker, 1, 1, kLeft));
    EXPECT_EQ(clicker->replayed, (std::vector<bool>{false, true}));
    EXPECT_FALSE(XView::IsDoubleClickInProgress());
    EXPECT_EQ(clicker->calls.back().what, "up");
}

TEST_F(ViewTree, RightClickPopsTheNearestContextMenuAtScreenCoordinates)
{
    struct Menu : IContextMenu
    {
        std::vector<XPoint> shown;
        void Popup(const XPoint& screenPoint, IViewContainer*) override { shown.push_back(screenPoint); }
    } menu;
    Probe* panel = Add(root, 10, 20, 100, 100);
    Probe* knob = Add(*panel, 5, 5, 20, 20);
    knob->wantsMouse = true;
    panel->SetContextMenu(&menu);
    knob->mouseDown(Event(*knob, 2, 3, kRight));
    ASSERT_EQ(menu.shown.size(), 1u);
    const juce::Point<int> expected = panel->localPointToGlobal(juce::Point<int>(7, 8));
    EXPECT_EQ(menu.shown[0], XPoint(expected.x, expected.y));
}

TEST_F(ViewTree, WaitCursorSwallowsPressesAndTheInspectorSeesEveryPress)
{
    ViewTest::FakeServices services;
    Probe* knob = Add(root, 0, 0, 20, 20);
    knob->wantsMouse = true;
    knob->handles = true;
    knob->mouseDown(Event(*knob, 1, 1, kLeft));
    services.waitCursorOn = true;
    knob->mouseDown(Event(*knob, 1, 1, kLeft));
    EXPECT_EQ(knob->calls.size(), 1u);
    EXPECT_EQ(services.selected, (std::vector<XView*>{knob}));
}

// Keys ------------------------------------------------------------------------------------------------

TEST_F(ViewTree, KeysGoToTheFocusViewThenUpItsParentsThenToTheHotKeysOnce)
{
    Probe* panel = Add(root, 0, 0, 100, 100);
    Probe* field = Add(*panel, 0, 0, 50, 20);
    field->FocusChanged(true);
    ASSERT_EQ(root.GetFocusView(), field);

    panel->handlesKeys = true;
    Application().hotKeys.clear();
    EXPECT_TRUE(root.keyPressed(juce::KeyPress('q')));
    EXPECT_EQ(field->calls.size(), 1u);
    EXPECT_EQ(panel->calls.size(), 1u);
    EXPECT_TRUE(root.calls.empty()) << "a handled key goes no further";
    EXPECT_TRUE(Application().hotKeys.empty());

    panel->handlesKeys = false;
    PlatformClock::Sleep(120); // not a repeat
    EXPECT_TRUE(field->keyPressed(juce::KeyPress('q', juce::ModifierKeys::ctrlModifier, 0)));
    EXPECT_EQ(root.calls.size(), 1u);
    EXPECT_EQ(Application().hotKeys, (std::vector<std::pair<int32_t, int32_t>>{{'q', 0xC}}));
}

TEST_F(ViewTree, SameKeyWithin50MsCarriesTheRepeatBitAndCapsInvertsShiftOnLetters)
{
    Probe* field = Add(root, 0, 0, 50, 20);
    field->FocusChanged(true);
    auto press = [&](int key, int mods = 0)
    {
        field->keyModifiers.clear();
        root.keyPressed(juce::KeyPress(key, juce::ModifierKeys(mods), 0));
        return field->keyModifiers.at(0);
    };
    PlatformClock::Sleep(120);
    EXPECT_EQ(press('x'), 0);
    EXPECT_EQ(press('x'), XKeyMod::kRepeat);
    PlatformClock::Sleep(120);
    EXPECT_EQ(press('x'), 0);
    EXPECT_EQ(press('y'), 0);

    // The text entry's caps parameter, once made, stays registered for the process.
    XParam* caps = FindParam("keyboard\\caps");
    std::unique_ptr<FloatParam> ownCaps;
    if (caps == nullptr)
    {
        ownCaps = MakeParam(0, 1);
        ASSERT_TRUE(ownCaps->SetPath("keyboard\\caps"));
        caps = ownCaps.get();
    }
    caps->SetValue(1, false);
    PlatformClock::Sleep(120);
    EXPECT_EQ(press('a'), XKeyMod::kShift);
    PlatformClock::Sleep(120);
    EXPECT_EQ(press('A', juce::ModifierKeys::shiftModifier), 0);
    PlatformClock::Sleep(120);
    EXPECT_EQ(press('1'), 0) << "only letters";
    caps->SetValue(0, false);
    PlatformClock::Sleep(120);
    EXPECT_EQ(press('b'), 0);
}

TEST_F(ViewTree, AKeyHandledByAViewNeverReachesTheWindowsKeyListener)
{
    struct Listener : juce::KeyListener
    {
        int heard = 0;
        bool keyPressed(const juce::KeyPress&, juce::Component*) override
        {
            ++heard;
            return true;
        }
    } listener;
    XView window;
    window.SetFrameXYWH(100, 100, 200, 100);
    window.addKeyListener(&listener);
    window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    window.Show();
    auto* field = new Probe();
    field->SetFrameXYWH(10, 10, 50, 20);
    field->setWantsKeyboardFocus(true);
    field->handlesKeys = true;
    window.AddChild(field);
    field->FocusChanged(true);
    if (!PumpUntil([&] { return field->hasKeyboardFocus(false); }, 3000))
        GTEST_SKIP() << "the display gives no keyboard focus";

    window.getPeer()->handleKeyPress(juce::KeyPress('z'));
    EXPECT_EQ(field->calls.size(), 1u);
    EXPECT_EQ(listener.heard, 0);
    window.removeKeyListener(&listener);
}

// Focus -----------------------------------------------------------------------------------------------

TEST_F(ViewTree, FocusMovesBetweenViewsAndIsForgottenWhenAViewGoes)
{
    Probe* first = Add(root, 0, 0, 20, 20);
    Probe* second = Add(root, 30, 0, 20, 20);
    std::vector<std::pair<XView*, bool>> signalled;
    first->GetFocusSignal().Connect([&](XView* v, bool f) { signalled.emplace_back(v, f); });
    second->GetFocusSignal().Connect([&](XView* v, bool f) { signalled.emplace_back(v, f); });

    first->FocusChanged(true);
    second->FocusChanged(true);
    EXPECT_EQ(root.GetFocusView(), second);
    EXPECT_EQ(first->focusChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(second->focusChanges, (std::vector<bool>{true}));
    EXPECT_EQ(signalled,
              (std::vector<std::pair<XView*, bool>>{{first, true}, {first, false}, {second, true}}));
    EXPECT_TRUE(second->HasKeyFocus());

    root.RemoveChild(second);
    delete second;
    EXPECT_EQ(root.GetFocusView(), nullptr);
    first->FocusChanged(true);
    delete first; // a deleted focus view leaves its window
    EXPECT_EQ(root.GetFocusView(), nullptr);
}

// Visibility bound to a parameter ---------------------------------------------------------------------

TEST_F(ViewTree, ShowParameterShowsAndHidesWithoutRedundantCalls)
{
    auto param = MakeParam(0, 3);
    auto* view = new Probe();
    view->SetShowParam(param.get(), 1);
    EXPECT_EQ(view->hideCalls, 0) << "a view not yet shown needs no Hide";
    root.AddChild(view);
    EXPECT_FALSE(view->isVisible());
    const int showsAfterAdd = view->showCalls;
    const int hidesAfterAdd = view->hideCalls;

    param->SetValue(1, true);
    EXPECT_TRUE(view->isVisible());
    param->SetValue(2, true);
    param->SetValue(3, true);
    EXPECT_FALSE(view->isVisible());
    param->SetValue(1, true);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->showCalls - showsAfterAdd, 2);
    EXPECT_EQ(view->hideCalls - hidesAfterAdd, 1);

    BitArray values;
    values.Set(2, true);
    values.Set(3, true);
    view->SetShowValues(values);
    param->SetValue(3, true);
    EXPECT_TRUE(view->isVisible());

    param.reset(); // the view forgets a parameter that goes
    EXPECT_EQ(view->GetShowParam(), nullptr);
}

TEST_F(ViewTree, ChildAddedHiddenStaysHiddenAndPassesUnhandledMessagesToItsParent)
{
    auto* hidden = new Probe();
    hidden->SetAddVisible(false);
    root.AddChild(hidden);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(hidden->showCalls, 0);
    EXPECT_EQ(hidden->GetParentView(), &root);

    constexpr uint32_t kCustom = FourCharCode("tst1");
    XMessage message(kCustom, 0);
    hidden->PostMessage(&message);
    ASSERT_TRUE(PumpUntil([&] { return !root.messages.empty(); }, 5000));
    EXPECT_EQ(hidden->messages, (std::vector<uint32_t>{kCustom}));
    EXPECT_EQ(root.messages, (std::vector<uint32_t>{kCustom}));

    XMessage close(XMsgCode::kCloseRequested, 0);
    auto* shown = Add(root, 0, 0, 10, 10);
    shown->PostMessage(&close);
    ASSERT_TRUE(PumpUntil([&] { return !shown->messages.empty(); }, 5000));
    EXPECT_FALSE(shown->isVisible());
}

TEST_F(ViewTree, ShowParameterSetFromAWorkerIsAppliedOnTheGuiThread)
{
    auto param = MakeParam(0, 3);
    Probe* view = Add(root, 0, 0, 10, 10);
    view->SetShowParam(param.get(), 2);
    EXPECT_FALSE(view->isVisible());
    std::thread worker([&] { param->SetValue(2, true); });
    worker.join();
    EXPECT_FALSE(view->isVisible()) << "nothing touched the component off the GUI thread";
    EXPECT_TRUE(PumpUntil([&] { return view->isVisible(); }, 5000));
}

// Repainting from other threads -----------------------------------------------------------------------

TEST_F(ViewTree, InvalidateRectFromAWorkerDoesNothingWhileInvlRepaintsOnTheGuiThread)
{
    Probe* view = Add(root, 0, 0, 50, 50);
    std::atomic<int> posted{0};
    std::thread worker(
        [&]
        {
            view->InvalidateRect(XRect(0, 0, 10, 10));
            XMessage invalidate(XView::kInvalidateMessage, 0);
            if (view->PostMessage(&invalidate) == 0)
                posted.fetch_add(1);
        });
    worker.join();
    EXPECT_EQ(posted.load(), 1);
    EXPECT_EQ(view->repaintCalls, 0);
    EXPECT_TRUE(PumpUntil([&] { return view->repaintCalls == 1; }, 5000));

    view->InvalidateRect(XRect(0, 0, 10, 10));
    EXPECT_EQ(view->repaintCalls, 2) << "on the GUI thread it repaints";
}

// Swipe -----------------------------------------------------------------------------------------------

/** Three like controls in a column (or a row), each bound to its own parameter 0..10. */
class Swipe : public ViewTree
{
protected:
    void Build(bool column)
    {
        for (int i = 0; i < 3; ++i)
        {
            params.push_back(MakeParam(0, 10));
            auto* control = column ? Add(root, 20, 20 + 30 * i, 40, 20) : Add(root, 20 + 50 * i, 20, 40, 20);
            control->wantsMouse = true;
            control->handles = true;
            control->SetSwipeable(true);
            control->SetName("gain");
            control->pot = params.back().get();
            controls.push_back(control);
            changes.push_back(0);
            const size_t index = changes.size() - 1;
            params.back()->GetSignal().Connect([this, index](XParam*) { ++changes[index]; });
        }
    }
    /** A drag of the first control to x, y in its own coordinates. */
    void DragTo(int x, int y) { controls[0]->mouseDrag(Event(*controls[0], x, y, kLeft)); }

    // Declared first so that it outlives the parameters, whose last notification it counts.
    std::vector<int> changes;
    std::vector<std::unique_ptr<FloatParam>> params;
    std::vector<Probe*> controls;
};

TEST_F(Swipe, DragLeavingTheAnchorChangesEachAlignedControlOnceSkippingThoseAtTheValue)
{
    Build(true);
    params[0]->SetValue(7, false);
    params[2]->SetValue(7, false);
    changes.assign(3, 0);
    root.SetSwipeAnchor(controls[0]);

    DragTo(10, 10);
    DragTo(39, 19); // the anchor's edges count as inside
    EXPECT_EQ(changes, (std::vector<int>{0, 0, 0}));

    DragTo(10, 75); // over the third control
    EXPECT_EQ(changes, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(params[1]->GetValue(), 7.0);
    params[1]->SetValue(3, false);
    changes.assign(3, 0);
    DragTo(10, 40);
    DragTo(10, 75);
    EXPECT_EQ(changes, (std::vector<int>{0, 0, 0})) << "each control once per swipe";
}

TEST_F(Swipe, RowSwipesOnlyLikeNamedSwipeableControlsAndANewAnchorStartsAgain)
{
    Build(false);
    params[0]->SetValue(4, false);
    controls[2]->SetName("pan");
    changes.assign(3, 0);
    root.SetSwipeAnchor(controls[0]);
    DragTo(150, 5);
    EXPECT_EQ(changes, (std::vector<int>{0, 1, 0}));

    root.SetSwipeAnchor(nullptr);
    DragTo(100, 5);
    EXPECT_EQ(changes, (std::vector<int>{0, 1, 0})) << "no anchor, no swipe";
    controls[1]->SetSwipeable(false);
    root.SetSwipeAnchor(controls[1]);
    EXPECT_EQ(root.GetSwipeAnchor(), nullptr) << "only swipeable views anchor a swipe";
}

// Timers and the overlay ------------------------------------------------------------------------------

TEST_F(ViewTree, OverlaySlidesOutOnItsTimerAndGoesWithItsCompanion)
{
    struct Companion : XOverlayCompanion
    {
        explicit Companion(bool& goneIn) : gone(goneIn) {}
        ~Companion() override { gone = true; }
        bool& gone;
    };
    bool companionGone = false;
    Probe* host = Add(root, 0, 0, 100, 100);
    auto* overlay = new XView();
    overlay->SetFrameXYWH(0, 0, 100, 30);
    const int32_t viewsBefore = XView::CountLiveViews();
    host->SetOverlay(overlay, std::make_unique<Companion>(companionGone), XPoint(0, -20));
    host->StartTimer(XView::kOverlayTimerId, 5, false);
    ASSERT_TRUE(PumpUntil([&] { return host->GetOverlay() == nullptr; }, 5000));
    EXPECT_TRUE(companionGone);
    EXPECT_EQ(XView::CountLiveViews(), viewsBefore - 1);
    EXPECT_EQ(host->getNumChildComponents(), 0);
}

TEST_F(ViewTree, AOneShotTimerStoppedAfterItFiredAndStartedAgainFiresAgain)
{
    struct Ticking : Probe
    {
        std::vector<int32_t> ticks;
        void HandleTimer(int32_t timerId) override { ticks.push_back(timerId); }
    };
    constexpr int32_t kLitTimerId = 0x6C6974;
    ViewTest::ManualTickClock clock;
    auto* view = new Ticking();
    view->SetFrameXYWH(0, 0, 10, 10);
    root.AddChild(view);
    view->StartTimer(kLitTimerId, 10, true);
    clock.Advance(10);
    ASSERT_EQ(view->ticks, std::vector<int32_t>{kLitTimerId});

    view->StopTimer(kLitTimerId);
    view->StartTimer(kLitTimerId, 10, true);
    Pump(); // turns before the new timer is due
    clock.Advance(10);
    EXPECT_EQ(view->ticks, (std::vector<int32_t>{kLitTimerId, kLitTimerId}));

    view->StartTimer(kLitTimerId, 10, true);
    view->StopTimer(kLitTimerId);
    clock.Advance(10);
    EXPECT_EQ(view->ticks.size(), 2u) << "a timer stopped before it fell due never fires";
}

// Cursors ---------------------------------------------------------------------------------------------

TEST_F(ViewTree, CursorToolsMapToStandardAndSkinCursors)
{
    TestSupport::TempFolder skin;
    ASSERT_EQ(XViewCursors::WriteImages(juce::File(skin.Child("Cursors"))), XViewCursors::kImageCount);
    XResourceManager& resources = GetResourceManager();
    const XString previousBase = resources.GetBaseFolder();
    resources.SetBaseFolder(skin.Path().c_str());

    Probe* view = Add(root, 0, 0, 20, 20);
    using Cursor = juce::MouseCursor;
    const struct
    {
        int32_t tool;
        Cursor::StandardCursorType type;
    } standard[] = {{0, Cursor::NormalCursor},          {1, Cursor::IBeamCursor},
                    {3, Cursor::CrosshairCursor},       {4, Cursor::WaitCursor},
                    {7, Cursor::LeftRightResizeCursor}, {8, Cursor::UpDownResizeCursor},
                    {28, Cursor::PointingHandCursor},   {99, Cursor::NormalCursor}};
    for (const auto& entry : standard)
    {
        view->cursorTool = entry.tool;
        EXPECT_TRUE(view->getMouseCursor() == Cursor(entry.type)) << entry.tool;
    }
    view->cursorTool = XViewCursors::kToolDraggingHand;
    EXPECT_TRUE(view->getMouseCursor() == view->getMouseCursor()) << "one drawn hand, made once";
    EXPECT_FALSE(view->getMouseCursor() == Cursor(Cursor::NormalCursor));
    for (int i = 0; i < XViewCursors::kImageCount; ++i)
    {
        const XCursorImage& image = XViewCursors::GetImage(i);
        view->cursorTool = image.tool;
        const Cursor cursor = view->getMouseCursor();
        EXPECT_FALSE(cursor == Cursor(Cursor::NormalCursor)) << image.fileName;
        EXPECT_TRUE(cursor == resources.GetCursor(image.fileName, image.hotSpotX, image.hotSpotY))
            << image.fileName;
    }

    ViewTest::FakeServices services;
    services.waitCursorOn = true;
    EXPECT_TRUE(view->getMouseCursor() == Cursor(Cursor::WaitCursor));
    services.cursorShown = false;
    EXPECT_TRUE(view->getMouseCursor() == Cursor(Cursor::NoCursor));
    resources.SetBaseFolder(previousBase);
}

TEST(XViewCursors, PicturesHaveInkAtTheirHotSpotsAndAreShownInAGallery)
{
    struct Gallery : juce::Component
    {
        void paint(juce::Graphics& g) override
        {
            g.fillAll(juce::Colour(0xFF2B3540));
            for (int i = 0; i < XViewCursors::kImageCount; ++i)
            {
                const XCursorImage& image = XViewCursors::GetImage(i);
                const int x = 8 + i * 48;
                g.drawImageAt(XViewCursors::DrawImage(i), x, 8);
                g.setColour(juce::Colours::red);
                g.fillRect(x + image.hotSpotX, 8 + image.hotSpotY, 1, 1);
                g.setColour(juce::Colours::lightgrey);
                g.setFont(9.0f);
                g.drawText(image.fileName, x - 8, 44, 48, 12, juce::Justification::centred);
            }
        }
    } gallery;
    gallery.setSize(8 + XViewCursors::kImageCount * 48, 60);
    GuiTestSupport::TakeScreenshot(gallery, "view-cursors");

    for (int i = 0; i < XViewCursors::kImageCount; ++i)
    {
        const XCursorImage& image = XViewCursors::GetImage(i);
        const juce::Image picture = XViewCursors::DrawImage(i);
        EXPECT_EQ(picture.getWidth(), XViewCursors::kImageSize);
        const juce::Rectangle<int> around(image.hotSpotX - 2, image.hotSpotY - 2, 5, 5);
        bool inked = false;
        for (int y = around.getY(); y < around.getBottom(); ++y)
            for (int x = around.getX(); x < around.getRight(); ++x)
                inked =
                    inked || (picture.getBounds().contains(x, y) && picture.getPixelAt(x, y).getAlpha() > 0);
        EXPECT_TRUE(inked) << image.fileName << " draws nothing near its hot spot";
        EXPECT_EQ(XViewCursors::FindImage(image.tool), &image);
    }
}

// Drawing ---------------------------------------------------------------------------------------------

TEST_F(ViewTree, DrawErasesInTheBackColourUnlessTransparentAndPreparesTheCanvas)
{
    XView view;
    view.SetFrameXYWH(0, 0, 40, 30);
    view.Show();
    view.SetBackColor(XRGB(10, 120, 200));
    view.SetForeColor(XRGB(1, 2, 3));
    view.SetJustification(XView::kJustifyCentred);
    JUCECanvas canvas(40, 30);
    view.Draw(canvas);
    EXPECT_EQ(canvas.GetForeColor(), XRGB(1, 2, 3));
    EXPECT_EQ(canvas.GetJustification(), XView::kJustifyCentred);
    EXPECT_NE(canvas.GetFont(), nullptr);

    juce::Image picture = view.createComponentSnapshot(view.getLocalBounds());
    EXPECT_EQ(picture.getPixelAt(20, 15), juce::Colour(10, 120, 200));
    view.SetTransparent(true);
    EXPECT_FALSE(view.isOpaque());
    juce::Image clear(juce::Image::ARGB, 40, 30, true);
    {
        juce::Graphics g(clear);
        view.paintEntireComponent(g, false);
    }
    EXPECT_EQ(clear.getPixelAt(20, 15).getAlpha(), 0);
}

TEST_F(ViewTree, LabelsTranslateAndTakeTheirNumberAndFindChildSearchesByName)
{
    Probe* panel = Add(root, 0, 0, 50, 50);
    Probe* knob = Add(*panel, 0, 0, 10, 10);
    knob->SetName("knob");
    panel->SetName("panel");
    knob->SetLabel("Output %1", 4);
    EXPECT_EQ(knob->GetLabel(), "Output 4");
    EXPECT_EQ(root.FindChild("panel", false), panel);
    EXPECT_EQ(root.FindChild("knob", false), nullptr);
    EXPECT_EQ(root.FindChild("knob", true), knob);
    EXPECT_EQ(knob->GetWindow(), &root);
    EXPECT_EQ(root.GetWindow(), &root);
}

TEST_F(ViewTree, AChildMovedToAnotherParentLeavesTheOldSlotsAndCanBeAddedHidden)
{
    Probe* left = Add(root, 0, 0, 50, 50);
    Probe* right = Add(root, 60, 0, 50, 50);
    Probe* knob = Add(*left, 0, 0, 10, 10);
    knob->FocusChanged(true);
    ASSERT_EQ(root.GetFocusView(), knob);
    right->AddChild(knob, true);
    EXPECT_EQ(knob->GetParentView(), right);
    EXPECT_EQ(knob->getParentComponent(), right);
    EXPECT_EQ(root.GetFocusView(), nullptr);
    EXPECT_FALSE(knob->isVisible());
    EXPECT_TRUE(knob->GetAddVisible()) << "the hidden add does not change the flag";
    knob->SetLabel("Ch %1", false);
    EXPECT_EQ(knob->GetLabel(), "Ch %1") << "an untranslated label is kept as it is";
}

TEST_F(ViewTree, DeletingAParentDeletesItsChildViews)
{
    const int32_t before = XView::CountLiveViews();
    Probe* panel = Add(root, 0, 0, 50, 50);
    Add(*panel, 0, 0, 10, 10);
    Add(*panel, 10, 0, 10, 10);
    EXPECT_EQ(XView::CountLiveViews(), before + 3);
    root.RemoveChild(panel);
    delete panel;
    EXPECT_EQ(XView::CountLiveViews(), before);
}
} // namespace
