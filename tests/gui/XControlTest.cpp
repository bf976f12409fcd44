#include "gui/XControl.h"

#include "ControlTestSupport.h"
#include "core/XMessageCodes.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/ViewFactory.h"
#include "gui/XColorPicker.h"
#include "gui/XText.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace
{
using ControlTest::HeldKey;
using ControlTest::PathParam;
using ControlTest::Recorder;
using ViewTest::Application;
using ViewTest::MakeParam;
using ViewTest::Pump;
using ViewTest::PumpUntil;

/** A parameter that claims to have no steps at all. */
class StepLessParam final : public FloatParam
{
public:
    StepLessParam() : FloatParam(MakeDesc()) {}
    uint32_t GetCount() const override { return 0; }

private:
    static XParamDesc MakeDesc()
    {
        XParamDesc desc;
        desc.SetName("StepLess");
        desc.type = XParamDesc::kTypeInteger;
        desc.max = 10;
        desc.count = 11;
        return desc;
    }
};

/** A root window on screen (shown, attached to the application) that owns the controls added. */
class ControlTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        root.SetFrameXYWH(0, 0, 300, 200);
        root.Show();
        root.Attach();
    }

    XControl* AddControl(int w, int h, XParam* param = nullptr)
    {
        auto* control = new XControl(XRect(10, 10, 10 + w, 10 + h), "control", param);
        root.AddChild(control);
        return control;
    }

    XView root;
};

TEST_F(ControlTree, ValueToPositionSpreadsTheStepsOverThePixelRange)
{
    struct Case
    {
        double max; // steps 0..max
        std::vector<int32_t> positions;
    };
    const Case cases[] = {{3, {0, 30, 60, 90}}, {2, {0, 30, 60}}, {1, {0, 45}}, {9, {0, 10, 20, 30}}};
    for (const Case& c : cases)
    {
        auto param = MakeParam(0, c.max);
        XControl* control = AddControl(90, 12);
        EXPECT_EQ(control->GetPixelRange(), 90);
        for (size_t value = 0; value < c.positions.size(); ++value)
        {
            param->SetValue(static_cast<double>(value), false);
            EXPECT_EQ(control->ValueToPosition(param.get()), c.positions[value])
                << "max " << c.max << " value " << value;
        }
    }
    XControl* control = AddControl(90, 12);
    EXPECT_EQ(control->ValueToPosition(nullptr), 0);
    StepLessParam stepLess;
    EXPECT_EQ(control->ValueToPosition(&stepLess), 0) << "no steps: no division by zero";
}

TEST_F(ControlTree, MoveByClampsLargeRangesAndWrapsRangesBelowTwo)
{
    struct Case
    {
        int range;
        int32_t start;
        int32_t steps;
        int32_t expected;
    };
    const Case cases[] = {{90, 3, -5, 0},  {90, 88, 5, 90}, {1, 1, 5, 0},    {1, 0, -5, 1},
                          {90, 10, -5, 5}, {90, 10, 5, 15}, {90, 10, 0, 10}, {0, 0, 1, 0},
                          {90, 5, -5, 0},  {90, 85, 5, 90}, {90, 0, -1, 0},  {2, 2, 1, 2}};
    for (const Case& c : cases)
    {
        XControl* control = AddControl(c.range, 0);
        control->SetPosition(c.start);
        control->MoveBy(c.steps);
        EXPECT_EQ(control->GetPosition(), c.expected)
            << "range " << c.range << " at " << c.start << " by " << c.steps;
    }
}

TEST_F(ControlTree, SetPositionEmitsOnceAndAHiddenControlTakesItAsDrawn)
{
    XControl* control = AddControl(50, 10);
    std::vector<uint32_t> emitted;
    control->GetPositionSignal().Connect([&](uint32_t p) { emitted.push_back(p); });
    control->SetPosition(20);
    control->SetPosition(20);
    EXPECT_EQ(emitted, std::vector<uint32_t>({20}));
    EXPECT_EQ(control->GetDrawnPosition(), 0) << "shown, so drawn only when painted";
    control->createComponentSnapshot(control->getLocalBounds());
    EXPECT_EQ(control->GetDrawnPosition(), 20);

    control->Hide();
    control->SetPosition(30);
    EXPECT_EQ(control->GetDrawnPosition(), 30);
}

