#include "files/FileDialogChooser.h"

#include "files/XFileDialog.h"
#include "files/XOpenFileDialog.h"
#include "files/XSaveFileDialog.h"
#include "gui/JUCEDocumentFileChooser.h"

#include <memory>

bool FileDialogChooser::Choose(Kind kind, bool frameworkDialog, const XString& title, XString& folder,
                               const XString& filter, const XString& filterText, XString& path)
{
    if (!frameworkDialog)
    {
        JUCEDocumentFileChooser system;
        return system.Choose(kind, frameworkDialog, title, folder, filter, filterText, path);
    }
    std::unique_ptr<XFileDialog> dialog;
    if (kind == Kind::Save)
        dialog = std::make_unique<XSaveFileDialog>(title, folder, true, nullptr);
    else
        dialog = std::make_unique<XOpenFileDialog>(title, folder, true, nullptr);
    if (!filter.IsEmpty())
        dialog->AddFilter(filterText.IsEmpty() ? filter : filterText, filter, true);
    if (dialog->RunModal(nullptr, 0) != XDialog::kOK)
        return false;
    path = dialog->GetFilePath();
    folder = dialog->GetFolder();
    return !path.IsEmpty();
}

FileDialogChooser& FileDialogChooser::Instance()
{
    static FileDialogChooser chooser;
    return chooser;
}
