#pragma once

#include "core/XSignal.h"
#include "core/XString.h"
#include "files/XListView.h"

class XFileRow;

/** The file browser's list: the Delete key asks the browser to delete the selection, and a file
    row's name can be edited in place, which renames the file or folder when the edit ends.

    Owned by its browser (a child view); the rows belong to the browser. GUI thread. */
class XFileBrowserListView final : public XListView
{
public:
    static constexpr const char* kBlankNameText =
        "The filename cannot be blank. Please enter a valid filename.";
    static constexpr const char* kFileExistsText =
        "A file named \"%1\" already exists. Please enter a different name.";
    static constexpr const char* kFolderExistsText =
        "A folder named \"%1\" already exists. Please enter a different name.";
    static constexpr const char* kRenameFailedText = "Could not rename this item.";

    XFileBrowserListView();
    ~XFileBrowserListView() override;

    /** After a successful rename (the browser refreshes). */
    XSignal<>& GetChangedSignal() { return changedSignal; }
    /** The Delete key (the browser deletes the selection). */
    XSignal<>& GetDeleteRequestedSignal() { return deleteRequestedSignal; }

    /** True while a name is edited in place. */
    bool IsEditingName() const { return editedRow != nullptr; }
    /** Emits the delete-requested signal. */
    void RequestDelete();
    /** Validates the new name and renames the edited row's item, telling errors in dialogs. */
    void RenameEditedRow(const XString& newName);

    // XListView -----------------------------------------------------------------------------------

    const char* ClassNameText() const override { return "XFileBrowserListView"; }
    /** Edits only the name column of a file row, one edit at a time. */
    void EditCell(int32_t rowIndex, int32_t columnIndex) override;
    /** Supplies the cell editor (made once) and remembers the edited row; no timecode. */
    bool PrepareCellEdit(int32_t columnIndex, XListRow* row) override;
    /** Renames when the name changed, then hides the editor and forgets the edit. */
    void EndCellEdit() override;
    /** The Delete key: RequestDelete instead of taking the row out. */
    void RemoveSelectedRow() override { RequestDelete(); }

private:
    XSignal<> changedSignal;
    XSignal<> deleteRequestedSignal;
    XString oldName;
    XFileRow* editedRow = nullptr; // the browser's row, while an edit runs
    XString oldPath;
};
