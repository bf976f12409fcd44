#pragma once

#include "core/FloatParam.h"
#include "core/StringParam.h"
#include "core/XMessageCodes.h"
#include "core/XMutex.h"
#include "core/XResult.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "core/XStringArray.h"
#include "files/XFolderListing.h"
#include "gui/XView.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class XButton;
class XFileBrowserListView;
class XFileEntry;
class XFileRow;
class XListRow;
class XPopupMenu;
class XText;
class XTextEditView;

/** The browser's path parameter: a text parameter that keeps its browser as client data, which
    its format callback reads (a plain text parameter keeps none). */
class XFileBrowserPathParam final : public StringParam
{
public:
    void* GetClientData() const override { return browser; }
    void SetClientData(void* data) override { browser = data; }

private:
    void* browser = nullptr;
};

/** The framework's file list: one folder, or "Root" (the list of drives), as a three-column list
    (icon, name, date) under a bar of Up, Del and New buttons and a folder menu, with an optional
    path row and, below the list, a filter menu and a name field. It moves through folders, lets the
    user pick a file, filters by file type, renames in place, deletes and makes folders. It follows
    the disk: a file helper's change in the shown folder is picked up by the 'refr' timer within a
    second (the listener may run on any thread; it only marks the refresh), and the volume
    manager's 10000049 rebuilds the drive list.

    Paths are '\' texts; a held folder ends in '\' ("Root" for the drives). The children, the
    listing, the parameters and the rows belong to the browser. Show flags are set after
    construction, before the browser is styled. GUI thread, except OnFileChanged. */
class XFileBrowser : public XView
{
public:
    static constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*";
    static constexpr const char* kMissingText = "[Missing]";
    static constexpr int32_t kRefreshTimerId = static_cast<int32_t>(FourCharCode("refr"));
    static constexpr int32_t kRefreshPeriodMs = 1000;
    static constexpr int32_t kRowHeight = 28;
    static constexpr int32_t kGap = 5;
    static constexpr int32_t kButtonWidth = 65;
    static constexpr const char* kNewFolderTitle = "Create New Folder";
    static constexpr const char* kNewFolderPrompt = "New Folder Name:";
    static constexpr const char* kFolderExistsText =
        "A folder with the name \"%1\" already exists. Please enter a different name.";
    static constexpr const char* kCreateFailedText = "Cannot create directory. Please try again.";
    static constexpr const char* kDeleteFolderQuestion =
        "Are you sure you want to delete the selected folder?";
    static constexpr const char* kDeleteFileQuestion = "Are you sure you want to delete the selected file?";
    static constexpr const char* kDeleteAllQuestion =
        "Are you sure you want to delete all selected files and folders?";
    static constexpr const char* kInUseText =
        "A file you have chosen to delete is currently in use by the system.";
    static constexpr const char* kDeleteFailedText = "Could not delete selected files.";

    explicit XFileBrowser(const char* name);
    ~XFileBrowser() override;

    /** Stores the name; with a name field, shows it all selected. */
    virtual void SetFileName(const XString& name);
    /** Shows the folder ('/' read as '\', "" as "Root"); nothing when it is the current one (one
        trailing backslash aside). Returns true when the folder changed. */
    virtual bool SetFolder(const XString& path, bool includeFolders);
    virtual XString GetFolder() const;
    /** The current filter's extension: after the pattern's last "." ("qm7", "*" for "*.*"); empty
        without a pattern. */
    virtual XString GetFilterPattern() const;

    virtual void SetShowPath(bool show) { showPath = show; }
    virtual bool GetShowPath() const { return showPath; }
    virtual void SetShowFilter(bool show) { showFilter = show; }
    virtual bool GetShowFilter() const { return showFilter; }
    virtual void SetShowName(bool show) { showName = show; }
    virtual bool GetShowName() const { return showName; }
    virtual void SetShowDelete(bool show) { showDelete = show; }
    virtual bool GetShowDelete() const { return showDelete; }
    virtual void SetShowNewFolder(bool show) { showNewFolder = show; }
    virtual bool GetShowNewFolder() const { return showNewFolder; }
    virtual void SetAllowRename(bool allow) { allowRename = allow; }
    virtual bool GetAllowRename() const { return allowRename; }
    virtual void SetShowFolderMenu(bool show) { showFolderMenu = show; }
    virtual bool GetShowFolderMenu() const { return showFolderMenu; }
    virtual void SetShowUp(bool show) { showUp = show; }
    virtual bool GetShowUp() const { return showUp; }
    virtual void SetKeepNameOnFolder(bool keep) { keepNameOnFolder = keep ? 1 : 0; }
    virtual bool GetKeepNameOnFolder() const { return keepNameOnFolder != 0; }
    /** Places the children in the bounds; nothing unless all exist. */
    virtual void LayoutChildren();
    /** Nothing more to connect here: the name field is read when asked (GetSelectedPath). */
    virtual void ConnectNameField() {}

