#include "files/XFileNameValidator.h"

#include "files/FileTexts.h"
#include "files/XFileErrorDialog.h"
#include "files/XOverwriteFileDialog.h"
#include "gui/TextFieldAccess.h"
#include "gui/XDialog.h"
#include "gui/XView.h"
#include "platform/PlatformFileSystem.h"

XFileNameValidator::XFileNameValidator(const XString& extensionIn, const XString& folderIn)
    : extension(extensionIn), folder(folderIn)
{
}

void XFileNameValidator::SelectTextField(XView* view)
{
    if (view == nullptr)
        return;
    XView* field = nullptr;
    if (auto* dialog = dynamic_cast<XDialog*>(view))
        field = dialog->FindView(kTextFieldName);
    if (field == nullptr)
        field = view->FindChild(XString(kTextFieldName), true);
    if (field == nullptr)
        return;
    XString text;
    TextFieldAccess::GetText(field, text);
    TextFieldAccess::SetText(field, text, true);
    field->FocusChanged(true);
}

XString XFileNameValidator::CandidatePath(const XString& text) const
{
    XString name = text.TrimRight(' ');
    const bool hasExtension = !extension.IsEmpty() && name.Length() >= extension.Length() &&
                              name.Right(extension.Length()).CompareWithCase(extension.CStr(), false) == 0;
    if (!hasExtension && !extension.IsEmpty())
    {
        if (!name.EndsWithChar('.') && !extension.StartsWith("."))
            name += ".";
        name += extension;
    }
    XString path = folder;
    path.AddTrailingBackslash();
    path += name;
    return path;
}

bool XFileNameValidator::Check(const XString& text, XView* view)
{
    XString copy = text;
    XString name;
    copy.GetFileName(name);
    const int32_t check = ValidateFileName(name.CStr());
    if (check != kFileNameValid)
    {
        const int32_t kind = check == kFileNameTooLong ? 2 : check == kFileNameBadCharacter ? 3 : 4;
        XFileErrorDialog error(kind, XString());
        error.RunModal(view, 0);
        SelectTextField(view);
        return false;
    }
    const XString path = CandidatePath(text);
    if (PlatformFileSystem::FileExists(path.CStr()))
    {
        XString fileName;
        XString pathCopy = path;
        pathCopy.GetFileName(fileName);
        XOverwriteFileDialog replace(fileName, false);
        if (replace.RunModal(view, 0) != XDialog::kOK)
        {
            SelectTextField(view);
            return false;
        }
    }
    return true;
}
