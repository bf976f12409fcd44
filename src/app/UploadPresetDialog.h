#pragma once

#include "gui/XYesNoCancelDialog.h"

/** The question asked when a unit connects, from "Dialogs\uploadPresetdialog.txt": which way to
    synchronise (OK takes the unit's data, No sends the editor's, Cancel quits), with the OK and No
    labels of the description file; or, for a locked-out unit, Yes or No alone (the file's No button
    is hidden then and the N key answers Cancel). Created, run and deleted on the GUI thread. */
class UploadPresetDialog final : public XYesNoCancelDialog
{
public:
    static constexpr const char* kDescription = "Dialogs\\uploadPresetdialog.txt";

    /** The three-way question: the file's OK and No labels, Cancel labelled cancelLabel. */
    UploadPresetDialog(const XString& title, const XString& text, XView* parent, const XString& cancelLabel);
    /** The two-way question: OK labelled okLabel (result 1), Cancel labelled cancelLabel (2). */
    UploadPresetDialog(const XString& title, const XString& text, XView* parent, const XString& okLabel,
                       const XString& cancelLabel);

    void LoadDescription(const char* name) override;
    void InitControls() override;
    const char* GetClassNameText() const override { return "UploadPresetDialog"; }

    bool IsTwoWay() const { return twoWay; }

protected:
    bool HandleLetterKey(int32_t keyCode) override;

private:
    const bool twoWay;
    XString fileOKLabel;
    XString fileNoLabel;
};
