#pragma once

#include "core/FloatParam.h"
#include "core/StringParam.h"
#include "core/XSignal.h"
#include "gui/XOKDialog.h"

#include <cstdint>
#include <memory>

/** The modal progress window of long operations: a title, a fixed dialog text, a bar from 0 to 100 %,
    a changing progress line and an optional Abort button. It does no work: the caller connects a
    worker's signals to the slots below (callable from any thread), and the worker moves the bar,
    changes the line and ends the dialog (Finish: result 1, Fail: 3). While it is up the parameter
    "system\busy", when it exists, is 2 (0 afterwards).

    Return, Escape, the letter keys and the close request do nothing: only the worker (or its
    failure report) ends the dialog. The Abort button emits the abort signal and leaves the dialog
    open. Slots called on a worker set the parameters and post the end of the dialog to the GUI
    thread, so no window is touched off it. The caller runs the dialog, then lets the worker end
    (joins it) before destroying the dialog. Created and run on the GUI thread. */
class XProgressDialog : public XOKDialog
{
public:
    static constexpr const char* kDescription = "Dialogs\\ProgressDialog.txt";
    static constexpr const char* kAbortLabel = "Abort";
    static constexpr const char* kProgressBarName = "ProgressBar";
    static constexpr const char* kProgressTextName = "ProgressText";
    static constexpr const char* kBusyParamPath = "system\\busy";
    static constexpr double kBusyOn = 2.0;
    static constexpr double kBusyOff = 0.0;
    static constexpr uint32_t kStartLevel = 3;
    /** How long Complete and Finish let the full bar show. */
    static constexpr int32_t kShowFullMs = 500;
    static constexpr const char* kCompletedText = "Completed!";

    XProgressDialog(const XString& title, const XString& text, XView* parent, bool showAbort);
    ~XProgressDialog() override;

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    /** Sets "system\busy" to 0. */
    void ResultHook(XDialogResult result) override;
    bool EscapePressed() override { return true; }
    bool ReturnPressed() override { return true; }
    void userTriedToCloseWindow() override {}
    const char* GetClassNameText() const override { return "XProgressDialog"; }

    // Slots (any thread) ---------------------------------------------------------------------------

    /** The progress line, every ':' shown as '|'. */
    void SetProgressText(const char* text);
    /** f clamped to 0..1, times 100, truncated. */
    void SetProgressFraction(float fraction);
    /** done / total x 100, truncated; a total of 0 counts as 1. */
    void SetProgressRatio(uint32_t done, uint32_t total);
    /** Adds delta; above 100 it becomes delta when wrap is set and the bar stood at 100, else 100. */
    void StepProgress(uint64_t delta, bool wrap);
    void ResetProgress();
    /** Bar full, line "Completed!", then a pause of 500 ms on the calling thread. */
    void Complete();
    /** A pause of 500 ms on the calling thread, then ends the dialog with 1. */
    void Finish();
    /** Ends the dialog with 3. */
    void Fail();
    /** The bar's percentage; taken as unsigned, so above 100 (and below 0) gives 100. */
    void SetProgress(int32_t percent);

    int32_t GetProgress() const;
    XString GetProgressText() const;
    bool GetShowAbort() const { return showAbort; }

    XSignal<> abortSignal;
    XSignal<uint32_t> startLevelSignal;
    XSignal<> startSignal;

protected:
    /** Ends the dialog with result on the GUI thread, unless it has ended meanwhile. Any thread. */
    void EndLater(XDialogResult dialogResult);
    /** Delivers the message to this dialog on the GUI thread, unless the dialog is gone. Any thread. */
    void DeliverLater(XMessage* message);

private:
    static void SetBusy(double value);

    FloatParam progressParam;
    StringParam dialogTextParam;
    StringParam progressTextParam;
    bool showAbort;
    /** This dialog while it lives; read and cleared on the GUI thread only. */
    std::shared_ptr<XProgressDialog*> selfToken;
};
