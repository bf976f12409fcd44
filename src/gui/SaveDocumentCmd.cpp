#include "gui/SaveDocumentCmd.h"

#include "core/XDocument.h"

SaveDocumentCmd::SaveDocumentCmd(const XString& documentType, const XString& title, const XString& folder,
                                 int32_t frameworkDialogs)
    : SaveDocumentAsCmd(documentType, title, folder, frameworkDialogs)
{
}

void SaveDocumentCmd::Execute(XMessage* message)
{
    XDocument* doc = GetDocument();
    const XString path = doc != nullptr ? doc->GetPath() : XString();
    if (doc == nullptr || path.IsEmpty() || path.EqualsNoCase(kUntitledPath))
    {
        SaveDocumentAsCmd::Execute(message);
        return;
    }
    lastSaveDone = doc->SaveAs(path.CStr()) == 0;
    if (!lastSaveDone)
        ShowError(XString(kSaveFailedText), GetWidget(message));
}
