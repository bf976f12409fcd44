#pragma once

#include "gui/XDocumentCmd.h"

/** "NewDocumentCmd": after the save question, starts the document from a template (documents that
    use templates) or as a new file chosen by the user. */
class NewDocumentCmd : public XDocumentCmd
{
public:
    static constexpr const char* kTemplateFailedText = "An error occurred while loading the template.";
    static constexpr const char* kNewFailedText = "An error occurred while creating a new document.";

    NewDocumentCmd(const XString& documentType, const XString& title, const XString& folder = XString(),
                   int32_t frameworkDialogs = 0);

    void Execute(XMessage* message) override;
};
