#include "files/XFileManager.h"

#include "core/FloatParam.h"
#include "core/IAppDocument.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "files/DriveRoots.h"
#include "files/UnmountThread.h"
#include "files/XBackupMediaSelectDialog.h"
#include "files/XDiskImage.h"
#include "files/XFileBackup.h"
#include "files/XFileBrowser.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileEntry.h"
#include "files/XFolderListing.h"
#include "files/XListContainer.h"
#include "files/XProgressDialog.h"
#include "files/XTaskDialog.h"
#include "files/XVolumeManager.h"
#include "gui/DescriptionItems.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XText.h"
#include "gui/XYesNoCancelDialog.h"
#include "platform/PlatformFileSystem.h"
#include "widgets/XMeterStick.h"

#include <memory>

namespace
{
constexpr uint8_t kCentred = 0x24;
constexpr int32_t kSizeGraphInset = 4;
constexpr int32_t kSizeGraphGap = 10;
constexpr int32_t kSizeGraphBottom = 2;
/** Rows of the column (in button heights from the top margin). */
constexpr int32_t kCopyLabelRow = 0;
constexpr int32_t kCopyRightRow = 1;
constexpr int32_t kCopyLeftRow = 2;
constexpr int32_t kMoveLabelRow = 4;
constexpr int32_t kMoveRightRow = 5;
constexpr int32_t kMoveLeftRow = 6;
constexpr int32_t kDeleteRow = 8;
constexpr int32_t kColumnRowsForMargin = 7;
constexpr int32_t kMarginParts = 6;
constexpr int32_t kMaxBackupNameLength = 6;
constexpr int32_t kDatSuffixLength = 4;
/** The size graphs' scale: per mille of a disc. */
constexpr double kSizeGraphFull = 1000.0;
constexpr uint32_t kSizeGraphSteps = 1001;
/** The size graphs' empty part, darker than their bar. */
const XRGB kSizeGraphBackColour(30, 30, 30, 255);

XString Label(const char* text)
{
    return XDocumentCmd::GetFileDialogLabel(text);
}

void ShowError(const XString& title, const XString& text)
{
    XErrorDialog error(title, text);
    error.RunModal(nullptr, 0);
}

void ShowError(const XString& text)
{
    XErrorDialog error(text);
    error.RunModal(nullptr, 0);
}

XString Underscored(XString text)
{
    text.ReplaceChar(' ', '_');
    return text;
}

bool EndsWithDat(const XString& text)
{
    return text.Length() >= kDatSuffixLength &&
           text.Mid(text.Length() - kDatSuffixLength, kDatSuffixLength).CompareNoCase(".dat") == 0;
}

XString DisplayNameOf(const XString& path)
{
    return XFileEntry(path.CStr()).GetDisplayName();
}

XString ApplicationDocumentPath()
{
    XString path;
    if (XApplication* application = GetApplication())
        if (IAppDocument* document = application->GetDocument())
            path = document->GetPath();
    path.ReplaceChar('/', '\\');
    return path;
}

bool IsUnmountableKind(int32_t kind)
{
    return kind == PlatformFileSystem::kDriveRemovable || kind == PlatformFileSystem::kDriveExternalBus;
}

/** Connects a progress dialog to a worker's usual seven signals. */
template <typename Worker> void ConnectProgress(Worker& worker, XProgressDialog& dialog)
{
    XProgressDialog* const target = &dialog;
    worker.finishedSignal.Connect([target] { target->Finish(); });
    worker.failedSignal.Connect([target] { target->Fail(); });
    worker.textSignal.Connect([target](const char* text) { target->SetProgressText(text); });
}
} // namespace

XFileManager::XFileManager() = default;

XString XFileManager::GetOpenDocumentPath() const
{
    return ApplicationDocumentPath();
}

XFileManager::~XFileManager()
{
    // The graphs are children, deleted after the parameters they show.
    for (XMeterStick* graph : {sourceSizeGraph, destSizeGraph})
        if (graph != nullptr)
            graph->SetPot(nullptr);
    // The panes outlive this part of the view (the base deletes its children): they must not call
    // back while they go.
    for (const auto& disconnect : disconnections)
        disconnect();
}

