#include "app/UploadPresetDialog.h"

#include "gui/XControl.h"

UploadPresetDialog::UploadPresetDialog(const XString& title, const XString& text, XView* parent,
                                       const XString& cancelLabel)
    : XYesNoCancelDialog(title, text, parent, kDescription, XString(), XString(), cancelLabel), twoWay(false)
{
}

UploadPresetDialog::UploadPresetDialog(const XString& title, const XString& text, XView* parent,
                                       const XString& okLabel, const XString& cancelLabel)
    : XYesNoCancelDialog(title, text, parent, kDescription, okLabel, XString(), cancelLabel), twoWay(true)
{
}

void UploadPresetDialog::LoadDescription(const char* name)
{
    XYesNoCancelDialog::LoadDescription(name);
    // The buttons' own labels, before the dialog's set-up writes the labels it was given.
    if (XView* ok = FindView(kOKButtonName))
        fileOKLabel = ok->GetLabel();
    if (XView* no = FindView(kNoButtonName))
        fileNoLabel = no->GetLabel();
}

void UploadPresetDialog::InitControls()
{
    XYesNoCancelDialog::InitControls();
    XView* ok = FindView(kOKButtonName);
    XView* no = FindView(kNoButtonName);
    if (twoWay)
    {
        if (no != nullptr)
            no->Hide();
        return;
    }
    if (ok != nullptr)
        ok->SetLabel(fileOKLabel, false);
    if (no != nullptr)
        no->SetLabel(fileNoLabel, false);
}

bool UploadPresetDialog::HandleLetterKey(int32_t keyCode)
{
    if (twoWay && (keyCode == 'N' || keyCode == 'n'))
    {
        EndModal(kCancel);
        return true;
    }
    return XYesNoCancelDialog::HandleLetterKey(keyCode);
}
