#pragma once

#include "gui/XOKDialog.h"

/** The OK/Cancel question: as the message box, plus "CancelButton" (message 1501). Escape and the
    letters C, N (either case) end it with 2. */
class XOKCancelDialog : public XOKDialog
{
public:
    static constexpr const char* kDefaultDescription = "Dialogs\\okcanceldialog.txt";
    static constexpr const char* kCancelButtonName = "CancelButton";

    XOKCancelDialog(const XString& title, const XString& text, XView* parent, const char* path,
                    const XString& okLabel, const XString& cancelLabel);

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    bool EscapePressed() override;
    const char* GetClassNameText() const override { return "XOKCancelDialog"; }

    const XString& GetCancelLabel() const { return cancelLabel; }

protected:
    XOKCancelDialog(const XString& title, const XString& text, XView* parent, const char* path,
                    const char* defaultPath, const XString& okLabel, const XString& cancelLabel);
    bool HandleLetterKey(int32_t keyCode) override;

private:
    XString cancelLabel;
};