void XFileManager::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    block.FindInt32("buttonHeight", buttonHeight);
    block.FindInt32("buttonWidth", buttonWidth);
    DescriptionItems::FindFlag(block, "hasBurnButton", hasBurnButton);
    const char* infoFile = nullptr;
    if (block.FindString("backupInfoFile", infoFile) == 0 && infoFile != nullptr)
        backupInfoFile = infoFile;
    DescriptionItems::FindFlag(block, "hasShareButton", hasShareButton);
    DescriptionItems::FindFlag(block, "hasUnmountButton", hasUnmountButton);
    DescriptionItems::FindFlag(block, "hasSelectedSizes", hasSelectedSizes);
    block.FindInt32("sizeGraphHeight", sizeGraphHeight);
}

void XFileManager::ApplyStyle()
{
    XView::ApplyStyle();
    BuildContent();
    for (XButton* button :
         {copyRightButton, copyLeftButton, moveRightButton, moveLeftButton, deleteButton, unmountButton})
    {
        if (button != nullptr)
            button->SetHilite(false);
    }
}

void XFileManager::BuildContent()
{
    if (sourcePane == nullptr)
    {
        CreatePanes();
        CreateColumn();
    }
    LayoutContent();
}

void XFileManager::CreatePanes()
{
    sourcePane = new XFileBrowser("SourceBrowser");
    destPane = new XFileBrowser("DestBrowser");
    for (XFileBrowser* pane : {sourcePane, destPane})
    {
        pane->SetShowName(false);
        pane->SetShowFilter(false);
        // The panes hand on several items at once: Ctrl and Shift add to a pane's selection.
        XListContainer* rows = pane->GetList()->GetContainer();
        rows->SetFlags(rows->GetFlags() | XListContainer::kMultipleSelection);
        AddChild(pane);
        const int32_t refreshed = pane->GetRefreshedSignal().Connect([this, pane] { OnPaneRefreshed(pane); });
        const int32_t focus =
            pane->GetList()->GetFlagSignal().Connect([this, pane](bool focused) { OnFocus(pane, focused); });
        const int32_t selection = pane->GetList()->GetRowSelectionSignal().Connect([this](XListRow*, bool)
                                                                                   { OnSelectionChanged(); });
        disconnections.push_back(
            [pane, refreshed, focus, selection]
            {
                pane->GetRefreshedSignal().Disconnect(refreshed);
                pane->GetList()->GetFlagSignal().Disconnect(focus);
                pane->GetList()->GetRowSelectionSignal().Disconnect(selection);
            });
    }
    activePane = sourcePane;
    if (hasSelectedSizes)
    {
        const XRGB graphColour(80, 80, 80, 255);
        for (auto* param : {&sourceSizeParam, &destSizeParam})
        {
            *param = std::make_unique<FloatParam>();
            (*param)->SetMin(0.0);
            (*param)->SetMax(kSizeGraphFull);
            (*param)->SetCount(kSizeGraphSteps);
            (*param)->SetValueNow(0.0, false);
        }
        sourceSizeGraph =
            new XMeterStick(XRect(0, 0, 1, 1), sourceSizeParam.get(), graphColour, kSizeGraphBackColour);
        destSizeGraph =
            new XMeterStick(XRect(0, 0, 1, 1), destSizeParam.get(), graphColour, kSizeGraphBackColour);
        AddChild(sourceSizeGraph);
        AddChild(destSizeGraph);
    }
}

XButton* XFileManager::MakeButton(const char* label, void (XFileManager::*operation)())
{
    auto* button = new XButton(XRect(0, 0, buttonWidth, buttonHeight), label);
    button->SetLabel(XString(label), false);
    AddChild(button);
    button->GetClickedSignal().Connect([this, operation] { (this->*operation)(); });
    return button;
}

