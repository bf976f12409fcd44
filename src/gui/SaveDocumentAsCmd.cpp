#include "gui/SaveDocumentAsCmd.h"

SaveDocumentAsCmd::SaveDocumentAsCmd(const XString& documentType, const XString& title, const XString& folder,
                                     int32_t frameworkDialogs)
    : XDocumentCmd(documentType, title, folder, frameworkDialogs)
{
}

void SaveDocumentAsCmd::Execute(XMessage* message)
{
    RunSaveAs(message);
}
