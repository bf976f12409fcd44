#include "gui/XDialog.h"

#include "core/ParamRegistry.h"
#include "core/ProcessState.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/GuiHelpers.h"
#include "gui/XControl.h"
#include "gui/XGuiApp.h"

#include <utility>

namespace
{
XRect ScreenRect(const juce::Component& component)
{
    const juce::Rectangle<int> r = component.getScreenBounds();
    return XRect(r.getX(), r.getY(), r.getRight(), r.getBottom());
}

XDialog::AnswerHook& AnswerHookSlot()
{
    static XDialog::AnswerHook hook;
    return hook;
}

} // namespace

void XDialog::SetAnswerHook(AnswerHook hook)
{
    AnswerHookSlot() = std::move(hook);
}

XDialog::XDialog(XView* parent, bool modal, const char* path)
    : XPopupWindow(parent), modalFlag(modal), parentView(parent), descriptionPath(path != nullptr ? path : "")
{
    GetOptions().modal = modal ? 1 : 0;
    // A dialog ends through its buttons: no close box, which the window would make as it is attached.
    GetOptions().closable = 0;
    // Every run places the dialog over its parent, so a remembered position would only mislead.
    GetOptions().saveWindowPos = 0;
}

XDialog::~XDialog()
{
    StopTimer(kTimeOutTimerId);
    if (isCurrentlyModal(false))
        exitModalState(kCancel);
    if (!IsShuttingDown())
    {
        if (XLooper* looper = GetLooper())
            looper->RemoveHandler(this);
    }
}

void XDialog::SetTitle(const XString& text)
{
    XPopupWindow::SetTitle(text);
    XView::SetLabel(text, false);
    if (XView* content = GetContentView(); content != nullptr && content != this)
        content->SetLabel(text, false);
}

void XDialog::InitControls()
{
    if (XApplication* application = GetApplication(); application != nullptr && GetLooper() == nullptr)
        application->AddHandler(this);
    GetOptions().closable = 0;
    if (!descriptionPath.IsEmpty())
        LoadDescription(descriptionPath.CStr());
}

void XDialog::LoadDescription(const char* name)
{
    XView* content = GetContentView();
    if (content == this)
    {
        XView::LoadDescription(name);
        return;
    }
    // Loading again (a second run) builds the content anew.
    while (content->getNumChildComponents() > 0)
    {
        auto* child = dynamic_cast<XView*>(content->getChildComponent(0));
        if (child == nullptr)
            break;
        content->RemoveChild(child);
        delete child;
    }
    // Fitting is switched on first: the window follows the content's size as the build sets it.
    SetContentView(content, false, true);
    content->LoadDescription(name);
    // The window's content starts see-through; a dialog shows its description's background.
    content->SetTransparent(false);
}

XView* XDialog::FindView(const char* name) const
{
    return FindChild(XString(name), true);
}

void XDialog::WireButton(XControl* button, const XString& label, uint32_t code)
{
    if (button == nullptr)
        return;
    button->SetLabel(label, false);
    button->SetMessage(new XMessage(code));
    button->SetTarget(this, nullptr);
}

void XDialog::Accept()
{
    EndModal(kOK);
}

bool XDialog::EscapePressed()
{
    Accept();
    return true;
}

bool XDialog::ReturnPressed()
{
    Accept();
    return true;
}

bool XDialog::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    if (HandleLetterKey(keyCode))
        return true;
    return XPopupWindow::HandleKeyPress(keyCode, modifiers);
}

void XDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == XMsgCode::kCloseRequested)
    {
        EndModal(kCancel);
        return;
    }
    XPopupWindow::MessageReceived(message);
}

void XDialog::HandleTimer(int32_t timerId)
{
    if (timerId == kTimeOutTimerId)
    {
        StopTimer(kTimeOutTimerId);
        EndModal(kCancel);
        return;
    }
    XPopupWindow::HandleTimer(timerId);
}

void XDialog::userTriedToCloseWindow()
{
    EndModal(kCancel);
}

void XDialog::EndModal(XDialogResult dialogResult)
{
    result = dialogResult;
    // A time-out left running would end the next run at once.
    StopTimer(kTimeOutTimerId);
    if (inModalLoop && isCurrentlyModal(false))
        exitModalState(dialogResult);
    resultSignal.Emit(dialogResult);
}

void XDialog::SetErrorParam(double value)
{
    // Looked up at each use: a remembered pointer would outlive a parameter deleted meanwhile, and a
    // parameter made after the first error dialog is still found.
    if (XParam* param = ParamRegistry::Find(kErrorParamPath))
        param->SetValue(value, true);
}

void XDialog::PlaceOverParent()
{
    XView* const parent = parentView.getComponent();
    XView* parentWindow = parent != nullptr ? parent->GetWindow() : nullptr;
    XRect frame = ScreenRect(*this);
    if (parentWindow != nullptr && parentWindow != this)
    {
        const XRect parentFrame = ScreenRect(*parentWindow);
        const XRect area = GetWindowArea(parentWindow);
        frame = CenterRectIn(frame, parentFrame);
        if (frame.left < area.left || frame.top < area.top || frame.right > area.right ||
            frame.bottom > area.bottom)
            frame = CenterRectIn(frame, area);
    }
    else
        frame = CenterRectIn(frame, GetWindowArea(this));
    setTopLeftPosition(frame.left, frame.top);
}

XDialogResult XDialog::RunModal(XView* parent, int32_t timeoutMs)
{
    parentView = parent;
    if (parentView == nullptr)
    {
        if (XGuiApp* application = XGuiApp::GetApp())
            parentView = application->GetMainWindow();
    }
    Attach();
    GetOptions().movable = 1;
    GetOptions().sizable = 0;
    GetOptions().horizontallySizable = 0;
    GetOptions().verticallySizable = 0;
    InitControls();
    if (errorFlag)
        SetErrorParam(kErrorOpen);
    ResetResult();

    if (AnswerHookSlot())
    {
        const XDialogResult answer = AnswerHookSlot()(*this);
        if (answer > kNotEnded)
            EndModal(answer);
    }
    if (result == kNotEnded)
    {
        PlaceOverParent();
        if (timeoutMs > 0)
            StartTimer(kTimeOutTimerId, timeoutMs, true);
        Show();
        inModalLoop = true;
        runModalLoop();
        inModalLoop = false;
        StopTimer(kTimeOutTimerId);
    }
    Hide();
    ResultHook(result);
    if (errorFlag)
        SetErrorParam(kErrorClosed);
    return result;
}