void XFileManager::CreateColumn()
{
    const XRGB textColour = GetColorDictionary().GetColorOr("windowText", XRGB(0, 0, 0, 255));
    const auto makeLabel = [&](const char* text)
    {
        auto* label = new XText(XRect(0, 0, buttonWidth, buttonHeight), Label(text).CStr(), textColour,
                                GetFont(), kCentred);
        label->SetLabel(Label(text), false);
        AddChild(label);
        return label;
    };
    copyLabel = makeLabel("Copy:");
    copyRightButton = MakeButton(">>", &XFileManager::CopyToRight);
    copyLeftButton = MakeButton("<<", &XFileManager::CopyToLeft);
    moveLabel = makeLabel("Move:");
    moveRightButton = MakeButton(">>", &XFileManager::MoveToRight);
    moveLeftButton = MakeButton("<<", &XFileManager::MoveToLeft);
    deleteButton = MakeButton("Delete", &XFileManager::DeleteSelected);
    if (hasShareButton)
        shareButton = MakeButton("Sharing...", &XFileManager::Share);
    if (hasUnmountButton)
        unmountButton = MakeButton("Unmount", &XFileManager::Unmount);
    if (hasBurnButton)
    {
        backupButton = MakeButton("Backup", &XFileManager::Burn);
        restoreButton = MakeButton("Restore", &XFileManager::Restore);
    }
}

int32_t XFileManager::ColumnMargin(int32_t viewHeight) const
{
    if (viewHeight < kColumnRowsForMargin * buttonHeight)
        return 0;
    int32_t parts = kMarginParts;
    if (!hasShareButton)
        --parts;
    if (!hasBurnButton)
        --parts;
    if (hasUnmountButton)
        ++parts;
    return (viewHeight - kColumnRowsForMargin * buttonHeight) / parts;
}

void XFileManager::LayoutContent()
{
    const int32_t width = GetWidth();
    const int32_t height = GetHeight();
    const int32_t middle = width / 2;
    const int32_t columnLeft = middle - buttonWidth / 2;
    const int32_t columnRight = middle + buttonWidth / 2;
    const int32_t paneBottom = hasSelectedSizes ? height - sizeGraphHeight : height;
    sourcePane->SetFrame(XRect(0, 0, columnLeft, paneBottom));
    destPane->SetFrame(XRect(columnRight, 0, width, paneBottom));
    sourcePane->LayoutChildren();
    destPane->LayoutChildren();
    if (sourceSizeGraph != nullptr)
    {
        const int32_t top = paneBottom + kSizeGraphGap;
        const int32_t bottom = height - kSizeGraphBottom;
        sourceSizeGraph->SetFrame(XRect(kSizeGraphInset, top, columnLeft - kSizeGraphInset, bottom));
        destSizeGraph->SetFrame(XRect(columnRight + kSizeGraphInset, top, width - kSizeGraphInset, bottom));
    }

    const int32_t margin = ColumnMargin(height);
    const auto place = [&](XView* item, int32_t row)
    {
        if (item == nullptr)
            return;
        const int32_t top = margin + row * buttonHeight;
        item->SetFrame(XRect(columnLeft + kColumnInset, top, columnRight - kColumnInset, top + buttonHeight));
    };
    place(copyLabel, kCopyLabelRow);
    place(copyRightButton, kCopyRightRow);
    place(copyLeftButton, kCopyLeftRow);
    place(moveLabel, kMoveLabelRow);
    place(moveRightButton, kMoveRightRow);
    place(moveLeftButton, kMoveLeftRow);
    place(deleteButton, kDeleteRow);
    // Sharing and Unmount follow Delete after one free row, Backup and Restore after one more.
    int32_t row = kDeleteRow + 2;
    if (shareButton != nullptr)
        place(shareButton, row++);
    if (unmountButton != nullptr)
        place(unmountButton, row++);
    ++row;
    place(backupButton, row);
    place(restoreButton, row + 1);
}

// Selection and focus --------------------------------------------------------------------------------

XFileBrowser* XFileManager::OtherPane(const XFileBrowser* pane) const
{
    return pane == sourcePane ? destPane : sourcePane;
}

void XFileManager::OnFocus(XFileBrowser* pane, bool focused)
{
    if (!focused)
        return;
    activePane = pane;
    if (pane->GetList()->GetSelectedIndex() >= 0)
        UpdateButtons(true);
    else
        UpdateButtons(false);
}

void XFileManager::OnSelectionChanged()
{
    UpdateButtons(activePane != nullptr && activePane->GetList()->GetSelectedIndex() >= 0);
    if (sourceSizeGraph == nullptr || sizeGraphsPending)
        return;
    // A range selection announces every row: the sizes are added up once, after the last.
    sizeGraphsPending = true;
    const juce::Component::SafePointer<XFileManager> self(this);
    const bool posted = juce::MessageManager::callAsync(
        [self]
        {
            if (self != nullptr)
            {
                self->sizeGraphsPending = false;
                self->UpdateSizeGraphs();
            }
        });
    if (!posted)
    {
        sizeGraphsPending = false;
        UpdateSizeGraphs();
    }
}

