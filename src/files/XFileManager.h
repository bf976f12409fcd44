#pragma once

#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class FloatParam;
class XButton;
class XFileBrowser;
class XFileEntry;
class XListRow;
class XMeterStick;
class XText;

/** The two-pane file manager ("filemanager"): a source browser on the left ("SourceBrowser"), a
    destination browser on the right ("DestBrowser") and a column of buttons between them that copy
    and move the active pane's selection to the other pane, delete it, and, as the description's
    attributes ask (hasShareButton, hasUnmountButton, hasBurnButton), share it, unmount removable
    volumes, back the selection up onto disc images and restore such a backup. The active pane is
    the one whose list last took the focus; the buttons follow its selection.

    Backup, restore and unmount run modally from their button's click: the work runs on a worker
    thread under a progress dialog and everything the operation made is gone before the click
    returns. Burning and sharing are not available on this system: the user is told so (and where
    the backup's disc images were written).

    With hasSelectedSizes a size graph under each pane shows how much of one backup disc (the medium
    last chosen in "Burn Options", a DVD until then) that pane's selection would fill: its files and
    the files directly in its folders, full at a disc or more. The panes, labels, buttons and graphs
    are children; the manager owns the graphs' parameters. GUI thread. */
class XFileManager : public XView
{
public:
    static constexpr int32_t kDefaultButtonWidth = 100;
    static constexpr int32_t kDefaultButtonHeight = 28;
    static constexpr int32_t kDefaultSizeGraphHeight = 30;
    /** The column's items keep this much room on each side. */
    static constexpr int32_t kColumnInset = 10;
    static constexpr const char* kCopyFailedText = "Could not complete copy operation because of an error.";
    static constexpr const char* kBurnTitle = "Can't burn files...";
    static constexpr const char* kInUseFormat = "The volume %s is in use and cannot be unmounted.";
    static constexpr const char* kUnmountFailedText =
        "An error occurred trying to unmount the volume.\r\nEnsure the drive is not in use, then try "
        "again.\r\n\r\n"
        "If you are still unable to unmount the drive, you may have to shutdown your system to safely remove "
        "the "
        "drive.";
    static constexpr const char* kRestoreReadFailedText = "An error occurred reading the restore data.";
    static constexpr const char* kBurnUnavailableFormat =
        "Burning discs is not available here.\r\n\r\nThe disc images of the backup were written to:\r\n%s";
    static constexpr const char* kShareUnavailableText = "Sharing files is not available here.";
    static constexpr int32_t kWorkerLevel = 3;

    XFileManager();
    ~XFileManager() override;

    void ReadAttributes(XMessage& block) override;
    /** The base's style, the content (BuildContent) and the selection buttons unlit. */
    void ApplyStyle() override;
    /** Makes the panes, labels and buttons on the first call and places them in the bounds. */
    virtual void BuildContent();
    /** Copies (or moves) the active selection to the right (source to destination) or the left. */
    virtual void TransferSelection(bool rightward, bool move);

    void CopyToRight() { TransferSelection(true, false); }
    void CopyToLeft() { TransferSelection(false, false); }
    void MoveToRight() { TransferSelection(true, true); }
    void MoveToLeft() { TransferSelection(false, true); }
    /** Deletes the selection of the source pane, then of the destination pane, after questions. */
    void DeleteSelected();
    void Share();
    void Unmount();
    void Burn();
    void Restore();

    /** Lights the buttons for the active pane's selection (see the class comment). */
    void UpdateButtons(bool hasSelection);
    /** True for a drive root of an optical disc that holds a backup's index file. */
    static bool IsBackupSource(const XFileEntry& entry);
    /** True when entry is a ".dat" file whose name begins as name does (blanks read as '_'; at
        most 6 characters, the name's length less 4). */
    static bool MatchesBackupName(const XFileEntry& entry, const XString& name);
    /** The path of the application's current document ('\' separators), "" without one. */
    virtual XString GetOpenDocumentPath() const;
    /** The top margin of the column's rows for a view height. */
    int32_t ColumnMargin(int32_t viewHeight) const;

