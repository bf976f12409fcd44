#include "files/XFileBrowserListView.h"

#include "files/FileOperations.h"
#include "files/FileTexts.h"
#include "files/XFileErrorDialog.h"
#include "files/XFileRow.h"
#include "gui/XDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "platform/PlatformFileSystem.h"
#include "widgets/XTextEditView.h"

XFileBrowserListView::XFileBrowserListView() = default;

XFileBrowserListView::~XFileBrowserListView() = default;

void XFileBrowserListView::RequestDelete()
{
    deleteRequestedSignal.Emit();
}

void XFileBrowserListView::EditCell(int32_t rowIndex, int32_t columnIndex)
{
    auto* row = dynamic_cast<XFileRow*>(GetRowAt(rowIndex));
    if (columnIndex != XFileRow::kNameColumn || row == nullptr || editedRow != nullptr)
        return;
    XListView::EditCell(rowIndex, columnIndex);
}

bool XFileBrowserListView::PrepareCellEdit(int32_t columnIndex, XListRow* row)
{
    auto* fileRow = dynamic_cast<XFileRow*>(row);
    if (columnIndex != XFileRow::kNameColumn || fileRow == nullptr || editedRow != nullptr)
        return false;
    editedRow = fileRow;
    oldName = fileRow->GetName();
    oldPath = fileRow->GetPath();
    if (GetCellEditor() == nullptr)
        SetCellEditor(new XTextEditView());
    return false;
}

void XFileBrowserListView::EndCellEdit()
{
    XTextEditView* editor = GetCellEditor();
    if (editor != nullptr && editedRow != nullptr)
    {
        const XString text = editor->GetText();
        if (GetEditingColumn() == XFileRow::kNameColumn && text != oldName)
            RenameEditedRow(text);
    }
    editedRow = nullptr;
    oldName = XString();
    oldPath = XString();
    XListView::EndCellEdit();
    Invalidate();
}

void XFileBrowserListView::RenameEditedRow(const XString& newName)
{
    switch (ValidateFileName(newName.CStr()))
    {
    case kFileNameEmpty:
    {
        XErrorDialog error{XDocumentCmd::GetFileDialogLabel(kBlankNameText)};
        error.RunModal(this, 0);
        return;
    }
    case kFileNameTooLong:
    case kFileNameBadCharacter:
    {
        XFileErrorDialog error(ValidateFileName(newName.CStr()), XString());
        error.RunModal(this, 0);
        return;
    }
    default:
        break;
    }
    if (editedRow == nullptr)
        return;
    XString target = GetFolderAbove(oldPath);
    target.AddTrailingBackslash();
    target += newName;
    const char* existsText = PlatformFileSystem::PathIsFolder(target.CStr()) ? kFolderExistsText
                             : PlatformFileSystem::FileExists(target.CStr()) ? kFileExistsText
                                                                             : nullptr;
    if (existsText != nullptr)
    {
        XErrorDialog error{XDocumentCmd::GetFileDialogLabel(existsText).Arg(newName)};
        error.RunModal(this, 0);
        return;
    }
    if (MoveFileOrFolder(oldPath.CStr(), target.CStr(), true) == 0)
        changedSignal.Emit();
    else
    {
        XErrorDialog error{XDocumentCmd::GetFileDialogLabel(kRenameFailedText)};
        error.RunModal(this, 0);
    }
}