void XFileManager::UpdateSizeGraphs()
{
    if (sourceSizeGraph == nullptr)
        return;
    const double capacity = XDiskImage::GetMediaCapacity(XBackupMediaSelectDialog::GetMediaType());
    const std::pair<XFileBrowser*, FloatParam*> graphs[] = {{sourcePane, sourceSizeParam.get()},
                                                            {destPane, destSizeParam.get()}};
    for (const auto& [pane, param] : graphs)
    {
        double bytes = 0.0;
        if (pane->GetList()->GetSelectedIndex() >= 0)
            for (const XFileEntry& entry : pane->GetSelectedEntries())
                bytes += entry.GetSize(true);
        const double share = capacity > 0.0 ? bytes / capacity : 0.0;
        param->SetValueNow(share >= 1.0 ? kSizeGraphFull : share * kSizeGraphFull, true);
    }
}

void XFileManager::OnPaneRefreshed(XFileBrowser* pane)
{
    XFileBrowser* other = OtherPane(pane);
    if (other != nullptr && other->GetFolder() == pane->GetFolder())
    {
        other->ReloadFolder();
        other->RefreshList(false);
    }
    if (restoreButton != nullptr && pane->GetFolder() != XFolderListing::kRootPath &&
        IsBackupSource(XFileEntry(pane->GetFolder().CStr(), true, 0)))
        restoreButton->SetHilite(true);
}

void XFileManager::UpdateButtons(bool hasSelection)
{
    bool anyBackupSource = false;
    bool anyDriveRoot = false;
    bool allUnmountable = false;
    bool readOnly = false;
    if (hasSelection && activePane != nullptr)
    {
        const std::vector<XFileEntry> entries = activePane->GetSelectedEntries();
        // Unmount needs every entry to be the root of a removable or USB drive: one fixed drive
        // among them (the system's own included) leaves it unlit.
        allUnmountable = !entries.empty();
        for (const XFileEntry& entry : entries)
        {
            anyBackupSource = anyBackupSource || IsBackupSource(entry);
            const bool root = PlatformFileSystem::IsDriveRoot(entry.GetPath().CStr());
            anyDriveRoot = anyDriveRoot || root;
            allUnmountable = allUnmountable && root && IsUnmountableKind(entry.GetDriveKind());
        }
        if (!entries.empty())
            readOnly = entries.back().GetDriveKind() == PlatformFileSystem::kDriveCdRom;
    }
    const bool rightward = activePane == sourcePane;
    for (XButton* button : {copyRightButton, moveRightButton})
        button->SetHilite(hasSelection && rightward);
    for (XButton* button : {copyLeftButton, moveLeftButton})
        button->SetHilite(hasSelection && !rightward);
    deleteButton->SetHilite(hasSelection && !anyDriveRoot && !readOnly);
    if (backupButton != nullptr)
        backupButton->SetHilite(hasSelection && !anyDriveRoot && !anyBackupSource);
    if (restoreButton != nullptr)
        restoreButton->SetHilite(anyBackupSource);
    if (unmountButton != nullptr)
        unmountButton->SetHilite(hasSelection && allUnmountable);
    if (shareButton != nullptr)
        shareButton->SetHilite(hasSelection);
}

bool XFileManager::MatchesBackupName(const XFileEntry& entry, const XString& name)
{
    if (entry.GetExtension().CompareNoCase("dat") != 0)
        return false;
    const XString entryName = Underscored(entry.GetName());
    const XString wanted = Underscored(name);
    int32_t length = entryName.Length();
    if (length > kDatSuffixLength)
        length -= kDatSuffixLength;
    if (length > kMaxBackupNameLength)
        length = kMaxBackupNameLength;
    return entryName.Left(length) == wanted.Left(length);
}

