#include "gui/NewDocumentCmd.h"

#include "core/XDocument.h"
#include "gui/XTemplateDialog.h"

NewDocumentCmd::NewDocumentCmd(const XString& documentType, const XString& title, const XString& folder,
                               int32_t frameworkDialogs)
    : XDocumentCmd(documentType, title, folder, frameworkDialogs)
{
}

void NewDocumentCmd::Execute(XMessage* message)
{
    if (AskSaveChanges(message) == 2)
        return;
    XDocument* doc = GetDocument();
    if (doc == nullptr)
        return;
    if (doc->UsesTemplates())
    {
        XTemplateDialog dialog(GetTemplateFolder());
        const int32_t answer = dialog.RunModal(GetWidget(message), 0);
        if (answer != XDialog::kCancel && !dialog.GetSelectedPath().IsEmpty() &&
            doc->ImportFrom(dialog.GetSelectedPath().CStr()) != 0)
            ShowError(XString(kTemplateFailedText), GetWidget(message));
        return;
    }
    XString path;
    if (!ChooseSavePath(*doc, path))
        return;
    if (doc->New(path.CStr()) != 0)
        ShowError(XString(kNewFailedText), GetWidget(message));
}
