#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "files/FileViewTypes.h"
#include "files/ITask.h"
#include "files/XProgressDialog.h"
#include "files/XTaskDialog.h"
#include "gui/ViewFactory.h"
#include "gui/XStyle.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
using GuiTestSupport::ModalDialogDriver;

constexpr int kWaitMs = 10000;

/** A task of some steps that records which ran; one step may fail, one may wait for an abort. */
class ScriptedTask final : public ITask
{
public:
    explicit ScriptedTask(int32_t count) : count(count) {}

    int32_t GetStepCount() override { return count; }
    int32_t RunStep(int32_t step, XString& error) override
    {
        ran.push_back(step);
        stepsStarted.fetch_add(1);
        if (XParam* busy = ParamRegistry::Find(XProgressDialog::kBusyParamPath))
            busyWhileRunning.push_back(busy->GetValue());
        textSignal.Emit("Step: one");
        progressSignal.Emit(static_cast<float>(step + 1) / static_cast<float>(count));
        if (step == waitForAbortAt)
        {
            while (!IsAborted())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            error = "The user aborted the task.";
            return kFailed;
        }
        if (step == failAt)
        {
            error.Format("Step %d broke.", step + 1);
            return kFailed;
        }
        return kOk;
    }
    void End() override { ended = true; }

    int32_t count;
    int32_t failAt = -1;
    int32_t waitForAbortAt = -1;
    std::vector<int32_t> ran;
    std::vector<double> busyWhileRunning;
    std::atomic<bool> ended{false};
    std::atomic<int32_t> stepsStarted{0};
};

/** Lets progress dialogs run and answers every other dialog with OK, recording its text. */
class ProgressDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!SkinTestSupport::UseBuiltSkin())
            GTEST_SKIP() << "build the target krx_skin";
        XStyle::SetCurrentStyle(&style);
        WidgetViewTypes::Install();
        FileViewTypes::Install();
        InitViewFactory();
        busy = ViewTest::MakeParam(0, 2, "busy");
        ParamRegistry::Register(busy.get(), XString(XProgressDialog::kBusyParamPath));
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                if (dynamic_cast<XProgressDialog*>(&dialog) != nullptr)
                    return XDialog::kNotEnded;
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