bool XFileManager::IsBackupSource(const XFileEntry& entry)
{
    if (entry.GetPath() == XFolderListing::kRootPath || !entry.IsTopLevel() ||
        entry.GetDriveKind() != PlatformFileSystem::kDriveCdRom)
        return false;
    XString name = entry.GetDisplayName();
    if (EndsWithDat(name))
    {
        if (MatchesBackupName(entry, name))
            return true;
    }
    else
        name = name.Left(kMaxBackupNameLength);
    if (name.IsEmpty())
        return false;
    if (!entry.IsFolder())
        return MatchesBackupName(entry, name);
    XFolderListing listing(entry.GetPath().CStr(), true, "*", false);
    for (int32_t i = 0; i < listing.GetCount(); ++i)
    {
        XFileEntry listed;
        if (listing.GetEntry(i, listed) == 0 && MatchesBackupName(listed, name))
            return true;
    }
    return false;
}

// Copying, moving, deleting, sharing ----------------------------------------------------------------

void XFileManager::TransferSelection(bool rightward, bool move)
{
    XFileBrowser* target = rightward ? destPane : sourcePane;
    XFileBrowser* source = rightward ? sourcePane : destPane;
    if (target == nullptr || target->TransferFrom(source, move) != 0)
        ShowError(Label(kCopyFailedText));
}

void XFileManager::DeleteSelected()
{
    if (sourcePane != nullptr)
        sourcePane->DeleteSelectedWithMessage();
    if (destPane != nullptr)
        destPane->DeleteSelectedWithMessage();
}

void XFileManager::Share()
{
    // Nothing on this system takes files to share: say so instead of sending them nowhere.
    XOKDialog box(XString("Sharing..."), XString(kShareUnavailableText), this, nullptr, XString("OK"));
    box.RunModal(this, 0);
}

// Unmounting -------------------------------------------------------------------------------------------

void XFileManager::Unmount()
{
    if (activePane == nullptr)
        return;
    const XString documentPath = GetOpenDocumentPath();
    std::vector<XFileEntry> volumes;
    for (const XFileEntry& entry : activePane->GetSelectedEntries())
    {
        if (!PlatformFileSystem::IsDriveRoot(entry.GetPath().CStr()) ||
            !IsUnmountableKind(entry.GetDriveKind()))
            continue;
        if (PathLiesUnder(documentPath, entry.GetPath()))
        {
            XString text;
            text.Format(kInUseFormat, entry.GetPath().CStr());
            ShowError(XString("Error..."), text);
            continue;
        }
        volumes.push_back(entry);
    }
    if (volumes.empty())
        return;

    const bool several = volumes.size() > 1;
    UnmountThread thread(volumes);
    XProgressDialog dialog(
        XString(several ? "Unmounting Volumes" : "Unmounting Volume"),
        XString(several ? "Unmounting removable volumes..." : "Unmounting removable volume..."), this, false);
    XProgressDialog* const target = &dialog;
    ConnectProgress(thread, dialog);
    thread.ratioSignal.Connect([target](uint32_t done, uint32_t total)
                               { target->SetProgressRatio(done, total); });
    thread.resetSignal.Connect([target] { target->ResetProgress(); });
    thread.completeSignal.Connect([target] { target->Complete(); });
    thread.stepSignal.Connect([target](uint64_t delta, bool wrap) { target->StepProgress(delta, wrap); });
    thread.Start(kWorkerLevel, nullptr, nullptr);
    const XDialogResult result = dialog.RunModal(this, 0);
    thread.Join();
    if (result != XDialog::kOK)
        ShowError(XString(kUnmountFailedText));
}

// Backing up ------------------------------------------------------------------------------------------

int32_t XFileManager::RunBackupJob(XFileBackup& backup, const char* title, const char* text, bool assembly)
{
    XProgressDialog dialog{XString(title), XString(text), this, false};
    XProgressDialog* const target = &dialog;
    ConnectProgress(backup, dialog);
    backup.progressSignal.Connect([target](float fraction) { target->SetProgressFraction(fraction); });
    XFileBackup* const worker = &backup;
    if (assembly)
        dialog.startSignal.Connect([worker] { worker->StartAssembly(); });
    else
        dialog.startSignal.Connect([worker] { worker->StartSizing(); });
    const XDialogResult result = dialog.RunModal(this, 0);
    backup.Join();
    backup.finishedSignal.DisconnectAll();
    backup.failedSignal.DisconnectAll();
    backup.textSignal.DisconnectAll();
    backup.progressSignal.DisconnectAll();
    return result;
}

