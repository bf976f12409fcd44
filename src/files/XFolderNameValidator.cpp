#include "files/XFolderNameValidator.h"

#include "files/FileTexts.h"
#include "gui/XDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "platform/PlatformFileSystem.h"

XFolderNameValidator::XFolderNameValidator(const XString& folderIn) : XFileNameValidator(XString(), folderIn)
{
}

bool XFolderNameValidator::Check(const XString& text, XView* view)
{
    if (view == nullptr)
        return false;
    const char* message = nullptr;
    XString argument;
    switch (ValidateFileName(text.CStr()))
    {
    case kFileNameEmpty:
        SelectTextField(view);
        return false;
    case kFileNameTooLong:
        message = kTooLongText;
        break;
    case kFileNameBadCharacter:
        message = kBadCharacterText;
        break;
    default:
    {
        XString path = folder;
        path.AddTrailingBackslash();
        path += text;
        if (!PlatformFileSystem::PathIsFolder(path.CStr()))
            return true;
        message = kExistsText;
        argument = text;
        break;
    }
    }
    XString shown = XDocumentCmd::GetFileDialogLabel(message);
    if (!argument.IsEmpty())
        shown = shown.Arg(argument);
    XErrorDialog error{shown};
    error.RunModal(nullptr, 0);
    SelectTextField(view);
    return false;
}
