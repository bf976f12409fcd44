#pragma once

#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/XPopupWindow.h"

#include <cstdint>
#include <functional>

class XControl;

/** The result of a dialog: 0 not ended, 1 OK or Yes, 2 Cancel (also the close request and the
    time-out), 3 No. */
using XDialogResult = int32_t;

/** A modal dialog: a popup window whose content is built from a description file of the skin. The
    dialog finds its text and buttons by view name, wires each button to send a fixed message code
    to itself, runs a modal loop over a parent window and ends with a result that it also emits
    through resultSignal.

    Created, run (once or more; each run resets the result) and deleted by the caller, on the GUI
    thread only. RunModal must not be called from a looper timer's callback (post a message and run
    the dialog from its handling). Tests answer dialogs without a modal loop through SetAnswerHook. */
class XDialog : public XPopupWindow
{
public:
    static constexpr XDialogResult kNotEnded = 0;
    static constexpr XDialogResult kOK = 1;
    static constexpr XDialogResult kCancel = 2;
    static constexpr XDialogResult kNo = 3;

    static constexpr uint32_t kOKMessage = 1500;
    static constexpr uint32_t kCancelMessage = 1501;
    static constexpr uint32_t kNoMessage = 1502;
    static constexpr int32_t kTimeOutTimerId = static_cast<int32_t>(FourCharCode("time"));
    static constexpr const char* kErrorParamPath = "system\\error";
    static constexpr double kErrorOpen = 2.0;
    static constexpr double kErrorClosed = 0.0;

    /** Called at the start of every RunModal after the controls are set up; a result above 0 ends
        the dialog with it at once (no window is shown), 0 lets the dialog run. */
    using AnswerHook = std::function<XDialogResult(XDialog& dialog)>;
    /** Installs the process-wide answer hook; an empty function removes it. GUI thread. */
    static void SetAnswerHook(AnswerHook hook);

    XDialog(XView* parent, bool modal, const char* descriptionPath = nullptr);
    /** Leaves the application looper unless the program is shutting down. */
    ~XDialog() override;

    /** Window title, window label and content label. */
    virtual void SetTitle(const XString& text);
    /** Registers the handler with the application looper, drops the close box and loads the
        description; subclasses find and wire their views after calling this. */
    virtual void InitControls();
    /** Called with the final result after the window is hidden. */
    virtual void ResultHook(XDialogResult result) {}
    virtual void ResetResult() { result = kNotEnded; }
    /** Result 1; the Escape and Return behaviour of a plain dialog. */
    virtual void Accept();

    /** parent: the view to centre on, null for the main window. timeoutMs: 0 for none, else the
        dialog ends with 2 after that long. Returns the result. */
    XDialogResult RunModal(XView* parent, int32_t timeoutMs);
    /** Stores the result, leaves the modal state and emits resultSignal. */
    void EndModal(XDialogResult dialogResult);

    XDialogResult GetResult() const { return result; }
    bool IsModal() const { return modalFlag; }
    bool IsErrorDialog() const { return errorFlag; }
    const XString& GetDescriptionPath() const { return descriptionPath; }
    void SetDescriptionPath(const XString& path) { descriptionPath = path; }
    /** The view the dialog centres on; null once that view is deleted. */
    XView* GetDialogParent() const { return parentView.getComponent(); }
    /** The named view anywhere in the window; null when the description lacks it. */
    XView* FindView(const char* name) const;

    XSignal<XDialogResult> resultSignal;

    // XPopupWindow --------------------------------------------------------------------------------

    const char* GetClassNameText() const override { return "XDialog"; }
    bool EscapePressed() override;
    bool ReturnPressed() override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    void LoadDescription(const char* name) override;
    void MessageReceived(XMessage& message) override;
    void HandleTimer(int32_t timerId) override;
    void userTriedToCloseWindow() override;

protected:
    /** Sets the button's label and makes it send a new message of code to this dialog. */
    void WireButton(XControl* button, const XString& label, uint32_t code);
    /** Letter keys of the kind; true when the key was used. */
    virtual bool HandleLetterKey(int32_t keyCode) { return false; }
    void SetErrorFlag() { errorFlag = true; }

private:
    void PlaceOverParent();
    void SetErrorParam(double value);

    XDialogResult result = kNotEnded;
    bool modalFlag;
    bool inModalLoop = false;
    bool errorFlag = false;
    bool handlerAdded = false;
    // Not owned; may be deleted while the dialog lives, when this reads null.
    juce::Component::SafePointer<XView> parentView;
    XString descriptionPath;
};
