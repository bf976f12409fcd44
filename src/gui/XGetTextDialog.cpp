#include "gui/XGetTextDialog.h"

#include "core/XMessage.h"
#include "gui/TextFieldAccess.h"
#include "gui/XErrorDialog.h"
#include "gui/XTextValidator.h"

XGetTextDialog::XGetTextDialog(const XString& title, const XString& text, const XString& initialTextIn,
                               XTextValidator* validatorIn, XView* parent, const char* path,
                               const XString& okLabel, const XString& cancelLabel, bool blankAllowedIn)
    : XOKCancelDialog(title, text, parent, path, kDefaultDescription, okLabel, cancelLabel),
      initialText(initialTextIn), validator(validatorIn), blankAllowed(blankAllowedIn)
{
}

void XGetTextDialog::InitControls()
{
    XOKCancelDialog::InitControls();
    textField = FindView(kTextFieldName);
    if (textField != nullptr)
        SetAttachedObject(textField);
}

void XGetTextDialog::ResetResult()
{
    XOKCancelDialog::ResetResult();
    if (textField != nullptr && !initialText.IsEmpty())
        TextFieldAccess::SetText(textField, initialText, true);
}

void XGetTextDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == kOKMessage)
    {
        Validate();
        return;
    }
    XOKCancelDialog::MessageReceived(message);
}

bool XGetTextDialog::ReturnPressed()
{
    Validate();
    return true;
}

void XGetTextDialog::Validate()
{
    if (textField == nullptr)
        return;
    XString text;
    TextFieldAccess::GetText(textField, text);
    enteredText = text;
    if (enteredText.IsEmpty() && !blankAllowed)
    {
        XErrorDialog blank{XString(kBlankEntryText)};
        blank.RunModal(this, 0);
        return;
    }
    if (validator != nullptr && !validator->Check(enteredText, this))
        return;
    EndModal(kOK);
}