TEST_F(ControlTree, TheBoundParameterMovesTheControlUntilItIsDestroyedOrRebound)
{
    auto param = MakeParam(0, 3);
    param->SetValue(2, false);
    XControl* control = AddControl(90, 10, param.get());
    EXPECT_EQ(control->GetPosition(), 60) << "watching tells the value at once";
    param->SetValue(3, true);
    EXPECT_EQ(control->GetPosition(), 90);

    auto other = MakeParam(0, 3);
    control->ParamChanged(static_cast<int32_t>(XMsgCode::kBindParam), other.get(), 0);
    EXPECT_EQ(control->GetPot(), other.get());
    EXPECT_EQ(control->GetPosition(), 0);
    param->SetValue(1, true);
    EXPECT_EQ(control->GetPosition(), 0) << "the old parameter is no longer watched";

    other->SetValue(3, true);
    EXPECT_EQ(control->GetPosition(), 90);
    other.reset();
    EXPECT_EQ(control->GetPot(), nullptr);
    EXPECT_EQ(control->GetPosition(), 0);

    control->SetOutputDisabled(true);
    control->SetPot(param.get());
    param->SetValue(2, true);
    EXPECT_EQ(control->GetPosition(), 0) << "outputDisabled ignores value notifications";
}

TEST_F(ControlTree, DisableParameterDisablesAtItsValuesAndAStyleWordDisablesForGood)
{
    PathParam mode("H31\\Mode", 0, 5, 0);
    struct Case
    {
        const char* values; // null: no "disableVals"
        std::vector<int> disabledAt;
    };
    const Case cases[] = {{nullptr, {0}}, {"2,3,x,4", {2, 3}}, {"5", {5}}};
    for (const Case& c : cases)
    {
        XControl* control = AddControl(20, 20);
        XMessage block;
        block.AddString("disableparam", "h31\\mode");
        if (c.values != nullptr)
            block.AddString("disableVals", c.values);
        control->ReadAttributes(block);
        EXPECT_EQ(control->GetDisableParam(), mode.param.get());
        for (int value = 0; value <= 5; ++value)
        {
            mode.param->SetValue(value, true);
            const bool disabled =
                std::find(c.disabledAt.begin(), c.disabledAt.end(), value) != c.disabledAt.end();
            EXPECT_EQ(control->IsDisabledByParam(), disabled)
                << (c.values ? c.values : "none") << " at " << value;
            EXPECT_EQ(control->WantsMouse(), !disabled);
        }
    }

    XControl* control = AddControl(20, 20);
    XMessage block;
    block.AddString("style", "nonTransparent, DISABLED");
    block.AddString("style", "notouch,softfocus,inputdisabled,outputDisabled");
    block.AddString("disableparam", "no\\such\\param");
    control->ReadAttributes(block);
    EXPECT_FALSE(control->IsEnabled());
    EXPECT_FALSE(control->HasTouch());
    EXPECT_TRUE(control->HasSoftFocus());
    EXPECT_TRUE(control->IsInputDisabled());
    EXPECT_TRUE(control->IsOutputDisabled());
    EXPECT_EQ(control->GetDisableParam(), nullptr) << "a missing path leaves no disable parameter";
}

TEST_F(ControlTree, LockModeAndLockedParametersDisableWithTheirTooltipsAndUnlockingClearsOnlyThose)
{
    auto param = MakeParam(0, 10);
    auto untouched = MakeParam(0, 10);
    XControl* first = AddControl(20, 20, param.get());
    XControl* second = AddControl(20, 20, param.get());
    XControl* tipped = AddControl(20, 20, untouched.get());
    tipped->SetTooltipText("Gain");
    param->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
    EXPECT_TRUE(first->IsEnabled()) << "nothing happens without the lock-mode parameter";

    PathParam lockMode(XControl::kLockModeParamPath, 0, 2, 1);
    param->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
    for (XControl* control : {first, second})
    {
        EXPECT_FALSE(control->IsEnabled());
        EXPECT_EQ(control->GetTooltipText(), XControl::kPresetLockedText);
    }

    lockMode.param->SetValue(0, false);
    param->SetFlags(XControl::kParamLockedFlag);
    param->Notify(static_cast<int32_t>(XMsgCode::kParamFlagsChanged));
    EXPECT_FALSE(first->IsEnabled());
    EXPECT_EQ(first->GetTooltipText(), XControl::kParamLockedText);

    param->SetFlags(0);
    param->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
    untouched->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
    for (XControl* control : {first, second})
    {
        EXPECT_TRUE(control->IsEnabled());
        EXPECT_EQ(control->GetTooltipText(), "");
    }
    EXPECT_EQ(tipped->GetTooltipText(), "Gain") << "another tooltip is kept";
    EXPECT_TRUE(tipped->IsEnabled());
}