    XFileBrowser* GetSourcePane() const { return sourcePane; }
    XFileBrowser* GetDestPane() const { return destPane; }
    XFileBrowser* GetActivePane() const { return activePane; }
    XButton* GetCopyRightButton() const { return copyRightButton; }
    XButton* GetCopyLeftButton() const { return copyLeftButton; }
    XButton* GetMoveRightButton() const { return moveRightButton; }
    XButton* GetMoveLeftButton() const { return moveLeftButton; }
    XButton* GetDeleteButton() const { return deleteButton; }
    XButton* GetBackupButton() const { return backupButton; }
    XButton* GetRestoreButton() const { return restoreButton; }
    XButton* GetShareButton() const { return shareButton; }
    XButton* GetUnmountButton() const { return unmountButton; }
    XMeterStick* GetSourceSizeGraph() const { return sourceSizeGraph; }
    XMeterStick* GetDestSizeGraph() const { return destSizeGraph; }
    int32_t GetButtonWidth() const { return buttonWidth; }
    int32_t GetButtonHeight() const { return buttonHeight; }

private:
    void CreatePanes();
    void CreateColumn();
    XButton* MakeButton(const char* label, void (XFileManager::*operation)());
    void LayoutContent();
    void OnFocus(XFileBrowser* pane, bool focused);
    void OnSelectionChanged();
    /** Sets each size graph to its pane's selected bytes against one disc. */
    void UpdateSizeGraphs();
    void OnPaneRefreshed(XFileBrowser* pane);
    XFileBrowser* OtherPane(const XFileBrowser* pane) const;
    /** Sizes and assembles the backup under progress dialogs; false (backup to delete) on a stop. */
    bool PrepareBackup(class XFileBackup& backup);
    /** Runs one job of the backup under a progress dialog; its result. */
    int32_t RunBackupJob(class XFileBackup& backup, const char* title, const char* text, bool assembly);
    /** The index file of the restore source's disc, "" when none. */
    static XString FindIndexFile(const XFileEntry& source);
    bool AskRestoreDestination(const class XDiskImage& image, XString& destination);
    void RestoreDiscs(class XDiskImage& image, const XString& indexPath, const XString& destination);

    XFileBrowser* sourcePane = nullptr; // children from here
    XFileBrowser* destPane = nullptr;
    XFileBrowser* activePane = nullptr; // one of the panes
    XText* copyLabel = nullptr;
    XText* moveLabel = nullptr;
    XButton* copyRightButton = nullptr;
    XButton* copyLeftButton = nullptr;
    XButton* moveRightButton = nullptr;
    XButton* moveLeftButton = nullptr;
    XButton* deleteButton = nullptr;
    XButton* backupButton = nullptr;
    XButton* restoreButton = nullptr;
    XButton* shareButton = nullptr;
    XButton* unmountButton = nullptr;
    XMeterStick* sourceSizeGraph = nullptr;
    XMeterStick* destSizeGraph = nullptr;
    std::unique_ptr<FloatParam> sourceSizeParam; // shown by the graphs, per mille of a disc
    std::unique_ptr<FloatParam> destSizeParam;
    /** An update of the graphs is posted and not yet run. */
    bool sizeGraphsPending = false;
    int32_t buttonWidth = kDefaultButtonWidth;
    int32_t buttonHeight = kDefaultButtonHeight;
    bool hasShareButton = false;
    bool hasUnmountButton = false;
    bool hasBurnButton = false;
    bool hasSelectedSizes = false;
    int32_t sizeGraphHeight = kDefaultSizeGraphHeight;
    XString backupInfoFile;
    /** The panes' signals this view listens to, dropped first when it goes. */
    std::vector<std::function<void()>> disconnections;
};
