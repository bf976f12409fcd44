#pragma once

#include "core/XString.h"
#include "gui/XTextValidator.h"

class XView;

/** Checks a file name typed by the user: a bad name is told in a file error box, an existing file
    at the resulting path is replaced only when the user agrees. After a refusal the view's
    "TextField" is selected and focused. Owned by its caller, which keeps it longer than the dialog
    that asks it. GUI thread. */
class XFileNameValidator : public XTextValidator
{
public:
    static constexpr const char* kTextFieldName = "TextField";

    /** extension: with or without a leading "."; folder: where the file goes. */
    XFileNameValidator(const XString& extension, const XString& folder);

    void SetFolder(const XString& path) { folder = path; }
    const XString& GetFolder() const { return folder; }
    const XString& GetExtension() const { return extension; }

    /** The path the name gives: trailing blanks dropped, the extension added unless the name
        already ends with it, in the folder. */
    XString CandidatePath(const XString& name) const;

    /** True when the text's file name may be used. */
    bool Check(const XString& text, XView* view) override;

protected:
    /** Selects and focuses the view's "TextField", when it has one. */
    static void SelectTextField(XView* view);

    XString extension;
    XString folder;
};
