#pragma once

#include "gui/XOKDialog.h"

/** The error box: a message box with no parent and an "OK" button. While it is open the parameter
    "system\error" (when it exists) is 2, after it closes 0. Without a title it takes the
    application's "FileDialogs" label of "Error...", looked up once for the program's life. */
class XErrorDialog : public XOKDialog
{
public:
    static constexpr const char* kLabelSection = "FileDialogs";
    static constexpr const char* kDefaultTitle = "Error...";

    XErrorDialog(const XString& title, const XString& text);
    explicit XErrorDialog(const XString& text);

    const char* GetClassNameText() const override { return "XErrorDialog"; }

private:
    static const XString& DefaultTitle();
};
