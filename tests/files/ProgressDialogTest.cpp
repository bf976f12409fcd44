#include "core/FloatParam.h"

#include "FileViewSkin.h"
#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "files/FileViewTypes.h"
#include "files/ITask.h"
#include "files/XProgressDialog.h"
#include "files/XTaskDialog.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/ViewFactory.h"
#include "gui/XButton.h"
#include "gui/XStyle.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
using GuiTestSupport::ModalDialogDriver;

constexpr int kWaitMs = 10000;
/** Ends a run that went wrong with 2 instead of hanging the test; longer than a task's hold. */
constexpr int32_t kRunBoundMs = 45000;
using M = juce::ModifierKeys;

/** A task of some steps that records which ran; one step may fail, one may hold until it is
    aborted or released (bounded, so that a lost abort fails the test instead of hanging it). */
class ScriptedTask final : public ITask
{
public:
    static constexpr int kHoldLimitMs = 30000;
    static constexpr const char* kNoAbortText = "Held until the limit: no abort came.";

    explicit ScriptedTask(int32_t count) : count(count) {}

    int32_t GetStepCount() override { return count; }
    int32_t RunStep(int32_t step, XString& error) override
    {
        ran.push_back(step);
        if (XParam* busy = ParamRegistry::Find(XProgressDialog::kBusyParamPath))
            busyWhileRunning.push_back(busy->GetValue());
        textSignal.Emit("Copying D:\\Music\\a.wav...");
        progressSignal.Emit(static_cast<float>(step + 1) / static_cast<float>(count));
        if (step == holdAt)
        {
            holding.store(true);
            const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHoldLimitMs);
            while (!IsAborted() && !release.load() && std::chrono::steady_clock::now() < limit)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (IsAborted())
            {
                error = "The user aborted the task.";
                return kFailed;
            }
            if (!release.load())
            {
                error = kNoAbortText;
                return kFailed;
            }
        }
        if (step == failAt)
        {
            error.Format("Step %d broke.", step + 1);
            return kFailed;
        }
        return kOk;
    }
    void End() override
    {
        // Late on purpose: a run that returned before joining its worker would miss this.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ended = true;
    }

    int32_t count;
    int32_t failAt = -1;
    int32_t holdAt = -1;
    std::vector<int32_t> ran;
    std::vector<double> busyWhileRunning;
    std::atomic<bool> ended{false};
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
};

/** Turns the application's looper and shows the values workers set, every 10 ms while a modal loop
    runs, as the GUI application's own pump and refresh tick do. */
class AppPump final : private juce::Timer
{
public:
    AppPump() { startTimer(10); }
    ~AppPump() override { stopTimer(); }

private:
    void timerCallback() override
    {
        ViewTest::Application().PumpMessages();
        ControlRefreshQueue::Get().RefreshQueuedControls();
    }
};

/** Lets progress dialogs run and answers every other dialog with OK, recording its text. */
class ProgressDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!UseFileViewSkin(style))
            GTEST_SKIP() << "build the target krx_skin";
        busy = ViewTest::MakeParam(0, 2, "busy");
        ParamRegistry::Register(busy.get(), XString(XProgressDialog::kBusyParamPath));
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                if (dynamic_cast<XProgressDialog*>(&dialog) != nullptr)
                    return progressAnswer;
                auto* box = dynamic_cast<XOKDialog*>(&dialog);
                answered.push_back(box != nullptr ? std::string(box->GetDialogTitle().CStr()) + "|" +
                                                        box->GetText().CStr()
                                                  : std::string(dialog.GetClassNameText()));
                return XDialog::kOK;
            });
    }

    void TearDown() override
    {
        XDialog::SetAnswerHook({});
        if (busy != nullptr)
            ParamRegistry::Unregister(busy.get(), XString(XProgressDialog::kBusyParamPath));
        XStyle::SetCurrentStyle(nullptr);
    }

    XStyle style;
    std::unique_ptr<FloatParam> busy;
    std::vector<std::string> answered;
    /** What progress dialogs are answered with at once; 0 lets them run. */
    XDialogResult progressAnswer = XDialog::kNotEnded;
};
} // namespace

