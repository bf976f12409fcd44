#include "gui/XYesNoCancelDialog.h"

#include "core/XMessage.h"
#include "gui/XControl.h"
#include "gui/XFont.h"

XYesNoCancelDialog::XYesNoCancelDialog(const XString& title, const XString& text, XView* parent,
                                       const char* path, const XString& yesLabel, const XString& noLabelIn,
                                       const XString& cancelLabel)
    : XOKCancelDialog(title, text, parent, path, kDefaultDescription, yesLabel, cancelLabel),
      noLabel(noLabelIn)
{
}

void XYesNoCancelDialog::InitControls()
{
    XOKCancelDialog::InitControls();
    WireButton(dynamic_cast<XControl*>(FindView(kNoButtonName)), noLabel, kNoMessage);
    GrowButtons();
}

int32_t XYesNoCancelDialog::GrowToLabel(XView* button)
{
    XFont* font = button->GetFont();
    if (font == nullptr)
        return 0;
    const XRect frame = button->GetFrame();
    const int32_t labelWidth = font->GetStringWidth(button->GetLabel());
    const int32_t growth = labelWidth + kLabelMargin - frame.Width();
    if (growth <= 0)
        return 0;
    button->SetFrame(XRect(frame.left - growth, frame.top, frame.right, frame.bottom));
    return growth;
}

void XYesNoCancelDialog::MoveLeft(XView* view, int32_t amount)
{
    const XRect frame = view->GetFrame();
    view->SetFrame(XRect(frame.left - amount, frame.top, frame.right - amount, frame.bottom));
}

void XYesNoCancelDialog::GrowButtons()
{
    XView* okButton = FindView(kOKButtonName);
    if (okButton == nullptr)
        return;
    GrowToLabel(okButton);
    XView* noButton = FindView(kNoButtonName);
    if (noButton == nullptr)
        return;
    if (const int32_t growth = GrowToLabel(noButton); growth > 0)
    {
        MoveLeft(okButton, growth);
        MoveLeft(noButton, growth);
    }
    XView* cancelButton = FindView(kCancelButtonName);
    if (cancelButton == nullptr)
        return;
    if (const int32_t growth = GrowToLabel(cancelButton); growth > 0)
    {
        MoveLeft(okButton, growth);
        MoveLeft(noButton, growth);
        MoveLeft(cancelButton, growth);
    }
}

void XYesNoCancelDialog::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == kNoMessage)
    {
        EndModal(kNo);
        return;
    }
    XOKCancelDialog::MessageReceived(message);
}

bool XYesNoCancelDialog::HandleLetterKey(int32_t keyCode)
{
    switch (keyCode)
    {
    case 'N':
    case 'n':
        EndModal(kNo);
        return true;
    default:
        return XOKCancelDialog::HandleLetterKey(keyCode);
    }
}
