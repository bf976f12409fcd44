#include "files/XOverwriteFileDialog.h"

#include "gui/XDocumentCmd.h"

XOverwriteFileDialog::XOverwriteFileDialog(const XString& name, bool isFolder)
    : XOKCancelDialog(
          XDocumentCmd::GetFileDialogLabel(isFolder ? "Confirm Folder Replace" : "Confirm File Replace"),
          TextFor(name, isFolder), nullptr, nullptr, XString("OK"), XString("Cancel"))
{
}

XString XOverwriteFileDialog::TextFor(const XString& name, bool isFolder)
{
    const XString text(
        isFolder ? "A folder named \"%1\" already exists.\r\nDo you wish to overwrite the existing folder?"
                 : "A file named \"%1\" already exists.\r\nDo you wish to overwrite the existing file?");
    return text.Arg(name);
}
