#include "files/XOpenFileDialog.h"

#include "files/XFileBrowser.h"
#include "files/XFileNameValidator.h"
#include "files/XFolderListing.h"
#include "platform/PlatformFileSystem.h"

XOpenFileDialog::XOpenFileDialog(const XString& titleIn, const XString& startFolder, bool showFilter,
                                 XFileNameValidator* validatorIn)
    : XFileDialog(titleIn.IsEmpty() ? XString("Open") : titleIn, startFolder, XString("Open"), kOpenMode,
                  showFilter, validatorIn)
{
}

void XOpenFileDialog::ActionMessage()
{
    const XString path = browser->GetSelectedPath();
    if (path.IsEmpty())
        return;
    if (browser->GetFolder() == XFolderListing::kRootPath)
    {
        browser->SetFolder(path, true);
        browser->Refresh();
        return;
    }
    if (PlatformFileSystem::PathIsFolder(path.CStr()))
    {
        browser->SetFolder(path, true);
        return;
    }
    if (!PlatformFileSystem::FileExists(path.CStr()))
        return;
    if (validator != nullptr)
    {
        validator->SetFolder(GetFolder());
        if (!validator->Check(path, this))
            return;
    }
    EndModal(kOK);
}

void XOpenFileDialog::Action(const XString& path)
{
    if (!PlatformFileSystem::FileExists(path.CStr()))
        return;
    if (validator != nullptr && !validator->Check(path, this))
    {
        FocusNameField();
        return;
    }
    EndModal(kOK);
}