TEST_F(ProgressDialogTest, TheSlotsMoveTheBarAndTheLine)
{
    XProgressDialog dialog(XString("Working"), XString("Working..."), nullptr, false);
    struct Case
    {
        const char* name;
        std::function<void()> act;
        int32_t percent;
    };
    const Case cases[] = {
        {"fraction above 1", [&] { dialog.SetProgressFraction(1.7f); }, 100},
        {"fraction below 0", [&] { dialog.SetProgressFraction(-0.2f); }, 0},
        {"fraction truncated", [&] { dialog.SetProgressFraction(0.499f); }, 49},
        {"ratio over no total", [&] { dialog.SetProgressRatio(3, 0); }, 100},
        {"ratio of the copy", [&] { dialog.SetProgressRatio(2, 3); }, 66},
        {"negative percent", [&] { dialog.SetProgress(-5); }, 100},
        {"reset", [&] { dialog.ResetProgress(); }, 0},
        {"step to 95", [&] { dialog.StepProgress(95, false); }, 95},
        {"step past the end", [&] { dialog.StepProgress(10, false); }, 100},
        {"step wrapping at the end", [&] { dialog.StepProgress(10, true); }, 10},
    };
    for (const Case& c : cases)
    {
        c.act();
        EXPECT_EQ(dialog.GetProgress(), c.percent) << c.name;
    }
    dialog.SetProgressText("Copying D:\\a");
    EXPECT_STREQ(dialog.GetProgressText().CStr(), "Copying D|\\a");
}

TEST_F(ProgressDialogTest, ATaskFailingAtItsSecondStepEndsWithItsReason)
{
    ScriptedTask task(3);
    task.failAt = 1;
    XTaskDialog dialog(XString("Restoring..."), XString("Restoring disk 1 of 1."), &task, nullptr, false);
    double busyAfterwards = -1.0;
    XDialogResult result = XDialog::kNotEnded;
    result = dialog.RunModal(nullptr, 0);
    busyAfterwards = busy->GetValue();
    EXPECT_EQ(result, XDialog::kNo);
    EXPECT_EQ(task.ran, (std::vector<int32_t>{0, 1})) << "the third step never runs";
    EXPECT_TRUE(task.ended.load()) << "the worker ended before the run returned";
    EXPECT_EQ(answered,
              (std::vector<std::string>{"Error|The task was unable to complete successfully.\r\nIt failed "
                                        "because:\r\n\tStep 2 broke."}));
    EXPECT_EQ(task.busyWhileRunning, (std::vector<double>{2.0, 2.0}));
    EXPECT_EQ(busyAfterwards, 0.0);
}

