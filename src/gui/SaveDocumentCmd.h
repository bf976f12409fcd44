#pragma once

#include "gui/SaveDocumentAsCmd.h"

/** "SaveDocumentCmd": saves the document to its path; an untitled document (no path, or
    "Untitled" in any case) goes through Save As. */
class SaveDocumentCmd : public SaveDocumentAsCmd
{
public:
    SaveDocumentCmd(const XString& documentType, const XString& title, const XString& folder = XString(),
                    int32_t frameworkDialogs = 0);

    void Execute(XMessage* message) override;
};