TEST_F(ControlTree, ResetClickWheelAndHiliteFollowTheModifierKeys)
{
    auto param = MakeParam(0, 100);
    param->SetValue(50, false);
    XControl* control = AddControl(100, 10, param.get());
    EXPECT_TRUE(control->MouseDown(XPoint(5, 5), XView::kButtonLeft));
    EXPECT_EQ(param->GetValue(), 50) << "a plain click does not reset";
    {
        HeldKey ctrl("control");
        control->MouseDown(XPoint(5, 5), XView::kButtonLeft);
        EXPECT_EQ(param->GetValue(), 0) << "Ctrl-click resets to the default";
    }

    control->MouseWheel(XPoint(), 3);
    EXPECT_EQ(param->GetValue(), 15);
    control->MouseWheel(XPoint(), -1);
    EXPECT_EQ(param->GetValue(), 0);
    {
        HeldKey alt("alt");
        control->MouseWheel(XPoint(), 1);
        EXPECT_EQ(param->GetValue(), 2) << "Alt is the fine-wheel key";
    }

    control->SetControlEnabled(false);
    EXPECT_FALSE(control->MouseWheel(XPoint(), 1));
    EXPECT_EQ(param->GetValue(), 2);
    control->SetControlEnabled(true);
    control->SetHilite(false);
    EXPECT_FALSE(control->WantsMouse()) << "an unhilited control leaves the mouse to its parent";
    control->SetHilite(true);
    EXPECT_TRUE(control->WantsMouse());
}

TEST_F(ControlTree, DragScaleAndNormalisedPositionFollowStepsAndPixels)
{
    auto tenSteps = MakeParam(0, 9);
    auto onOff = MakeParam(0, 0);
    auto hundred = MakeParam(0, 99);
    XControl* control = AddControl(100, 10, tenSteps.get());
    EXPECT_FLOAT_EQ(control->GetDragScale(), 0.1f);
    control->SetPot(onOff.get());
    EXPECT_FLOAT_EQ(control->GetDragScale(), 0.02f) << "one step counts as two";
    control->SetPot(hundred.get());
    EXPECT_FLOAT_EQ(control->GetDragScale(), 1.0f);
    control->SetPot(tenSteps.get());
    {
        HeldKey shift("shift");
        EXPECT_FLOAT_EQ(control->GetDragScale(), 1.0f) << "Shift is the fine-drag key";
    }
    tenSteps->SetValue(9, true);
    EXPECT_FLOAT_EQ(control->GetNormalisedPosition(), 1.0f);
    EXPECT_FLOAT_EQ(AddControl(0, 0, tenSteps.get())->GetDragScale(), 1.0f) << "no pixels to divide by";

    control->SetPot(nullptr);
    EXPECT_FLOAT_EQ(control->GetDragScale(), 1.0f);
    control->SetPosition(25);
    EXPECT_FLOAT_EQ(control->GetNormalisedPosition(), 0.25f);
    control->SetPosition(250);
    EXPECT_FLOAT_EQ(control->GetNormalisedPosition(), 1.0f);
}

TEST_F(ControlTree, InvokeSendsTheDescribedMessageWithTheControlsItemsToItsTarget)
{
    Recorder target("h31Target");
    ASSERT_EQ(FindHandlerByPath("ViewTests\\h31Target"), &target);
    auto param = MakeParam(0, 3);
    param->SetValue(2, false);
    XControl* control = AddControl(90, 10);
    EXPECT_EQ(control->Invoke(), static_cast<int32_t>(0x80000001)) << "no message yet";

    XMessage block;
    block.AddInt32("message", 4242);
    block.AddString("target", "ViewTests\\h31Target");
    block.AddString("messageArgs", "gain=3,name=left");
    block.AddFloat("paramDelta", 0.5f);
    block.AddPointer("param", param.get());
    control->ReadAttributes(block);
    EXPECT_FLOAT_EQ(control->GetParamDelta(), 0.5f);
    EXPECT_EQ(control->GetPot(), param.get());
    ASSERT_EQ(control->Invoke(), 0);
    ASSERT_TRUE(PumpUntil([&] { return !target.messages.empty(); }, 5000));
    XMessage& sent = target.messages.front();
    EXPECT_EQ(sent.GetWhat(), 4242u);
    EXPECT_EQ(sent.GetPointer("source"), static_cast<XHandler*>(control));
    EXPECT_EQ(sent.GetInt32("value"), 60);
    EXPECT_FLOAT_EQ(sent.GetFloat("normalizedValue"), 2.0f / 3.0f);
    EXPECT_EQ(sent.GetPointer("pView"), &root);
    EXPECT_EQ(sent.GetInt32("gain"), 3);
    EXPECT_STREQ(sent.GetString("name"), "left");

    XMessage command;
    command.AddString("cmd", "quitCmd");
    control->ReadAttributes(command);
    ASSERT_NE(control->GetMessage(), nullptr);
    EXPECT_EQ(control->GetMessage()->GetWhat(), XMsgCode::kRunCommand);
    EXPECT_STREQ(control->GetMessage()->GetString("commandname"), "quitCmd");
}

