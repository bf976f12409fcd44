#include "gui/XOKDialog.h"

#include "core/XMessage.h"
#include "gui/XControl.h"

namespace
{
const char* PathOrDefault(const char* path, const char* defaultPath)
{
    return path != nullptr && path[0] != 0 ? path : defaultPath;
}
} // namespace

XOKDialog::XOKDialog(const XString& titleIn, const XString& textIn, XView* parent, const char* path,
                     const XString& okLabelIn)
    : XOKDialog(titleIn, textIn, parent, path, kDefaultDescription, okLabelIn)
{
}

XOKDialog::XOKDialog(const XString& titleIn, const XString& textIn, XView* parent, const char* path,
                     const char* defaultPath, const XString& okLabelIn)
    : XDialog(parent, true, PathOrDefault(path, defaultPath)), title(titleIn), text(textIn),
      okLabel(okLabelIn)
{
}

void XOKDialog::InitControls()
{
    XDialog::InitControls();
    SetTitle(title);
    if (XView* textView = FindView(kTextViewName))
        textView->SetLabel(text, false);
    WireButton(dynamic_cast<XControl*>(FindView(kOKButtonName)), okLabel, kOKMessage);
}

void XOKDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == kOKMessage)
    {
        EndModal(kOK);
        return;
    }
    XDialog::MessageReceived(message);
}

bool XOKDialog::HandleLetterKey(int32_t keyCode)
{
    switch (keyCode)
    {
    case 'O':
    case 'o':
    case 'Y':
    case 'y':
        return ReturnPressed();
    default:
        return false;
    }
}
