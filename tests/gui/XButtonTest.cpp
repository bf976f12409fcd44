#include "gui/XButton.h"

#include "ControlTestSupport.h"
#include "core/ChildScenario.h"
#include "core/XKeyPress.h"
#include "core/XMessageCodes.h"
#include "gui/GuiHelpers.h"
#include "gui/ViewFactory.h"
#include "gui/XCloseBox.h"
#include "gui/XResourceManager.h"
#include "gui/XSynchBlinker.h"
#include "gui/XToggleSwitch.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
using ControlTest::HeldKey;
using ControlTest::Recorder;
using ViewTest::Application;
using ViewTest::MakeParam;
using ViewTest::Pump;
using ViewTest::PumpUntil;

constexpr uint32_t kClickCode = FourCharCode("clik");
constexpr int kWaitMs = 5000;

/** The edit event types a parameter saw, in order. */
std::vector<int32_t>& SeenEvents()
{
    static std::vector<int32_t> events;
    return events;
}

bool RecordEvent(XParam*, XParamEvent* event, int32_t)
{
    SeenEvents().push_back(event->type);
    return true;
}

/** Counts the emissions of one of a button's signals. */
struct SignalCount
{
    explicit SignalCount(XSignal<>& signal)
    {
        signal.Connect([this] { ++count; });
    }
    int count = 0;
};

/** Buttons in a shown, attached root view that owns them. */
class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        SeenEvents().clear();
        root.SetFrameXYWH(0, 0, 300, 200);
        root.Show();
        root.Attach();
    }

    XButton* AddButton(XParam* param = nullptr)
    {
        auto* button = new XButton(XRect(10, 10, 90, 34), "button");
        root.AddChild(button);
        if (param != nullptr)
            button->SetPot(param);
        return button;
    }

    /** The button sends kClickCode to the recorder when clicked. */
    void GiveMessage(XButton* button)
    {
        button->SetMessage(new XMessage(kClickCode));
        button->SetTarget(&recorder, nullptr);
    }

    int SentClicks() const
    {
        int count = 0;
        for (const XMessage& message : recorder.messages)
            count += message.GetWhat() == kClickCode ? 1 : 0;
        return count;
    }

    static void Press(XButton* button, const XPoint& point = XPoint(5, 5))
    {
        button->MouseDown(point, XView::kButtonLeft);
    }
    static void Release(XButton* button, const XPoint& point = XPoint(5, 5))
    {
        button->MouseUp(point, XView::kButtonLeft);
    }

    XView root;
    Recorder recorder{"ButtonRecorder"};
};

TEST_F(ButtonTest, AMomentaryButtonHoldsItsParameterAtOneBetweenBeginAndEndOfAnEditAndSendsNoClick)
{
    auto param = MakeParam(0, 1);
    param->SetEventCallback(&RecordEvent, 0);
    XButton* button = AddButton(param.get());
    button->SetMomentary(true);
    SignalCount clicked(button->GetClickedSignal());

    Press(button);
    EXPECT_EQ(param->GetValue(), 1.0);
    EXPECT_TRUE(param->IsEditing());
    Release(button);
    EXPECT_EQ(param->GetValue(), 0.0);
    EXPECT_FALSE(param->IsEditing());
    ASSERT_FALSE(SeenEvents().empty());
    EXPECT_EQ(SeenEvents().front(), XParamEvent::kBeginEdit);
    EXPECT_EQ(SeenEvents().back(), XParamEvent::kEndEdit);
    Pump();
    EXPECT_EQ(SentClicks(), 0);
    EXPECT_EQ(clicked.count, 1) << "the signal still tells of the release inside";
}

TEST_F(ButtonTest, AMomentaryButtonDisabledOrDestroyedWhileHeldStillFinishesItsEdit)
{
    auto param = MakeParam(0, 1);
    XButton* button = AddButton(param.get());
    button->SetMomentary(true);
    Press(button);
    ASSERT_EQ(param->GetValue(), 1.0);
    button->SetControlEnabled(false);
    EXPECT_EQ(param->GetValue(), 0.0);
    EXPECT_FALSE(param->IsEditing());
    EXPECT_FALSE(button->IsPressed());

    button->SetControlEnabled(true);
    Press(button);
    ASSERT_EQ(param->GetValue(), 1.0);
    root.RemoveChild(button);
    delete button;
    EXPECT_EQ(param->GetValue(), 0.0);
    EXPECT_FALSE(param->IsEditing());
}