TEST_F(ControlTree, SoftFocusPostsTheParameterAndLablSetsTheLabel)
{
    Recorder focus("h31Focus");
    focus.Bind(XControl::kFocusParamMessage);
    auto param = MakeParam(0, 3);
    XControl* control = AddControl(20, 20, param.get());
    control->FocusChanged(true);
    Pump();
    EXPECT_TRUE(focus.messages.empty()) << "without soft focus nothing is posted";

    XMessage block;
    block.AddString("style", "softfocus");
    control->ReadAttributes(block);
    control->FocusChanged(true);
    ASSERT_TRUE(PumpUntil([&] { return !focus.messages.empty(); }, 5000));
    EXPECT_EQ(focus.messages.front().GetPointer("pParam"), param.get());

    XMessage label(XControl::kSetLabelMessage);
    label.AddString("label", "Gain");
    control->MessageReceived(label);
    EXPECT_EQ(control->GetLabel(), "Gain");
}

TEST_F(ControlTree, ValuesSetAtOnceFromAWorkerWaitForTheRefreshPass)
{
    ControlRefreshQueue& queue = ControlRefreshQueue::Get();
    auto param = MakeParam(0, 3);
    XControl* shown = AddControl(90, 10, param.get());
    XControl* hidden = AddControl(90, 10, param.get());
    hidden->Hide();
    XControl* ignoring = AddControl(90, 10, param.get());
    ignoring->SetOutputDisabled(true);
    XControl* doomed = AddControl(90, 10, param.get());

    std::thread worker([&] { param->SetValueNow(3, true); });
    worker.join();
    EXPECT_EQ(shown->GetPosition(), 0) << "the worker never touches the control";
    EXPECT_EQ(queue.GetCount(), 2) << "only the visible controls that show values";
    std::thread again([&] { param->SetValueNow(2, true); });
    again.join();
    EXPECT_EQ(queue.GetCount(), 2) << "a control is queued once";

    root.RemoveChild(doomed);
    delete doomed;
    EXPECT_EQ(queue.GetCount(), 1) << "a destroyed control leaves the queue";
    queue.RefreshQueuedControls();
    EXPECT_EQ(queue.GetCount(), 0);
    EXPECT_EQ(shown->GetPosition(), 60);
    EXPECT_EQ(hidden->GetPosition(), 0);
    EXPECT_EQ(ignoring->GetPosition(), 0);
}

TEST_F(ControlTree, RefreshPassesRacingAWorkerEndOnTheLastValue)
{
    ControlRefreshQueue& queue = ControlRefreshQueue::Get();
    auto param = MakeParam(0, 89);
    std::vector<XControl*> controls;
    for (int i = 0; i < 4; ++i)
        controls.push_back(AddControl(90, 10, param.get()));
    std::atomic<bool> done{false};
    std::thread worker(
        [&]
        {
            for (int round = 0; round < 2000; ++round)
                param->SetValueNow(round % 90, true);
            param->SetValueNow(45, true);
            done.store(true);
        });
    while (!done.load())
        queue.RefreshQueuedControls();
    worker.join();
    queue.RefreshQueuedControls();
    for (XControl* control : controls)
        EXPECT_EQ(control->GetPosition(), 45);
}

TEST(ControlFactory, DescriptionsCreateTextsAndColourPickersByTypeWord)
{
    RegisterViewTypes();
    std::unique_ptr<XView> text(XView::CreateViewByName("Text"));
    std::unique_ptr<XView> picker(XView::CreateViewByName("colorpicker"));
    EXPECT_NE(dynamic_cast<XText*>(text.get()), nullptr);
    EXPECT_NE(dynamic_cast<XColorPicker*>(picker.get()), nullptr);
}
} // namespace