TEST_F(ProgressDialogTest, WithoutABarNothingStarts)
{
    XProgressDialog dialog(XString("Working"), XString("Working..."), nullptr, false);
    dialog.SetDescriptionPath(XString("Dialogs\\OKDialog.txt"));
    int starts = 0;
    dialog.startSignal.Connect([&] { ++starts; });
    std::vector<double> busyAtAnswer;
    XDialog::SetAnswerHook(
        [&](XDialog&)
        {
            busyAtAnswer.push_back(busy->GetValue());
            return XDialog::kOK;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kOK);
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(busyAtAnswer, std::vector<double>{0.0});

    // With the bar: the start signals come once, level 3 first.
    XProgressDialog started(XString("Working"), XString("Working..."), nullptr, false);
    std::vector<std::string> order;
    started.startLevelSignal.Connect([&](uint32_t level)
                                     { order.push_back("level " + std::to_string(level)); });
    started.startSignal.Connect([&] { order.push_back("start"); });
    busyAtAnswer.clear();
    EXPECT_EQ(started.RunModal(nullptr, 0), XDialog::kOK);
    EXPECT_EQ(order, (std::vector<std::string>{"level 3", "start"}));
    EXPECT_EQ(busyAtAnswer, std::vector<double>{2.0});
    EXPECT_EQ(busy->GetValue(), 0.0);
}

TEST_F(ProgressDialogTest, AbortClickedInARunningTaskEndsItWithTheAbortFailureAfterTheWorkerIsJoined)
{
    // Every dialog on screen, clicked as the user would: Abort in the task dialog, then OK in the box.
    XDialog::SetAnswerHook({});
    ScriptedTask task(3);
    task.holdAt = 1;
    XTaskDialog dialog(XString("Restoring..."), XString("Restoring disk 1 of 1."), &task, nullptr, true);
    AppPump pump;
    std::vector<std::string> clicked;
    std::string boxText;
    ModalDialogDriver driver(
        [&](juce::Component& modal)
        {
            auto* box = dynamic_cast<XOKDialog*>(&modal);
            auto* button =
                box != nullptr ? dynamic_cast<XButton*>(box->FindView(XOKDialog::kOKButtonName)) : nullptr;
            if (button == nullptr || !button->isShowing())
                return false;
            if (box == &dialog)
            {
                if (!task.holding.load() || !clicked.empty())
                    return false;
                // Mid-task: the bar at 2 of 3 steps and the worker's line, as the next refresh shows them.
                ControlRefreshQueue::Get().RefreshQueuedControls();
                GuiTestSupport::TakeScreenshot(dialog, "progress_dialog");
            }
            else
                boxText = std::string(box->GetDialogTitle().CStr()) + "|" + box->GetText().CStr();
            // Only the mouse: the click's message reaches the dialog through the application's turns.
            GuiTestSupport::PeerMouse mouse(*box);
            const juce::Point<int> centre = button->getLocalBounds().getCentre();
            mouse.Send(*button, centre, M(M::leftButtonModifier));
            mouse.Send(*button, centre, M());
            clicked.emplace_back(box->GetDialogTitle().CStr());
            return box != &dialog;
        });
    const XDialogResult result = dialog.RunModal(nullptr, kRunBoundMs);
    EXPECT_EQ(clicked, (std::vector<std::string>{"Restoring...", "Error"}));
    EXPECT_EQ(result, XDialog::kNo);
    EXPECT_TRUE(task.ended.load()) << "the worker ended before the run returned";
    EXPECT_EQ(task.ran, (std::vector<int32_t>{0, 1})) << "the step after the aborted one never runs";
    EXPECT_EQ(boxText, "Error|The task was unable to complete successfully.\r\nIt failed because:\r\n\tThe "
                       "user aborted the task.");
    EXPECT_EQ(busy->GetValue(), 0.0);
}

TEST_F(ProgressDialogTest, ReturnEscapeAndTheCloseRequestLeaveARunningTaskUp)
{
    struct Case
    {
        const char* name;
        std::function<void(XTaskDialog&)> deliver;
    };
    const Case cases[] = {
        {"Return",
         [](XTaskDialog& d) { d.getPeer()->handleKeyPress(juce::KeyPress(juce::KeyPress::returnKey)); }},
        {"Escape",
         [](XTaskDialog& d) { d.getPeer()->handleKeyPress(juce::KeyPress(juce::KeyPress::escapeKey)); }},
        {"the window manager's close", [](XTaskDialog& d) { d.getPeer()->handleUserClosingWindow(); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScriptedTask task(2);
        task.holdAt = 0;
        XTaskDialog dialog(XString("Restoring..."), XString("Restoring disk 1 of 1."), &task, nullptr, true);
        AppPump pump;
        bool delivered = false;
        bool upAfterwards = false;
        ModalDialogDriver driver(
            [&](juce::Component& modal)
            {
                if (&modal != &dialog || !task.holding.load() || dialog.getPeer() == nullptr)
                    return false;
                c.deliver(dialog);
                delivered = true;
                ViewTest::Pump();
                upAfterwards = dialog.GetResult() == XDialog::kNotEnded && dialog.isCurrentlyModal(false) &&
                               dialog.isShowing();
                // The worker goes on and ends the dialog the one way left to it.
                task.release = true;
                return true;
            });
        const XDialogResult result = dialog.RunModal(nullptr, kRunBoundMs);
        EXPECT_TRUE(delivered);
        EXPECT_TRUE(upAfterwards);
        EXPECT_EQ(result, XDialog::kOK) << "ended by the worker's finish";
        EXPECT_EQ(task.ran, (std::vector<int32_t>{0, 1}));
        EXPECT_FALSE(task.IsAborted());
        EXPECT_TRUE(task.ended.load());
        EXPECT_TRUE(answered.empty());
    }
}

TEST_F(ProgressDialogTest, ATaskDialogEndedBeforeItsWorkerAbortsTheTaskAndJoinsIt)
{
    struct Case
    {
        const char* name;
        int32_t timeoutMs;
        XDialogResult answer; // given by the answer hook before the worker begins; 0 for none
        XDialogResult expected;
    };
    const Case cases[] = {
        {"time-out while a step runs", 300, XDialog::kNotEnded, XDialog::kCancel},
        {"answered before the worker began", 0, XDialog::kOK, XDialog::kOK},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        answered.clear();
        ScriptedTask task(2);
        task.holdAt = 0;
        XTaskDialog dialog(XString("Restoring..."), XString("Restoring disk 1 of 1."), &task, nullptr, true);
        progressAnswer = c.answer;
        AppPump pump;
        EXPECT_EQ(dialog.RunModal(nullptr, c.timeoutMs), c.expected);
        EXPECT_TRUE(task.ended.load()) << "joined before the run returned";
        EXPECT_EQ(task.ran, (std::vector<int32_t>{0}))
            << "stopped at its first check, not at the hold's limit";
        EXPECT_TRUE(task.IsAborted());
        // The worker's late failure finds the run over: no error box afterwards.
        ViewTest::Pump();
        EXPECT_TRUE(answered.empty());
        EXPECT_EQ(busy->GetValue(), 0.0);
    }
}