    /** Adds "description|pattern" to the filters; makeCurrent selects it. */
    void AddFilter(const XString& description, const XString& pattern, bool makeCurrent);
    /** The typed name in the current folder (the filter's extension added when it has none; nothing
        added under "All Files"), else the selected file row's path, else "". */
    XString GetSelectedPath() const;
    /** True while a name is edited in place. */
    bool IsEditingName() const;
    void GoUp();
    void RowActivated(XListRow* row, int32_t column);
    void SelectionChanged(int32_t first, int32_t last);
    /** Re-reads the listing without rebuilding the rows. */
    void ReloadFolder();
    /** Re-reads, rebuilds (announcing it), clears the pending refresh. */
    void Refresh();
    /** Rebuilds the rows from the listing. */
    void RefreshList(bool announce);

    /** Asks for a name and creates the folder in the current folder; nothing in "Root". */
    void NewFolder();
    /** Deletes the selected rows after confirmation: 0, XResult::kFailed, XResult::kNullArgument or the
       failing helper's code. */
    int32_t DeleteSelected();
    /** DeleteSelected, telling a failure in an error dialog. */
    void DeleteSelectedWithMessage();
    /** Whether deleting the item would pull the document away: the document file itself, or a
        folder that holds it. Paths compare case-sensitively; an empty document path protects
        nothing. */
    static bool IsInUse(const XString& path, bool isFolder, const XString& documentPath);

    // Copying and moving from another browser ----------------------------------------------------

    /** Conflict classes of one item (ClassifyTransfer). */
    enum TransferConflict : int32_t
    {
        kTransferNoConflict = 0,
        kTransferFileOntoFolder = 1,
        kTransferFolderOntoFile = 2,
        kTransferFolderOntoFolder = 3,
        kTransferFileOntoFile = 4,
        kTransferUnknown = 5
    };
    static constexpr const char* kFileOntoFolderText = "Cannot copy these items because the file \"%1\" being "
                                                       "copied has the same name as an existing folder.";
    static constexpr const char* kFolderOntoFileText = "Cannot copy these items because the folder \"%1\" "
                                                       "being copied has the same name as an existing file.";
    static constexpr const char* kUnknownTransferText = "Cannot copy these items because an unknown error occurred.";
    static constexpr const char* kFolderExistsTitle = "Folder Exists...";
    static constexpr const char* kFolderExistsQuestion =
        "This folder already contains a folder named '%1.'\r\n\r\nIf the files in the existing folder have the "
        "same name as the files in the folder you are moving or copying, they will be replaced.\r\nDo you still "
        "want to move or copy the folder?";
    static constexpr const char* kOverwriteAllTitle = "Overwrite All?";
    static constexpr const char* kOverwriteAllQuestion = "At least one of the files being copied has the same name "
                                                         "as an existing file. Overwrite all files necessary?";
    static constexpr const char* kTransferFailedText = "An unknown error occurred during the file transfer.";
    static constexpr int32_t kTransferThreadLevel = 3;

    /** Copies (or moves) the source browser's selected rows into this browser's folder, after the
        conflict questions, under a progress dialog; refreshes this browser when asked to. 0 (also
        when either browser shows the drives); kMissingArgument without a source or its list;
        kFailed when the source's selection cannot be read. */
    int32_t TransferFrom(XFileBrowser* source, bool move);
    /** The conflict checks and questions of the rows, then TransferRows (telling a failure). True
        when this browser is to be refreshed. */
    bool ConfirmTransfer(const std::vector<XListRow*>& rows, bool move);
    /** The conflict class of copying source to target (TransferConflict). */
    static int32_t ClassifyTransfer(const XString& source, const XString& target);
    /** Runs the copy worker under a progress dialog: 0 when it finished, else kFailed. */
    int32_t TransferRows(const std::vector<XListRow*>& rows, bool move);
    /** Copies of the entries of the selected file rows, in row order. */
    std::vector<XFileEntry> GetSelectedEntries() const;

    /** The file-change listener: marks a refresh when the change touches the shown folder. Any
        thread. */
    void OnFileChanged(const XFileEntry& changed);
    bool IsRefreshPending() const { return refreshPending.load(); }

