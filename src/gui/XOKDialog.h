#pragma once

#include "gui/XDialog.h"

/** The message box: a title, a text in "DialogText" and an OK button ("OKButton", message 1500).
    Escape, Return and the letters O, Y (either case) end it with 1. */
class XOKDialog : public XDialog
{
public:
    static constexpr const char* kDefaultDescription = "Dialogs\\OKDialog.txt";
    static constexpr const char* kTextViewName = "DialogText";
    static constexpr const char* kOKButtonName = "OKButton";

    /** An empty or null path takes kDefaultDescription. */
    XOKDialog(const XString& title, const XString& text, XView* parent, const char* path,
              const XString& okLabel);

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    const char* GetClassNameText() const override { return "XOKDialog"; }

    const XString& GetDialogTitle() const { return title; }
    const XString& GetText() const { return text; }
    const XString& GetOKLabel() const { return okLabel; }

protected:
    XOKDialog(const XString& title, const XString& text, XView* parent, const char* path,
              const char* defaultPath, const XString& okLabel);
    bool HandleLetterKey(int32_t keyCode) override;

private:
    XString title;
    XString text;
    XString okLabel;
};
