#include "gui/OpenDocumentCmd.h"

#include "core/XDocument.h"

OpenDocumentCmd::OpenDocumentCmd(const XString& documentType, const XString& title, const XString& folder,
                                 int32_t frameworkDialogs)
    : XDocumentCmd(documentType, title, folder, frameworkDialogs)
{
}

void OpenDocumentCmd::Execute(XMessage* message)
{
    if (AskSaveChanges(message) == 2)
        return;
    XDocument* doc = GetDocument();
    if (doc == nullptr)
        return;
    XString path;
    if (!ChooseFile(*doc, IDocumentFileChooser::Kind::Open, path))
        return;
    const XString extension = doc->GetFileExtension();
    if (GetPathFileName(path).FindChar('.') < 0)
    {
        path += ".";
        path += extension;
    }
    if (!GetPathExtension(path).EqualsNoCase(extension))
    {
        ShowError(GetFileDialogLabel(kWrongTypeText), GetWidget(message));
        return;
    }
    if (doc->Open(path.CStr()) != 0)
        ShowError(XString(kOpenFailedText), GetWidget(message));
}