    XFileBrowserListView* GetList() const { return list; }
    XButton* GetUpButton() const { return upButton; }
    XButton* GetDeleteButton() const { return deleteButton; }
    XButton* GetNewButton() const { return newButton; }
    XPopupMenu* GetFolderMenu() const { return folderMenu; }
    XPopupMenu* GetFilterMenu() const { return filterMenu; }
    XText* GetPathText() const { return pathText; }
    /** The name field while the Name row is shown, else null. */
    XTextEditView* GetNameField() const { return showName ? nameField : nullptr; }
    FloatParam& GetFolderMenuParam() { return folderMenuParam; }
    FloatParam& GetFilterParam() { return filterParam; }
    StringParam& GetPathParam() { return pathParam; }
    const XStringArray& GetFilters() const { return filters; }
    /** The rows shown now, in list order. */
    std::vector<XFileRow*> GetFileRows() const;

    /** The folder menu's item text for index (see FormatFolderMenuItem). */
    XString FolderMenuItem(int32_t index) const;
    /** The folder that picking index in the folder menu opens. */
    XString FolderForMenuIndex(int32_t index) const;
    /** The path row's text of the current folder: "Root", "[Missing]" for a folder that is not
        there, else the folder with '/' between its names, as the system writes it. */
    XString PathText() const;

    /** Emitted after each announced rebuild. */
    XSignal<>& GetRefreshedSignal() { return refreshedSignal; }
    /** A file row was activated, with its path. */
    XSignal<const char*>& GetFileActivatedSignal() { return fileActivatedSignal; }
    /** The selection starts at a file row. */
    XSignal<XListRow*>& GetRowSelectedSignal() { return rowSelectedSignal; }

    // XView ------------------------------------------------------------------------------------------

    void ApplyStyle() override;
    void Show() override;
    void HandleTimer(int32_t timerId) override;
    void MessageReceived(XMessage& message) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    virtual void SetupFilters();
    void CreateChildViews();
    void UpdateFolderMenu();
    /** The components of the current folder behind "Root": the drive root first ("\"), then the
        names; empty for "Root". */
    std::vector<XString> FolderComponents() const;
    void ClearRows();

private:
    static int32_t FileChangedCallback(const XFileEntry& changed, void* userData);
    static XString FormatFolderMenuItem(XParam* param, double value, int32_t user);
    static XString FormatFilterMenuItem(XParam* param, double value, int32_t user);
    static XString FormatPathText(XParam* param, double value, int32_t user, int32_t extra);
    void ConnectButton(XButton* button, void (XFileBrowser::*operation)());
    // LayoutChildren's steps.
    /** Places the New, Del and Up buttons from the right and the folder menu in the rest of the bar
        (connecting the buttons once); returns the leftmost shown button's left, -1 when none is shown. */
    int32_t LayoutButtonBar(const XRect& bounds);
    /** Places the "Path:" label and the path text in the top row. */
    void LayoutPathRow(const XRect& bounds, int32_t buttonsLeft);
    /** Places the filter row at the bottom and the name row above it; returns the top of the rows
        shown (bounds.bottom when none). */
    int32_t LayoutBottomRows(const XRect& bounds);
    bool IsRoot() const;
    XString CurrentFilterText() const;
    bool PassesFilter(const XFileEntry& entry, const XString& filterText) const;

    XSignal<> refreshedSignal;
    XSignal<const char*> fileActivatedSignal;
    XSignal<XListRow*> rowSelectedSignal;
    XFileBrowserListView* list = nullptr; // child views from here
    XButton* upButton = nullptr;
    XButton* deleteButton = nullptr;
    XButton* newButton = nullptr;
    XPopupMenu* folderMenu = nullptr;
    XPopupMenu* filterMenu = nullptr;
    XText* pathText = nullptr;
    XTextEditView* nameField = nullptr;
    XText* pathLabel = nullptr;
    XText* filterLabel = nullptr;
    XText* nameLabel = nullptr;
    XFolderListing listing;
    FloatParam folderMenuParam;
    XFileBrowserPathParam pathParam;
    XStringArray filters;
    FloatParam filterParam;
    bool showPath = true;
    bool showFilter = true;
    bool showName = true;
    bool showDelete = true;
    bool showNewFolder = true;
    bool showFolderMenu = true;
    bool showUp = true;
    bool allowRename = false;
    std::atomic<bool> refreshPending{false};
    XString fileName;
    int32_t keepNameOnFolder = 0;
    /** The folder, for the listener on other threads (the listing belongs to the GUI thread). */
    mutable XMutex folderLock;
    XString folderForListener;
    bool listenerAdded = false;
    bool buttonsConnected = false;
    bool updatingFolderMenu = false;
    std::vector<std::unique_ptr<XFileRow>> rows;
};