bool XFileManager::PrepareBackup(XFileBackup& backup)
{
    while (backup.IsSizeStale())
    {
        if (RunBackupJob(backup, "Preparing to Burn...", "Preparing to burn...", false) != XDialog::kOK)
        {
            ShowError(XString("An error occurred assembling the list of files to burn."));
            return false;
        }
    }
    double total = 0.0;
    backup.GetTotalSize(total);
    if (total <= 0.0)
    {
        ShowError(XString("There are no files to burn..."));
        return false;
    }
    XBackupMediaSelectDialog media(total);
    if (media.RunModal(this, 0) != XDialog::kOK)
        return false;
    // The graphs measure against the medium just chosen.
    UpdateSizeGraphs();
    const int32_t mediaType = XBackupMediaSelectDialog::GetMediaType();
    double largest = 0.0;
    if (backup.GetLargestFileSize(largest) == 0 && largest >= XDiskImage::GetMediaCapacity(mediaType))
    {
        ShowError(
            XString("One or more files exceed the maximum media capacity. Please use a larger disk type."));
        return false;
    }
    backup.SetMediaType(mediaType);
    if (RunBackupJob(backup, "Building Disk Images...", "Building Disk Images...", true) != XDialog::kOK)
    {
        ShowError(XString("An error occurred building the disk images to burn."));
        backup.DeleteIndexFiles();
        return false;
    }
    uint32_t count = 0;
    backup.GetImageCount(count);
    if (count >= 2)
    {
        const char* medium = mediaType == XDiskImage::kMediaCD700   ? "700 MB (80 min) compact discs"
                             : mediaType == XDiskImage::kMediaCD650 ? "650 MB (74 min) compact discs"
                                                                    : "DVDs";
        XString text;
        text.Format("This backup operation will require %d - %s.\r\n\r\nDo you want to continue?",
                    static_cast<int32_t>(count), medium);
        XOKCancelDialog confirm(XString("Backup Confirmation..."), text, this, nullptr, XString("Yes"),
                                XString("No"));
        if (confirm.RunModal(this, 0) != XDialog::kOK)
        {
            backup.DeleteIndexFiles();
            return false;
        }
    }
    return true;
}

void XFileManager::Burn()
{
    bool hasDiscDrive = false;
    XVolumeManager::GetInstance().Refresh();
    for (const auto& drive : XVolumeManager::GetInstance().GetDrives())
        hasDiscDrive = hasDiscDrive || drive->GetDriveKind() == PlatformFileSystem::kDriveCdRom;
    if (!hasDiscDrive)
    {
        ShowError(XString(kBurnTitle), XString("There are no burnable CD or DVD drives in the system."));
        return;
    }
    const std::vector<XFileEntry> selected =
        activePane != nullptr ? activePane->GetSelectedEntries() : std::vector<XFileEntry>();
    if (selected.empty())
    {
        ShowError(XString(kBurnTitle), XString("You didn't select any files or folders to burn."));
        return;
    }
    auto backup = std::make_unique<XFileBackup>(selected.front().GetName());
    for (const XFileEntry& entry : selected)
        backup->AddEntry(&entry);
    if (!PrepareBackup(*backup))
        return;

    // No burner on this system: tell where the disc images are (as the system writes paths, so
    // that the user finds them), then let the backup go.
    XString where;
    for (const auto& image : backup->GetImages())
    {
        XString path = image->GetIndexPath();
        path.ReplaceChar('\\', '/');
        where += path;
        where += "\r\n";
    }
    XString text;
    text.Format(kBurnUnavailableFormat, where.CStr());
    XOKDialog box(XString("Backup"), text, this, nullptr, XString("OK"));
    box.RunModal(this, 0);
}

// Restoring -------------------------------------------------------------------------------------------

XString XFileManager::FindIndexFile(const XFileEntry& source)
{
    XString root = source.GetPath();
    root.AddTrailingBackslash();
    const XString discName = Underscored(source.GetDisplayName());
    XFolderListing listing(root.CStr(), true, "*", false);
    for (int32_t i = 0; i < listing.GetCount(); ++i)
    {
        XFileEntry listed;
        if (listing.GetEntry(i, listed) != 0)
            continue;
        const XString name = Underscored(listed.GetName());
        if (!EndsWithDat(name))
            continue;
        int32_t length = name.Length() - kDatSuffixLength;
        if (length > kMaxBackupNameLength)
            length = kMaxBackupNameLength;
        if (name.Left(length) == discName.Left(length))
        {
            XString path = root;
            path += listed.GetName();
            return path;
        }
    }
    return XString();
}

