#include "files/XSaveFileDialog.h"

#include "files/FileTexts.h"
#include "files/XFileBrowser.h"
#include "files/XFileErrorDialog.h"
#include "files/XFileNameValidator.h"
#include "files/XFolderListing.h"
#include "gui/XDocumentCmd.h"
#include "gui/XOKCancelDialog.h"
#include "platform/PlatformFileSystem.h"
#include "widgets/XTextEditView.h"

XSaveFileDialog::XSaveFileDialog(const XString& titleIn, const XString& startFolder, bool showFilter,
                                 XFileNameValidator* validatorIn)
    : XFileDialog(titleIn.IsEmpty() ? XString("Save") : titleIn, startFolder, XString("Save"), kSaveMode,
                  showFilter, validatorIn)
{
}

void XSaveFileDialog::InitControls()
{
    XFileDialog::InitControls();
    if (browser == nullptr)
        return;
    if (browser->GetShowName() && browser->GetNameField() != nullptr)
        SetAttachedObject(browser->GetNameField());
    browser->SetKeepNameOnFolder(true);
}

void XSaveFileDialog::ActionMessage()
{
    if (browser->GetFolder() == XFolderListing::kRootPath)
        return;
    const XString path = browser->GetSelectedPath();
    if (!path.IsEmpty())
        Action(AddExtension(path));
}

void XSaveFileDialog::Action(const XString& path)
{
    XString copy = path;
    XString name;
    copy.GetFileName(name);
    if (validator != nullptr)
    {
        if (!validator->Check(path, this))
        {
            FocusNameField();
            return;
        }
    }
    else if (const int32_t check = ValidateFileName(name.CStr()); check != kFileNameValid)
    {
        // Without a validator a bad name is still refused: it could not be saved under.
        XFileErrorDialog error(check == kFileNameTooLong        ? 2
                               : check == kFileNameBadCharacter ? 3
                                                                : 4,
                               XString());
        error.RunModal(this, 0);
        FocusNameField();
        return;
    }
    if (PlatformFileSystem::FileExists(path.CStr()))
    {
        XOKCancelDialog ask(XDocumentCmd::GetFileDialogLabel(kOverwriteTitle),
                            XDocumentCmd::GetFileDialogLabel(kOverwriteText).Arg(name), nullptr, nullptr,
                            XString("OK"), XString("Cancel"));
        if (ask.RunModal(this, 0) != kOK)
            return;
    }
    EndModal(kOK);
}
