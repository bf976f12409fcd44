#include "gui/XOKCancelDialog.h"

#include "core/XMessage.h"
#include "gui/XControl.h"

XOKCancelDialog::XOKCancelDialog(const XString& title, const XString& text, XView* parent, const char* path,
                                 const XString& okLabel, const XString& cancelLabelIn)
    : XOKCancelDialog(title, text, parent, path, kDefaultDescription, okLabel, cancelLabelIn)
{
}

XOKCancelDialog::XOKCancelDialog(const XString& title, const XString& text, XView* parent, const char* path,
                                 const char* defaultPath, const XString& okLabel,
                                 const XString& cancelLabelIn)
    : XOKDialog(title, text, parent, path, defaultPath, okLabel), cancelLabel(cancelLabelIn)
{
}

void XOKCancelDialog::InitControls()
{
    XOKDialog::InitControls();
    WireButton(dynamic_cast<XControl*>(FindView(kCancelButtonName)), cancelLabel, kCancelMessage);
}

void XOKCancelDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == kCancelMessage)
    {
        EndModal(kCancel);
        return;
    }
    XOKDialog::MessageReceived(message);
}

bool XOKCancelDialog::EscapePressed()
{
    EndModal(kCancel);
    return true;
}

bool XOKCancelDialog::HandleLetterKey(int32_t keyCode)
{
    switch (keyCode)
    {
    case 'C':
    case 'c':
    case 'N':
    case 'n':
        return EscapePressed();
    default:
        return XOKDialog::HandleLetterKey(keyCode);
    }
}
