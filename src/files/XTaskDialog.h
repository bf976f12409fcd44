#pragma once

#include "core/XSignal.h"
#include "core/XThread.h"
#include "files/XProgressDialog.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class ITask;

/** A progress dialog that runs one task (not owned) on a worker of its own, TaskThread: the task's
    text and progress move the dialog, Abort aborts the task, a task that finishes ends the dialog
    with 1, and a failed step is told in an "Error" box on the GUI thread before the dialog ends
    with 3. Return, Escape and the close request are ignored (as in the progress dialog); the Abort
    button, when shown, only asks the task to stop, which then fails its step. The worker is started
    when the dialog is set up and joined before RunModal returns, so the caller may destroy the task
    right after the run. GUI thread. */
class XTaskDialog : public XProgressDialog
{
public:
    static constexpr uint32_t kFailMessage = FourCharCode("fail");
    static constexpr const char* kErrorItem = "errStr";
    static constexpr const char* kFailureFormat =
        "The task was unable to complete successfully.\r\nIt failed because:\r\n\t%s";
    static constexpr const char* kNoTaskText = "There are no tasks to execute.";

    /** The worker that runs the task's steps: Begin, each step until one fails, End. */
    class TaskThread final : public XThread
    {
    public:
        static constexpr int32_t kStartPauseMs = 200;

        explicit TaskThread(ITask* task);
        ~TaskThread() override;

        void Run() override;
        void OnExit() override;
        /** True once Run has told its end (finished or error); any thread. */
        bool HasReported() const { return reported.load(); }

        XSignal<const XString&> errorSignal;
        XSignal<> finishedSignal;

    private:
        void ReportError(const XString& error);

        ITask* task; // not owned
        std::atomic<bool> reported{false};
    };

    XTaskDialog(const XString& title, const XString& text, ITask* task, XView* parent, bool showAbort);
    ~XTaskDialog() override;

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    /** Joins the worker, then as the progress dialog. A dialog ended before its worker told its end
        (a time-out, an answer given at once) aborts the task first, so the join lasts until the
        task's next check instead of the rest of the task. */
    void ResultHook(XDialogResult result) override;
    const char* GetClassNameText() const override { return "XTaskDialog"; }

    /** Hands the failure text to the GUI thread as 'fail' with "errStr". Any thread. */
    void PostFailure(const XString& error);

private:
    void DropTaskConnections();

    ITask* task; // not owned
    std::unique_ptr<TaskThread> thread;
    std::vector<int32_t> taskConnections; // ids on the task's text and progress signals
    int32_t abortConnection = 0;
};
