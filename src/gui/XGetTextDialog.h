#pragma once

#include "gui/XOKCancelDialog.h"

class XTextValidator;

/** The text prompt: a question, a one-line field ("TextField", which gets the focus) and OK/Cancel.
    OK and Return validate: a blank entry is refused with the nested error "The entry is blank."
    unless blanks are allowed, then the validator (not owned, may be null) decides. The entered text
    is valid after result 1. */
class XGetTextDialog : public XOKCancelDialog
{
public:
    static constexpr const char* kDefaultDescription = "Dialogs\\GetTextDialog.txt";
    static constexpr const char* kTextFieldName = "TextField";
    static constexpr const char* kBlankEntryText = "The entry is blank.";

    XGetTextDialog(const XString& title, const XString& text, const XString& initialText,
                   XTextValidator* validator, XView* parent, const char* path, const XString& okLabel,
                   const XString& cancelLabel, bool blankAllowed);

    /** The entered text. */
    virtual void GetText(XString& out) const { out = enteredText; }
    XView* GetTextField() const { return textField; }

    void InitControls() override;
    void ResetResult() override;
    void MessageReceived(XMessage& message) override;
    bool ReturnPressed() override;
    const char* GetClassNameText() const override { return "XGetTextDialog"; }

private:
    void Validate();

    XView* textField = nullptr; // a view of the content
    XString initialText;
    XString enteredText;
    XTextValidator* validator; // not owned
    bool blankAllowed;
};
