#include "gui/XErrorDialog.h"

#include "core/XApplication.h"

XErrorDialog::XErrorDialog(const XString& title, const XString& text)
    : XOKDialog(title, text, nullptr, kDefaultDescription, XString("OK"))
{
    SetErrorFlag();
}

XErrorDialog::XErrorDialog(const XString& text) : XErrorDialog(DefaultTitle(), text) {}

const XString& XErrorDialog::DefaultTitle()
{
    static const XString title = []
    {
        XApplication* application = GetApplication();
        return application != nullptr ? application->GetMenuLabel(kLabelSection, kDefaultTitle)
                                      : XString(kDefaultTitle);
    }();
    return title;
}