bool XFileManager::AskRestoreDestination(const XDiskImage& image, XString& destination)
{
    destination = image.GetOrigBase();
    XFileBrowser* targetPane = OtherPane(activePane);
    if (targetPane == nullptr)
        return true;
    const XString targetPath = targetPane->GetSelectedPath();
    if (targetPath.IsEmpty())
        return true;
    const int32_t kind = PlatformFileSystem::GetDriveKind(targetPath.CStr());
    if (kind != PlatformFileSystem::kDriveFixed && kind != PlatformFileSystem::kDriveNetwork &&
        kind != PlatformFileSystem::kDriveExternalBus)
        return true;
    const XString targetRoot = DriveRootOf(targetPath);
    if (targetRoot == DriveRootOf(destination))
        return true;
    const XString original = DisplayNameOf(DriveRootOf(destination));
    const XString other = DisplayNameOf(targetRoot);
    XString text;
    text.Format(
        "The data was originally located on the drive:\r\n\t\t\t\t%s.\r\n\r\nYou have selected a different "
        "drive to restore to:\r\n\t\t\t\t%s.\r\n\r\nWould you prefer to restore to %s, rather than %s?",
        original.CStr(), other.CStr(), other.CStr(), original.CStr());
    XYesNoCancelDialog question(XString("Select Restore Destination"), text, this, nullptr, XString("Yes"),
                                XString("No"), XString("Cancel"));
    const XDialogResult answer = question.RunModal(this, 0);
    if (answer == XDialog::kCancel)
        return false;
    if (answer == XDialog::kOK)
        destination = targetRoot;
    return true;
}

void XFileManager::Restore()
{
    if (activePane == nullptr)
        return;
    std::unique_ptr<XFileEntry> source;
    const XString folder = activePane->GetFolder();
    if (folder != XFolderListing::kRootPath && IsBackupSource(XFileEntry(folder.CStr(), true, 0)))
        source = std::make_unique<XFileEntry>(folder.CStr(), true, 0);
    else
    {
        for (const XFileEntry& entry : activePane->GetSelectedEntries())
        {
            if (IsBackupSource(entry))
            {
                source = std::make_unique<XFileEntry>(entry);
                break;
            }
        }
    }
    if (source == nullptr)
        return;
    const XString indexPath = FindIndexFile(*source);
    XDiskImage image;
    if (indexPath.IsEmpty() || image.ReadIndex(indexPath) != 0)
    {
        ShowError(XString(kRestoreReadFailedText));
        return;
    }
    XString destination;
    if (!AskRestoreDestination(image, destination))
        return;
    XString text;
    text.Format("You have chosen to restore to %s.\r\n\r\nAre you sure you want to proceed with the Restore "
                "operation?",
                DisplayNameOf(destination).CStr());
    XOKCancelDialog confirm(XString("About to Restore..."), text, this, nullptr, XString("OK"),
                            XString("Cancel"));
    if (confirm.RunModal(this, 0) != XDialog::kOK)
        return;
    RestoreDiscs(image, indexPath, destination);
}

void XFileManager::RestoreDiscs(XDiskImage& image, const XString& indexPath, const XString& destination)
{
    const int32_t discCount = image.GetNumDisks();
    for (int32_t disc = 0; disc < discCount; ++disc)
    {
        if (disc > 0 && image.ReadIndex(indexPath) != 0)
        {
            ShowError(XString(kRestoreReadFailedText));
            return;
        }
        image.SetOrigBase(destination);
        while (image.GetIndexInSet() != disc)
        {
            XString text;
            text.Format("Please insert disk %d of the restore set...", disc + 1);
            XOKCancelDialog insert(XString("Restore"), text, this, nullptr, XString("OK"), XString("Cancel"));
            if (insert.RunModal(this, 0) != XDialog::kOK)
                return;
            image.ReadIndex(indexPath);
            image.SetOrigBase(destination);
        }
        XString text;
        text.Format("Restoring disk %d of %d.", disc + 1, discCount);
        XTaskDialog dialog(XString("Restoring..."), text, &image, nullptr, false);
        if (dialog.RunModal(nullptr, 0) != XDialog::kOK)
            return;
    }
}
