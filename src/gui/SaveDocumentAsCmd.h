#pragma once

#include "gui/XDocumentCmd.h"

/** "SaveDocumentAsCmd": saves the document to a file chosen by the user. */
class SaveDocumentAsCmd : public XDocumentCmd
{
public:
    SaveDocumentAsCmd(const XString& documentType, const XString& title, const XString& folder = XString(),
                      int32_t frameworkDialogs = 0);

    void Execute(XMessage* message) override;
};