TEST_F(ButtonTest, AMatchValueButtonSetsItsValueAndIsLitExactlyWhileTheParameterHoldsIt)
{
    auto param = MakeParam(0, 5);
    XButton* button = AddButton();
    XMessage block;
    block.AddInt32("matchvalue", 3);
    button->ReadAttributes(block);
    button->SetPot(param.get());
    ASSERT_TRUE(button->IsMatchMode());

    Press(button);
    Release(button);
    EXPECT_EQ(param->GetValue(), 3.0);
    EXPECT_TRUE(button->IsLit(button->GetPosition()));
    for (double value : {0.0, 2.0, 4.0, 5.0})
    {
        param->SetValue(value, true);
        EXPECT_FALSE(button->IsLit(button->GetPosition())) << value;
    }
    param->SetValue(3.0, true);
    EXPECT_TRUE(button->IsLit(button->GetPosition()));
}

TEST_F(ButtonTest, ASteppingButtonBlinksFromTwoOnAndLeavesTheBlinkerWhenBelowOrDestroyed)
{
    auto param = MakeParam(0, 3);
    XButton* button = AddButton(param.get());
    XSynchBlinker& blinker = XSynchBlinker::Get();

    Press(button);
    Release(button);
    EXPECT_EQ(param->GetValue(), 1.0);
    EXPECT_FALSE(button->IsBlinking());
    Press(button);
    Release(button);
    EXPECT_EQ(param->GetValue(), 2.0);
    EXPECT_TRUE(button->IsBlinking());
    EXPECT_TRUE(blinker.Contains(button));

    // The shared phase flips on the blinker's 300 ms timer and the button's lit state follows it.
    const bool phase = blinker.IsPhaseOff();
    ASSERT_TRUE(PumpUntil([&] { return blinker.IsPhaseOff() != phase; }, kWaitMs));
    EXPECT_EQ(button->IsLit(button->GetPosition()), !blinker.IsPhaseOff());

    param->SetValue(1.0, true);
    EXPECT_FALSE(button->IsBlinking());
    EXPECT_FALSE(blinker.Contains(button));

    param->SetValue(3.0, true);
    ASSERT_TRUE(blinker.Contains(button));
    root.RemoveChild(button);
    delete button;
    EXPECT_FALSE(blinker.Contains(button)) << "a destroyed button must not stay in the blinker";
    Pump(); // the blinker's next beats touch only live buttons
}

TEST_F(ButtonTest, TheBlinkerGoesWhenJuceShutsDownAndAButtonDestroyedAfterLeavesItAlone)
{
    // In a child process, since the shut-down ends JUCE for the rest of the program.
    ChildScenario::ExpectPasses(
        [this]
        {
            int failures = 0;
            auto param = MakeParam(0, 3);
            XButton* button = AddButton(param.get());
            param->SetValue(2.0, true);
            SCENARIO_CHECK(button->IsBlinking());
            SCENARIO_CHECK(XSynchBlinker::Exists());

            juce::shutdownJuce_GUI();
            SCENARIO_CHECK(!XSynchBlinker::Exists());
            root.RemoveChild(button);
            delete button;
            return failures;
        });
}

TEST_F(ButtonTest, AReleaseInsideClicksAndAReleaseOutsideOnlyReleases)
{
    XButton* button = AddButton();
    GiveMessage(button);
    SignalCount released(button->GetReleasedSignal());
    SignalCount clicked(button->GetClickedSignal());
    SignalCount started(button->GetPressStartedSignal());

    Press(button);
    EXPECT_EQ(button->GetPosition(), 1);
    Release(button, XPoint(200, 5));
    Pump();
    EXPECT_EQ(button->GetPosition(), 0);
    EXPECT_EQ(released.count, 1);
    EXPECT_EQ(clicked.count, 0);
    EXPECT_EQ(SentClicks(), 0);

    Press(button);
    Release(button, XPoint(80, 24)); // the bottom-right edge still counts as inside
    EXPECT_TRUE(PumpUntil([&] { return SentClicks() == 1; }, kWaitMs));
    EXPECT_EQ(released.count, 2);
    EXPECT_EQ(clicked.count, 1);
    EXPECT_EQ(started.count, 2);
}

