#pragma once

#include "gui/XDocumentCmd.h"

/** "OpenDocumentCmd": after the save question, opens a file of the document's kind chosen by the
    user; a file of another kind is refused with "Incorrect file type." and the document stays. */
class OpenDocumentCmd : public XDocumentCmd
{
public:
    static constexpr const char* kWrongTypeText = "Incorrect file type.";
    static constexpr const char* kOpenFailedText = "An error occurred while loading the document.";

    OpenDocumentCmd(const XString& documentType, const XString& title, const XString& folder = XString(),
                    int32_t frameworkDialogs = 0);

    void Execute(XMessage* message) override;
};
