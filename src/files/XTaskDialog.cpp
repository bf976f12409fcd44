#include "files/XTaskDialog.h"

#include "core/ThreadServices.h"
#include "core/XMessage.h"
#include "files/ITask.h"

namespace
{
constexpr int32_t kWorkerLevel = 3;
} // namespace

XTaskDialog::TaskThread::TaskThread(ITask* runTask) : XThread(false, "XTaskDialog::TaskThread"), task(runTask)
{
}

XTaskDialog::TaskThread::~TaskThread()
{
    StopAndWait();
}

void XTaskDialog::TaskThread::Run()
{
    if (task == nullptr)
    {
        ReportError(XString(kNoTaskText));
        return;
    }
    XSleep(kStartPauseMs);
    try
    {
        task->Begin();
        // A dialog that ended before this point asked to stop: Begin has just cleared its abort.
        if (IsStopRequested())
            task->Abort();
        const int32_t count = task->GetStepCount();
        for (int32_t step = 0; step < count; ++step)
        {
            XString error;
            if (task->RunStep(step, error) != 0)
            {
                ReportError(error);
                return;
            }
        }
    }
    catch (...)
    {
        ReportError(XString("An exception was encountered."));
        return;
    }
    reported.store(true);
    finishedSignal.Emit();
}

void XTaskDialog::TaskThread::ReportError(const XString& error)
{
    reported.store(true);
    errorSignal.Emit(error);
}

void XTaskDialog::TaskThread::OnExit()
{
    if (task != nullptr)
        task->End();
}

XTaskDialog::XTaskDialog(const XString& title, const XString& text, ITask* runTask, XView* parent,
                         bool abortButton)
    : XProgressDialog(title, text, parent, abortButton), task(runTask)
{
}

XTaskDialog::~XTaskDialog()
{
    thread.reset();
    DropTaskConnections();
}

void XTaskDialog::InitControls()
{
    XProgressDialog::InitControls();
    if (task == nullptr)
        return;
    thread.reset();
    DropTaskConnections();
    thread = std::make_unique<TaskThread>(task);
    ITask* const target = task;
    abortConnection = abortSignal.Connect([target] { target->Abort(); });
    taskConnections.push_back(
        task->GetTextSignal().Connect([this](const char* text) { SetProgressText(text); }));
    taskConnections.push_back(
        task->GetProgressSignal().Connect([this](float fraction) { SetProgressFraction(fraction); }));
    thread->finishedSignal.Connect([this] { Finish(); });
    thread->errorSignal.Connect([this](const XString& error) { PostFailure(error); });
    thread->Start(kWorkerLevel, nullptr, nullptr);
}

void XTaskDialog::DropTaskConnections()
{
    if (task != nullptr)
    {
        if (taskConnections.size() == 2)
        {
            task->GetTextSignal().Disconnect(taskConnections[0]);
            task->GetProgressSignal().Disconnect(taskConnections[1]);
        }
    }
    taskConnections.clear();
    abortSignal.Disconnect(abortConnection);
    abortConnection = 0;
}

void XTaskDialog::PostFailure(const XString& error)
{
    auto* message = new XMessage(kFailMessage);
    message->AddString(kErrorItem, error.CStr());
    DeliverLater(message);
}

void XTaskDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() != kFailMessage)
    {
        XProgressDialog::MessageReceived(message);
        return;
    }
    if (GetResult() != kNotEnded)
        return;
    const char* error = nullptr;
    if (message.FindString(kErrorItem, error) != 0)
        error = "";
    XString text;
    text.Format(kFailureFormat, error);
    XOKDialog box(XString("Error"), text, nullptr, nullptr, XString("OK"));
    box.RunModal(this, 0);
    EndModal(kNo);
}

void XTaskDialog::ResultHook(XDialogResult result)
{
    // The worker's last emission may still be under way: it ends before the run returns. Ended
    // without the worker, nobody can abort the task any more: ask it to stop rather than wait for
    // all of it (or for ever, for a task that waits for the user).
    if (thread != nullptr && task != nullptr && !thread->HasReported())
    {
        thread->RequestStop();
        task->Abort();
    }
    thread.reset();
    DropTaskConnections();
    XProgressDialog::ResultHook(result);
}