TEST_F(ButtonTest, WithModifierCareACtrlClickOnlyEmitsCtrlClicked)
{
    auto param = MakeParam(0, 3);
    XButton* bound = AddButton(param.get());
    XButton* plain = AddButton();
    GiveMessage(plain);
    for (XButton* button : {bound, plain})
        button->SetCaresAboutModifiers(true);
    HeldKey ctrl("control");
    for (XButton* button : {bound, plain})
    {
        SignalCount ctrlClicked(button->GetCtrlClickedSignal());
        SignalCount altClicked(button->GetAltClickedSignal());
        SignalCount shiftClicked(button->GetShiftClickedSignal());
        Press(button);
        Release(button);
        EXPECT_EQ(ctrlClicked.count, 1);
        EXPECT_EQ(altClicked.count + shiftClicked.count, 0);
    }
    Pump();
    EXPECT_EQ(param->GetValue(), 0.0);
    EXPECT_FALSE(param->IsEditing());
    EXPECT_EQ(SentClicks(), 0);
}

TEST_F(ButtonTest, ReturnClicksAnUnboundButtonButNotWithCtrlHeld)
{
    XButton* button = AddButton();
    GiveMessage(button);
    XKeyInfo ctrl = XKeyMod::kCtrl;
    EXPECT_FALSE(button->HandleKeyPress(XButton::kKeyReturn, ctrl));
    Pump();
    EXPECT_EQ(SentClicks(), 0);

    XKeyInfo none = 0;
    EXPECT_TRUE(button->HandleKeyPress(XButton::kKeyReturn, none));
    EXPECT_TRUE(PumpUntil([&] { return SentClicks() == 1; }, kWaitMs));
    EXPECT_EQ(button->GetPosition(), 0);
}

TEST_F(ButtonTest, ARepeatButtonClicksWhileHeldInsidePausesOutsideAndClicksOnceOnRelease)
{
    // The repeat reads the real pointer: the button goes on the desktop and the pointer over it.
    XView window;
    window.SetFrameXYWH(40, 40, 200, 100);
    window.Attach();
    auto* button = new XButton(XRect(10, 10, 90, 34), "repeat");
    window.AddChild(button);
    window.addToDesktop(0);
    window.Show();
    GiveMessage(button);
    button->SetRepeatClick(true);
    Pump();
    const juce::Point<int> inside = button->localPointToGlobal(juce::Point<int>(20, 10));
    SetMousePosition(inside.x, inside.y);
    ASSERT_TRUE(PumpUntil([&] { return button->getMouseXYRelative() == juce::Point<int>(20, 10); }, kWaitMs));

    Press(button);
    ASSERT_TRUE(PumpUntil([&] { return SentClicks() >= 2; }, kWaitMs)) << "a click every 200 ms";

    SetMousePosition(inside.x + 300, inside.y + 300);
    ASSERT_TRUE(
        PumpUntil([&] { return !button->getLocalBounds().contains(button->getMouseXYRelative()); }, kWaitMs));
    Pump();
    const int outside = SentClicks();
    GuiTestSupport::RunLoopFor(600);
    Application().PumpMessages();
    EXPECT_EQ(SentClicks(), outside) << "no clicks while the pointer is off the button";

    Release(button);
    EXPECT_TRUE(PumpUntil([&] { return SentClicks() == outside + 1; }, kWaitMs));
    GuiTestSupport::RunLoopFor(500);
    Application().PumpMessages();
    EXPECT_EQ(SentClicks(), outside + 1) << "the repeat stops with the release";
    window.removeFromDesktop();
}

TEST_F(ButtonTest, AMainImageSizesTheFrame)
{
    ASSERT_TRUE(SkinTestSupport::UseBuiltSkin());

    XButton button(XRect(10, 5, 100, 100), "sized");
    button.SetImage("widgets\\buttons\\smallbuttonup.png", "widgets\\buttons\\smallbuttonlit.png", nullptr);
    EXPECT_EQ(button.GetFrame(), XRect(10, 5, 50, 25));
    EXPECT_NE(button.GetImage2(), nullptr);

    XButton fromBlock(XRect(10, 5, 11, 6), "block");
    XMessage block;
    block.AddString("imagename", "widgets\\buttons\\smallbutton%d.png");
    block.AddInt32("currentArrayIndex", 7);
    block.AddString("imagename", "widgets\\buttons\\smallbuttonup.png");
    fromBlock.ReadAttributes(block);
    EXPECT_EQ(fromBlock.GetImage(), nullptr) << "smallbutton7 is no image";
    EXPECT_NE(fromBlock.GetImage2(), nullptr);
}

TEST_F(ButtonTest, DescriptionsSetStylesColoursLabelsAndTheLabelFrame)
{
    XButton* button = AddButton();
    XMessage block;
    block.AddString("style", "MOMENTARY,nofocus");
    block.AddString("style", "RepeatClick, unknownWord");
    block.AddBool("doesntLightUp", true);
    block.AddBool("drawLabel", true);
    block.AddString("litLabel", "On");
    block.AddRect("labelFrame", XRect(2, 3, 40, 20));
    block.AddString("color2", "10,20,30");
    button->ReadAttributes(block);
    EXPECT_TRUE(button->IsMomentary());
    EXPECT_TRUE(button->IsNoFocus());
    EXPECT_TRUE(button->IsRepeatClick());
    EXPECT_TRUE(button->DoesntLightUp());
    EXPECT_STREQ(button->GetLitLabel().CStr(), "On");
    EXPECT_STREQ(button->GetLabelFor(true).CStr(), "On");
    EXPECT_STREQ(button->GetLabelFor(false).CStr(), "button");
    EXPECT_EQ(button->GetLabelRect(), XRect(2, 3, 40, 20));
    EXPECT_EQ(button->GetFaceColor(true), XRGB(10, 20, 30));
    button->SetDrawLabel(false);
    EXPECT_STREQ(button->GetLabelFor(true).CStr(), "");
}

TEST_F(ButtonTest, TheFactoryMakesButtonsSwitchesAndToggleSwitchesInAnyCase)
{
    RegisterViewTypes();
    for (const char* word : {"button", "SWITCH", "toggleSwitch", "TOGGLESWITCH"})
    {
        std::unique_ptr<XView> view(XView::CreateViewByName(word));
        EXPECT_NE(dynamic_cast<XButton*>(view.get()), nullptr) << word;
    }
    std::unique_ptr<XView> toggle(XView::CreateViewByName("togglesWITCH"));
    EXPECT_NE(dynamic_cast<XToggleSwitch*>(toggle.get()), nullptr);
}

TEST_F(ButtonTest, AToggleSwitchReportsThePressItselfAndTheClickOnRelease)
{
    auto* toggle = new XToggleSwitch(XRect(10, 40, 60, 60), "toggle");
    root.AddChild(toggle);
    GiveMessage(toggle);
    Press(toggle);
    ASSERT_TRUE(PumpUntil([&] { return SentClicks() == 1; }, kWaitMs));
    bool isDown = false;
    EXPECT_EQ(recorder.messages.back().FindBool("isDown", isDown), 0);
    EXPECT_TRUE(isDown);
    Release(toggle);
    ASSERT_TRUE(PumpUntil([&] { return SentClicks() == 2; }, kWaitMs));
    EXPECT_NE(recorder.messages.back().FindBool("isDown", isDown), 0) << "the click has no isDown";

    toggle->SetControlEnabled(false);
    Press(toggle);
    Pump();
    EXPECT_EQ(SentClicks(), 2) << "a disabled switch reports nothing";
}

TEST_F(ButtonTest, TheButtonPropertiesReadAndWriteAsText)
{
    XButton* button = AddButton();
    const XClassPropertyTable* table = XButton::GetClassPropertyTable();
    EXPECT_STREQ(table->GetClassName().CStr(), "XButton");
    EXPECT_FALSE(button->GetCaresAboutModifiers());
    EXPECT_TRUE(button->GetShouldMoveWhenPressed());
    XProperty* cares = button->FindProperty("CaresAboutModifiers");
    ASSERT_NE(cares, nullptr);
    cares->SetFromVariant(XVariant("true"));
    EXPECT_TRUE(button->GetCaresAboutModifiers());
    EXPECT_STREQ(button->FindProperty("ShouldMoveWhenPressed")->GetValue().ToString().CStr(), "true");
}
} // namespace
