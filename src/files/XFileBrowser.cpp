#include "files/XFileBrowser.h"

#include "core/IAppDocument.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XParamDesc.h"
#include "core/XSmartLock.h"
#include "files/FileCopyThread.h"
#include "files/FileOperations.h"
#include "files/FileTexts.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileEntry.h"
#include "files/XFileRow.h"
#include "files/XFolderNameValidator.h"
#include "files/XProgressDialog.h"
#include "files/XVolumeManager.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "gui/XFont.h"
#include "gui/XGetTextDialog.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "gui/XYesNoCancelDialog.h"
#include "platform/PlatformFileSystem.h"
#include "widgets/XTextEditView.h"

#include <algorithm>

namespace
{
constexpr int32_t kLabelWidth = 40;
constexpr int32_t kRowLabelLeft = 6;
constexpr int32_t kRowLabelRight = 66;
constexpr int32_t kRowFieldLeft = 71;

XString Label(const char* text)
{
    return XDocumentCmd::GetFileDialogLabel(text);
}

bool SameText(const XString& a, const XString& b)
{
    return a.CompareWithCase(b.CStr(), false) == 0;
}

XString WithTrailingBackslash(XString path)
{
    path.AddTrailingBackslash();
    return path;
}

XRGB ColourOr(const char* name, const XRGB& fallback)
{
    return GetColorDictionary().GetColorOr(name, fallback);
}

const XRGB kOpaqueBlack(0, 0, 0, 255);

/** The file name part of a typed text ('/' read as '\'). */
XString FileNamePart(const XString& text)
{
    XString copy = text;
    XString name;
    copy.GetFileName(name);
    return name;
}

/** The text after the last '.' of a file name; "" without one. */
XString NameExtension(const XString& name)
{
    XString extension;
    name.GetExtension(extension);
    return extension;
}

/** Whether the path lies in or below folder (which ends in '\'); paths compare case-sensitively. */
bool IsInside(const XString& path, const XString& folder)
{
    return !folder.IsEmpty() && path.StartsWith(folder.CStr());
}
} // namespace

XFileBrowser::XFileBrowser(const char* name)
{
    SetLabel(XString(name), false);
    SetName(XString(name));
    setName(juce::String::fromUTF8(name));
    pathParam.SetFormatCallback(&XFileBrowser::FormatPathText, 0, 0);
    pathParam.SetClientData(this);
    pathParam.SetChangeTracking(false);
    SetupFilters();
    XVolumeManager::GetInstance().AddClient(this);
}

XFileBrowser::~XFileBrowser()
{
    if (listenerAdded)
        XFileEntry::RemoveNotifyCallback(&XFileBrowser::FileChangedCallback, this);
    XVolumeManager::GetInstance().RemoveClient(this);
    StopTimer(kRefreshTimerId);
    filterParam.RemoveWatcher(this);
    folderMenuParam.RemoveWatcher(this);
    if (list != nullptr)
        list->RemoveAllRows();
}

// Setup ----------------------------------------------------------------------------------------------

void XFileBrowser::SetupFilters()
{
    SetTransparentWithColor(true, XRGB(0, 0, 0, 0));
    filters.Add(kAllFilesFilter);

    XParamDesc desc;
    desc.Init();
    desc.type = XParamDesc::kTypeInteger;
    desc.max = 0;
    XString filterName = GetLabel();
    filterName += "FiltersParam";
    desc.SetName(filterName.CStr());
    filterParam.SetDesc(&desc);
    filterParam.SetTextCallback(&XFileBrowser::FormatFilterMenuItem, 0);
    filterParam.SetClientData(this);
    filterParam.AddWatcher(this, 0, false);

    desc.Init();
    desc.type = XParamDesc::kTypeInteger;
    desc.max = 0;
    desc.SetName("FolderMenu");
    folderMenuParam.SetDesc(&desc);
    folderMenuParam.SetTextCallback(&XFileBrowser::FormatFolderMenuItem, 0);
    folderMenuParam.SetClientData(this);
    folderMenuParam.AddWatcher(this, 0, false);

    CreateChildViews();
}

void XFileBrowser::CreateChildViews()
{
    list = new XFileBrowserListView();
    XMessage listBlock;
    listBlock.AddString("name", GetLabel().CStr());
    listBlock.AddString("insertcolumn", " ,50,center");
    listBlock.AddString("insertcolumn", "File Name,80");
    listBlock.AddString("insertcolumn", "Date,100");
    listBlock.AddInt32("rowHeight", 20);
    listBlock.AddColor("backcolor", ColourOr("listBackColor", kOpaqueBlack));
    listBlock.AddColor("forecolor", ColourOr("listForeColor", kOpaqueBlack));
    listBlock.AddColor("color1", ColourOr("listHeaderBack", kOpaqueBlack));
    listBlock.AddColor("color2", ColourOr("listHeaderFore", kOpaqueBlack));
    if (XFont* font = XFont::GetFont(XString("arial"), 12, false, false, false))
        listBlock.AddPointer("font", font);
    listBlock.AddString("style", "noscrollbarimages");
    list->ReadAttributes(listBlock);
    AddChild(list);
    list->GetRowActivatedSignal().Connect([this](XListRow* row, int32_t column)
                                          { RowActivated(row, column); });
    list->GetSelectionRangeSignal().Connect([this](int32_t first, int32_t last)
                                            { SelectionChanged(first, last); });
    list->GetChangedSignal().Connect([this] { Refresh(); });
    list->GetDeleteRequestedSignal().Connect([this] { DeleteSelectedWithMessage(); });

    const auto makeButton = [this](const char* name, const char* label)
    {
        auto* button = new XButton(XRect(0, 0, kButtonWidth, kRowHeight), name);
        button->SetLabel(Label(label), false);
        AddChild(button);
        return button;
    };
    upButton = makeButton("FileBrowserUp", "Up");
    deleteButton = makeButton("FileBrowserDel", "Del");
    newButton = makeButton("FileBrowserNew", "New");

    const XRGB textColour = ColourOr("windowText", kOpaqueBlack);
    pathText = new XText(XRect(0, 0, 10, kRowHeight), &pathParam, textColour, 0x21);
    AddChild(pathText);

    const auto makeMenu = [this](FloatParam& param)
    {
        auto* menu = new XPopupMenu(XRect(0, 0, 0, 0), nullptr, nullptr);
        XMessage block;
        block.AddRect("frame", XRect(0, 0, 0, 0));
        block.AddString("textjustify", "center");
        block.AddBool("dynamic", true);
        block.AddString("style", "transparent");
        menu->ReadAttributes(block);
        AddChild(menu);
        menu->SetPot(&param);
        return menu;
    };
    folderMenu = makeMenu(folderMenuParam);
    filterMenu = makeMenu(filterParam);

    nameField = new XTextEditView();
    AddChild(nameField);

    XFont* labelFont = XFont::GetNamedFont(XString("label"), false);
    if (labelFont == nullptr)
        labelFont = XFont::GetFont(XString("arial"), 12, false, false, false);
    const auto makeLabel = [&](const char* text)
    {
        const XString shown = Label(text);
        auto* label = new XText(XRect(0, 0, 10, kRowHeight), shown.CStr(), textColour, labelFont, 0x21);
        AddChild(label);
        return label;
    };
    pathLabel = makeLabel("Path:");
    filterLabel = makeLabel("Filter:");
    nameLabel = makeLabel("Name:");
}

void XFileBrowser::ConnectButton(XButton* button, void (XFileBrowser::*operation)())
{
    button->GetClickedSignal().Connect([this, operation] { (this->*operation)(); });
}

void XFileBrowser::LayoutChildren()
{
    if (list == nullptr || upButton == nullptr || deleteButton == nullptr || newButton == nullptr ||
        folderMenu == nullptr || filterMenu == nullptr || pathText == nullptr || nameField == nullptr)
        return;
    const XRect bounds = GetBounds();
    const int32_t buttonsLeft = LayoutButtonBar(bounds);
    LayoutPathRow(bounds, buttonsLeft);
    const bool topBar = showNewFolder || showDelete || showUp || showFolderMenu;
    const int32_t topRows = (showPath ? kRowHeight + kGap : 0) + (topBar ? kRowHeight + kGap : 0);
    const int32_t bottomTop = LayoutBottomRows(bounds);

    const int32_t listTop = bounds.top + topRows;
    const int32_t listBottom = (showFilter || showName) ? bottomTop - kGap : bounds.bottom - kGap;
    list->SetFrame(XRect(bounds.left + kGap, listTop, bounds.right - kGap, listBottom));
    const int32_t width = list->GetWidth();
    list->SetColumnWidth(0, width * 10 / 100);
    list->SetColumnWidth(1, width * 50 / 100);
    list->SetColumnWidth(2, width * 35 / 100);
}

int32_t XFileBrowser::LayoutButtonBar(const XRect& bounds)
{
    // New, Del, Up from the right; the folder menu fills the rest. The bar sits below the path row.
    const int32_t L = bounds.left;
    const int32_t T = bounds.top;
    const int32_t R = bounds.right;
    const int32_t barShift = showPath ? kRowHeight + kGap : 0;
    int32_t nextRight = R - kGap;
    int32_t lastLeft = -1;
    const auto place = [&](XButton* button, bool shown)
    {
        button->setVisible(shown);
        if (!shown)
            return;
        const int32_t left = nextRight - kButtonWidth;
        button->SetFrame(XRect(left, T + barShift, nextRight, T + barShift + kRowHeight));
        lastLeft = left;
        nextRight = left - kGap;
    };
    place(newButton, showNewFolder);
    place(deleteButton, showDelete);
    place(upButton, showUp);
    if (!buttonsConnected)
    {
        buttonsConnected = true;
        ConnectButton(newButton, &XFileBrowser::NewFolder);
        ConnectButton(deleteButton, &XFileBrowser::DeleteSelectedWithMessage);
        ConnectButton(upButton, &XFileBrowser::GoUp);
    }
    folderMenu->setVisible(showFolderMenu);
    if (showFolderMenu)
    {
        const int32_t menuRight = lastLeft >= 0 ? lastLeft - kGap : R - kGap;
        folderMenu->SetFrame(XRect(L + kGap, T + barShift, menuRight, T + barShift + kRowHeight));
    }
    return lastLeft;
}

void XFileBrowser::LayoutPathRow(const XRect& bounds, int32_t buttonsLeft)
{
    pathLabel->setVisible(showPath);
    pathText->setVisible(showPath);
    if (!showPath)
        return;
    const int32_t T = bounds.top;
    const int32_t labelLeft =
        showFolderMenu ? bounds.left + kGap : (buttonsLeft >= 0 ? buttonsLeft : bounds.left);
    pathLabel->SetFrame(XRect(labelLeft, T, labelLeft + kLabelWidth, T + kRowHeight));
    pathText->SetFrame(XRect(labelLeft + kLabelWidth + kGap, T, bounds.right - kGap, T + kRowHeight));
}

int32_t XFileBrowser::LayoutBottomRows(const XRect& bounds)
{
    // Filter at the bottom, Name above it (or at the bottom alone).
    const int32_t L = bounds.left;
    const int32_t R = bounds.right;
    const int32_t B = bounds.bottom;
    filterLabel->setVisible(showFilter);
    filterMenu->setVisible(showFilter);
    nameLabel->setVisible(showName);
    nameField->setVisible(showName);
    int32_t bottomTop = B;
    if (showFilter)
    {
        filterLabel->SetFrame(XRect(L + kRowLabelLeft, B - kRowHeight, L + kRowLabelRight, B));
        filterMenu->SetFrame(XRect(L + kRowFieldLeft, B - kRowHeight, R - kGap, B));
        bottomTop = B - kRowHeight;
    }
    if (showName)
    {
        const int32_t nameBottom = showFilter ? B - kRowHeight - kGap : B;
        nameLabel->SetFrame(
            XRect(L + kRowLabelLeft, nameBottom - kRowHeight, L + kRowLabelRight, nameBottom));
        XMessage block;
        block.AddRect("frame", XRect(L + kRowFieldLeft, nameBottom - kRowHeight, R - kGap, nameBottom));
        block.AddColor("backcolor", ColourOr("editTextBack", XRGB(255, 255, 255, 255)));
        block.AddColor("forecolor", ColourOr("editTextFore", kOpaqueBlack));
        block.AddString("style", "simpleframe");
        if (XFont* font = XFont::GetNamedFont(XString("edittext"), false))
            block.AddPointer("font", font);
        nameField->ReadAttributes(block);
        nameField->SetText(fileName);
        nameField->SelectAll();
        bottomTop = nameBottom - kRowHeight;
    }
    return bottomTop;
}

void XFileBrowser::ApplyStyle()
{
    XView::ApplyStyle();
    LayoutChildren();
    ConnectNameField();
    if (list == nullptr)
        return;
    listing.Reload(true, "*", false);
    RefreshList(true);
    refreshPending = false;
    list->SortByColumn(1, false);
    if (!listenerAdded)
    {
        listenerAdded = true;
        XFileEntry::AddNotifyCallback(&XFileBrowser::FileChangedCallback, this);
    }
    StartTimer(kRefreshTimerId, kRefreshPeriodMs, false);
}

void XFileBrowser::Show()
{
    XView::Show();
    listing.Reload(true, "*", false);
    RefreshList(true);
    refreshPending = false;
}

// Folders --------------------------------------------------------------------------------------------

void XFileBrowser::SetFileName(const XString& name)
{
    fileName = name;
    if (nameField != nullptr)
    {
        nameField->SetText(name);
        nameField->SelectAll();
    }
}

bool XFileBrowser::IsRoot() const
{
    return listing.GetPath() == XFolderListing::kRootPath;
}

bool XFileBrowser::SetFolder(const XString& path, bool includeFolders)
{
    XString folder = path;
    folder.ReplaceChar('/', '\\');
    if (folder.IsEmpty())
        folder = XFolderListing::kRootPath;
    if (folder != XFolderListing::kRootPath)
        folder.AddTrailingBackslash();
    // Two folders may differ only in case, so the comparison is exact.
    if (folder == listing.GetPath())
        return false;
    listing.SetPath(folder.CStr(), includeFolders, "*", false);
    listing.Reload(true, "*", false);
    {
        XSmartLock hold(&folderLock);
        folderForListener = folder;
    }
    RefreshList(true);
    refreshPending = false;
    pathParam.NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), nullptr);
    UpdateFolderMenu();
    return true;
}

XString XFileBrowser::GetFolder() const
{
    return listing.GetPath();
}

std::vector<XString> XFileBrowser::FolderComponents() const
{
    std::vector<XString> components;
    const XString& folder = listing.GetPath();
    if (folder.IsEmpty() || IsRoot())
        return components;
    components.emplace_back("\\");
    XStringArray names;
    names.SplitPath(folder, false);
    for (int index = 0; index < names.GetCount(); ++index)
        components.push_back(names.GetAt(index));
    return components;
}

void XFileBrowser::UpdateFolderMenu()
{
    const int32_t last = IsRoot() ? 0 : static_cast<int32_t>(FolderComponents().size());
    updatingFolderMenu = true;
    XParamDesc desc;
    desc.Copy(folderMenuParam.GetDesc());
    desc.max = last;
    desc.def = last;
    desc.count = static_cast<uint32_t>(last + 1);
    folderMenuParam.SetDesc(&desc);
    folderMenuParam.SetValue(last, false);
    folderMenuParam.NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), this);
    updatingFolderMenu = false;
}

XString XFileBrowser::FolderMenuItem(int32_t index) const
{
    if (index == 0)
        return XString(XFolderListing::kRootPath);
    const std::vector<XString> components = FolderComponents();
    if (index < 0 || index > static_cast<int32_t>(components.size()))
        return XString("Error");
    XString item = components[index - 1];
    if (index == 1)
    {
        // The drive root is shown as the application names it.
        XApplication* application = GetApplication();
        item = application != nullptr ? application->GetEntryName("\\") : XString("/");
    }
    item.ReplaceChar(':', '|');
    return item;
}

XString XFileBrowser::FolderForMenuIndex(int32_t index) const
{
    const std::vector<XString> components = FolderComponents();
    if (index <= 0 || components.empty())
        return XString();
    XString folder("\\");
    for (int32_t component = 2; component <= index && component <= static_cast<int32_t>(components.size());
         ++component)
    {
        folder += components[component - 1];
        folder += "\\";
    }
    return folder;
}

XString XFileBrowser::PathText() const
{
    const XString& folder = listing.GetPath();
    if (folder.IsEmpty())
        return XString();
    if (IsRoot())
        return folder;
    XString text = WithTrailingBackslash(folder);
    if (!PlatformFileSystem::PathIsFolder(text.CStr()))
        return XString(kMissingText);
    // The drive root is "/" here, so the whole path is shown the way the system writes it; the
    // parameter's display text reads '|' back as ':'.
    text.ReplaceChar('\\', '/');
    text.ReplaceChar(':', '|');
    return text;
}

void XFileBrowser::GoUp()
{
    XFolderListing parent;
    parent.SetPath(listing.GetPath().CStr(), true, "*", false);
    parent.GoUp();
    XString folder = parent.GetPath();
    if (folder == ".")
        folder = XFolderListing::kRootPath;
    SetFolder(folder, true);
}

// Filters --------------------------------------------------------------------------------------------

void XFileBrowser::AddFilter(const XString& description, const XString& pattern, bool makeCurrent)
{
    XString text = description;
    text += "|";
    text += pattern;
    filters.Add(text);
    XParamDesc desc;
    desc.Copy(filterParam.GetDesc());
    desc.max = filters.GetCount() - 1;
    desc.count = static_cast<uint32_t>(filters.GetCount());
    const double value = filterParam.GetValue();
    filterParam.SetDesc(&desc);
    // Notified, so that the filter menu shows the current filter and the rows follow it.
    filterParam.SetValue(makeCurrent ? filters.GetCount() - 1 : value, true);
}

XString XFileBrowser::CurrentFilterText() const
{
    return filters.GetAt(static_cast<int>(filterParam.GetValue()));
}

XString XFileBrowser::GetFilterPattern() const
{
    const XString text = CurrentFilterText();
    const int bar = text.FindChar('|');
    if (bar < 0)
        return XString();
    const XString pattern = text.From(bar + 1);
    XString extension;
    pattern.GetExtension(extension);
    return extension.IsEmpty() ? pattern : extension;
}

bool XFileBrowser::PassesFilter(const XFileEntry& entry, const XString& filterText) const
{
    if (entry.IsFolder())
        return true;
    if (SameText(filterText, XString(kAllFilesFilter)))
        return true;
    const XString extension = entry.GetExtension();
    if (extension.IsEmpty())
        return false;
    // Every pattern of the filter ("*.a;*.b" after the description) is matched whole.
    const int bar = filterText.FindChar('|');
    const XString patterns = bar >= 0 ? filterText.From(bar + 1) : filterText;
    XString wanted("*.");
    wanted += extension;
    unsigned pos = 0;
    const auto length = static_cast<unsigned>(patterns.Length());
    while (pos < length)
    {
        const XString pattern = patterns.NextToken(pos, ';');
        if (SameText(pattern, wanted) || pattern == "*.*")
            return true;
    }
    return false;
}

// Rows -----------------------------------------------------------------------------------------------

void XFileBrowser::ClearRows()
{
    if (list != nullptr)
        list->RemoveAllRows();
    rows.clear();
}

std::vector<XFileRow*> XFileBrowser::GetFileRows() const
{
    std::vector<XFileRow*> shown;
    if (list == nullptr)
        return shown;
    for (int32_t index = 0; index < list->GetRowCount(); ++index)
        if (auto* row = dynamic_cast<XFileRow*>(list->GetRowAt(index)))
            shown.push_back(row);
    return shown;
}

void XFileBrowser::ReloadFolder()
{
    listing.Reload(true, "*", false);
}

void XFileBrowser::Refresh()
{
    listing.Reload(true, "*", false);
    RefreshList(true);
    refreshPending = false;
}

void XFileBrowser::RefreshList(bool announce)
{
    if (list == nullptr)
        return;
    ClearRows();
    const XString filterText = CurrentFilterText();
    XApplication* application = GetApplication();
    for (int32_t index = 0; index < listing.GetCount(); ++index)
    {
        XFileEntry entry;
        if (listing.GetEntry(index, entry) != XFolderListing::kOk || !PassesFilter(entry, filterText))
            continue;
        const XString path = entry.GetPath();
        const bool allowed = application != nullptr ? application->IsFileAllowed(path.CStr())
                                                    : !PlatformFileSystem::PathIsHidden(path.CStr());
        if (!allowed)
            continue;
        rows.push_back(std::make_unique<XFileRow>(&entry, static_cast<int32_t>(rows.size())));
        list->AddRow(rows.back().get(), false);
    }
    if (!rows.empty())
        list->UpdateLayout();
    list->SortByColumn(1, false);
    Invalidate();
    if (announce)
        refreshedSignal.Emit();
}

// Selection and activation ---------------------------------------------------------------------------

void XFileBrowser::RowActivated(XListRow* row, int32_t column)
{
    auto* fileRow = dynamic_cast<XFileRow*>(row);
    if (fileRow == nullptr)
        return;
    if (IsRoot())
    {
        SetFolder(fileRow->GetPath(), true);
        return;
    }
    if (!fileRow->Exists())
        return;
    if (allowRename && column == XFileRow::kNameColumn)
    {
        list->EditCellOfRow(row, XFileRow::kNameColumn);
        return;
    }
    if (fileRow->IsFolder())
    {
        SetFolder(fileRow->GetPath(), true);
        return;
    }
    const XString path = fileRow->GetPath();
    fileActivatedSignal.Emit(path.CStr());
}

void XFileBrowser::SelectionChanged(int32_t first, int32_t)
{
    if (first < 0 || list == nullptr)
        return;
    auto* row = dynamic_cast<XFileRow*>(list->GetRowAt(first));
    if (row == nullptr)
        return;
    rowSelectedSignal.Emit(row);
    if (!row->Exists() || nameField == nullptr)
        return;
    if (row->IsFolder())
    {
        if (keepNameOnFolder == 0)
            nameField->SetText(XString());
        return;
    }
    nameField->SetText(row->GetName());
    nameField->SelectAll();
}

XString XFileBrowser::GetSelectedPath() const
{
    if (nameField != nullptr && nameField->isVisible() && !nameField->GetText().IsEmpty())
    {
        XString path = WithTrailingBackslash(listing.GetPath());
        path += FileNamePart(nameField->GetText());
        if (NameExtension(FileNamePart(path)).IsEmpty())
        {
            // "All Files" ("*") adds nothing: "notes.*" is no name to save under.
            const XString pattern = GetFilterPattern();
            if (!pattern.IsEmpty() && pattern != "*")
            {
                // A typed trailing "." already separates the extension ("notes." → "notes.qm7").
                if (!pattern.StartsWith(".") && !path.EndsWithChar('.'))
                    path += ".";
                path += pattern;
            }
        }
        return path;
    }
    if (list != nullptr)
        if (auto* row = dynamic_cast<XFileRow*>(list->GetRowAt(list->GetSelectedIndex())))
            return row->GetPath();
    return XString();
}

bool XFileBrowser::IsEditingName() const
{
    return list != nullptr && list->IsEditingName();
}

// Keeping up with the disk -----------------------------------------------------------------------------

int32_t XFileBrowser::FileChangedCallback(const XFileEntry& changed, void* userData)
{
    static_cast<XFileBrowser*>(userData)->OnFileChanged(changed);
    return 0;
}

void XFileBrowser::OnFileChanged(const XFileEntry& changed)
{
    XString folder;
    {
        XSmartLock hold(&folderLock);
        folder = folderForListener;
    }
    if (folder.IsEmpty() || folder == XFolderListing::kRootPath)
        return;
    XString path = changed.GetPath();
    if (!changed.IsFolder())
        path = GetFolderAbove(path);
    path.AddTrailingBackslash();
    if (path == WithTrailingBackslash(folder))
        refreshPending = true;
}

void XFileBrowser::HandleTimer(int32_t timerId)
{
    if (timerId == kRefreshTimerId && refreshPending.load() && list != nullptr && !list->IsEditingName())
    {
        std::vector<XString> selected;
        std::vector<XListRow*> selectedRows;
        if (list->GetSelectedRows(&selectedRows) == 0)
            for (XListRow* row : selectedRows)
                if (auto* fileRow = dynamic_cast<XFileRow*>(row))
                    selected.push_back(fileRow->GetPath());
        listing.Reload(true, "*", false);
        RefreshList(true);
        refreshPending = false;
        for (int32_t index = 0; index < list->GetRowCount(); ++index)
        {
            auto* row = dynamic_cast<XFileRow*>(list->GetRowAt(index));
            if (row != nullptr &&
                std::find(selected.begin(), selected.end(), row->GetPath()) != selected.end())
                list->SelectRange(index, index, false);
        }
    }
    XView::HandleTimer(timerId);
}

void XFileBrowser::MessageReceived(XMessage& message)
{
    if (message.GetWhat() == XVolumeManager::kDrivesChangedMessage && IsRoot())
    {
        listing.Reload(true, "*", false);
        RefreshList(true);
        refreshPending = false;
    }
    XView::MessageReceived(message);
}

void XFileBrowser::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const bool valueCode = code == static_cast<int32_t>(XMsgCode::kParamValueSet) ||
                           code == static_cast<int32_t>(XMsgCode::kParamChangedByUser);
    if (param == &folderMenuParam && valueCode)
    {
        if (!updatingFolderMenu)
            SetFolder(FolderForMenuIndex(static_cast<int32_t>(folderMenuParam.GetValue())), true);
        return;
    }
    if (param == &filterParam && valueCode)
    {
        Refresh();
        return;
    }
    XView::ParamChanged(code, param, key);
}

// Menu and path texts --------------------------------------------------------------------------------

XString XFileBrowser::FormatFolderMenuItem(XParam* param, double value, int32_t)
{
    auto* browser = static_cast<XFileBrowser*>(param->GetClientData());
    return browser != nullptr ? browser->FolderMenuItem(static_cast<int32_t>(value)) : XString("Error");
}

XString XFileBrowser::FormatFilterMenuItem(XParam* param, double value, int32_t)
{
    auto* browser = static_cast<XFileBrowser*>(param->GetClientData());
    if (browser == nullptr || browser->filters.GetCount() == 0)
        return XString("error");
    const XString text = browser->filters.GetAt(static_cast<int>(value));
    const int bar = text.FindChar('|');
    XString description = bar >= 0 ? text.Left(bar) : text;
    // The menu reads ':' as a sub-menu separator.
    description.ReplaceChar(':', '|');
    return description;
}

XString XFileBrowser::FormatPathText(XParam* param, double, int32_t, int32_t)
{
    auto* browser = static_cast<XFileBrowser*>(param->GetClientData());
    return browser != nullptr ? browser->PathText() : XString();
}

// File operations ------------------------------------------------------------------------------------

void XFileBrowser::NewFolder()
{
    if (IsRoot() || listing.GetPath().IsEmpty())
        return;
    XFolderNameValidator validator(listing.GetPath());
    XGetTextDialog dialog(Label(kNewFolderTitle), Label(kNewFolderPrompt), XString(), &validator, nullptr,
                          XGetTextDialog::kDefaultDescription, XString("OK"), XString("Cancel"), true);
    for (;;)
    {
        if (dialog.RunModal(this, 0) != XDialog::kOK)
            return;
        XString name;
        dialog.GetText(name);
        XString path = WithTrailingBackslash(listing.GetPath());
        path += name;
        if (PlatformFileSystem::PathIsFolder(path.CStr()))
        {
            XErrorDialog exists{Label(kFolderExistsText).Arg(name)};
            exists.RunModal(this, 0);
            continue;
        }
        if (CreateFolderPath(path.CStr()) != 0)
        {
            XErrorDialog failed{Label(kCreateFailedText)};
            failed.RunModal(this, 0);
            return;
        }
        SetFolder(path, true);
        return;
    }
}

int32_t XFileBrowser::DeleteSelected()
{
    if (IsRoot())
        return 0;
    if (list == nullptr)
        return XResult::kNullArgument;
    std::vector<XListRow*> selected;
    if (list->GetSelectedRows(&selected) != 0)
        return XResult::kFailed;
    if (selected.empty())
        return 0;
    const char* question = kDeleteAllQuestion;
    if (selected.size() == 1)
    {
        auto* row = dynamic_cast<XFileRow*>(selected.front());
        if (row == nullptr)
            return XResult::kFailed;
        question = row->IsFolder() ? kDeleteFolderQuestion : kDeleteFileQuestion;
    }
    XOKCancelDialog confirm(Label("Confirm Delete"), XString(question), nullptr, nullptr, XString("OK"),
                            XString("Cancel"));
    if (confirm.RunModal(this, 0) != XDialog::kOK)
        return 0;

    XString documentPath;
    if (XApplication* application = GetApplication())
        if (IAppDocument* document = application->GetDocument())
            documentPath = document->GetPath();
    documentPath.ReplaceChar('/', '\\');

    // Copies: the rows may go when a dialog below lets the timer refresh the list.
    std::vector<std::pair<XString, bool>> items;
    for (XListRow* row : selected)
    {
        auto* fileRow = dynamic_cast<XFileRow*>(row);
        if (fileRow == nullptr)
            return XResult::kFailed;
        items.emplace_back(fileRow->GetPath(), fileRow->IsFolder());
    }
    for (const auto& [path, isFolder] : items)
    {
        if (IsInUse(path, isFolder, documentPath))
        {
            XErrorDialog error{XString("Error"), XString(kInUseText)};
            error.RunModal(this, 0);
            continue;
        }
        int32_t result = 0;
        if (!isFolder && PlatformFileSystem::FileExists(path.CStr()))
            result = DeleteFileAtPath(path.CStr());
        else if (isFolder && PlatformFileSystem::PathIsFolder(path.CStr()))
            result = ShellDelete(path.CStr());
        if (result != 0)
            return result;
    }
    Refresh();
    return 0;
}

bool XFileBrowser::IsInUse(const XString& path, bool isFolder, const XString& documentPath)
{
    // Only the document file itself and the folders that hold it are in use.
    return !documentPath.IsEmpty() &&
           (path == documentPath || (isFolder && IsInside(documentPath, WithTrailingBackslash(path))));
}

void XFileBrowser::DeleteSelectedWithMessage()
{
    if (DeleteSelected() != 0)
    {
        XErrorDialog error{Label(kDeleteFailedText)};
        error.RunModal(this, 0);
    }
}

// Copying and moving from another browser ---------------------------------------------------------

int32_t XFileBrowser::TransferFrom(XFileBrowser* source, bool move)
{
    if (source == nullptr || source->GetList() == nullptr)
        return XResult::kNullArgument;
    if (IsRoot() || source->IsRoot())
        return 0;
    std::vector<XListRow*> rows;
    if (source->GetList()->GetSelectedRows(&rows) != 0)
        return XResult::kFailed;
    if (!rows.empty() && ConfirmTransfer(rows, move))
        Refresh();
    return 0;
}

int32_t XFileBrowser::ClassifyTransfer(const XString& source, const XString& target)
{
    XString sourceName;
    XString targetName;
    source.GetLastComponent(sourceName);
    target.GetLastComponent(targetName);
    if (source.IsEmpty() || target.IsEmpty() || sourceName.IsEmpty() || targetName.IsEmpty())
        return kTransferUnknown;
    if (PlatformFileSystem::FileExists(target.CStr()))
    {
        if (PlatformFileSystem::PathIsFolder(source.CStr()))
            return kTransferFolderOntoFile;
        if (PlatformFileSystem::FileExists(source.CStr()) && source != target && sourceName == targetName)
            return kTransferFileOntoFile;
        return kTransferNoConflict;
    }
    if (PlatformFileSystem::PathIsFolder(target.CStr()))
    {
        if (PlatformFileSystem::FileExists(source.CStr()))
            return kTransferFileOntoFolder;
        if (PlatformFileSystem::PathIsFolder(source.CStr()))
            return kTransferFolderOntoFolder;
    }
    return kTransferNoConflict;
}

bool XFileBrowser::ConfirmTransfer(const std::vector<XListRow*>& rows, bool move)
{
    bool overwrite = false;
    for (XListRow* row : rows)
    {
        auto* fileRow = dynamic_cast<XFileRow*>(row);
        int32_t conflict = kTransferUnknown;
        XString name;
        if (fileRow != nullptr)
        {
            const XString source = fileRow->GetPath();
            XString target = WithTrailingBackslash(listing.GetPath());
            target += fileRow->GetName();
            source.GetLastComponent(name);
            conflict = ClassifyTransfer(source, target);
        }
        switch (conflict)
        {
        case kTransferFileOntoFolder:
        case kTransferFolderOntoFile:
        {
            XErrorDialog error{
                Label(conflict == kTransferFileOntoFolder ? kFileOntoFolderText : kFolderOntoFileText)
                    .Arg(name)};
            error.RunModal(this, 0);
            return false;
        }
        case kTransferFolderOntoFolder:
        {
            XYesNoCancelDialog question(XString(kFolderExistsTitle), Label(kFolderExistsQuestion).Arg(name),
                                        this, nullptr, XString("Yes"), XString("No"), XString("Cancel"));
            if (question.RunModal(this, 0) != XDialog::kOK)
                return false;
            break;
        }
        case kTransferUnknown:
        {
            XErrorDialog error{Label(kUnknownTransferText)};
            error.RunModal(this, 0);
            return true;
        }
        case kTransferFileOntoFile:
            overwrite = true;
            break;
        default:
            break;
        }
    }
    if (overwrite)
    {
        XOKCancelDialog question(Label(kOverwriteAllTitle), Label(kOverwriteAllQuestion), this, nullptr,
                                 XString("OK"), XString("Cancel"));
        if (question.RunModal(this, 0) == XDialog::kCancel)
            return false;
    }
    if (TransferRows(rows, move) != 0)
    {
        XErrorDialog error{Label(kTransferFailedText)};
        error.RunModal(this, 0);
    }
    return true;
}

int32_t XFileBrowser::TransferRows(const std::vector<XListRow*>& rows, bool move)
{
    XString title(move ? "Moving " : "Copying ");
    title += rows.size() < 2 ? "File..." : "Files...";

    // The worker gets copies: the rows may be rebuilt by a refresh while the dialog runs.
    std::vector<FileCopyThread::Item> items;
    for (XListRow* row : rows)
    {
        FileCopyThread::Item item;
        if (auto* fileRow = dynamic_cast<XFileRow*>(row))
        {
            item.path = fileRow->GetPath();
            item.name = fileRow->GetName();
        }
        else
            item.isFileRow = false;
        items.push_back(item);
    }
    FileCopyThread thread(std::move(items), listing.GetPath(), move);
    XProgressDialog dialog(title, title, this, false);
    XProgressDialog* const target = &dialog;
    thread.failedSignal.Connect([target] { target->Fail(); });
    thread.doneSignal.Connect([target] { target->Finish(); });
    thread.currentFileSignal.Connect([target](const char* path) { target->SetProgressText(path); });
    thread.progressSignal.Connect([target](uint32_t done, uint32_t total)
                                  { target->SetProgressRatio(done, total); });
    thread.amountSignal.Connect([target](uint64_t delta, bool wrap) { target->StepProgress(delta, wrap); });
    thread.resetSignal.Connect([target] { target->ResetProgress(); });
    thread.completeSignal.Connect([target] { target->Complete(); });
    thread.Start(kTransferThreadLevel, nullptr, nullptr);
    const XDialogResult result = dialog.RunModal(this, 0);
    thread.Join();
    return result == XDialog::kOK ? 0 : XResult::kFailed;
}

std::vector<XFileEntry> XFileBrowser::GetSelectedEntries() const
{
    std::vector<XFileEntry> entries;
    std::vector<XListRow*> rows;
    if (list == nullptr || list->GetSelectedRows(&rows) != 0)
        return entries;
    for (XListRow* row : rows)
    {
        if (auto* fileRow = dynamic_cast<XFileRow*>(row))
            entries.emplace_back(fileRow->GetPath().CStr(), fileRow->IsFolder(), 0);
    }
    return entries;
}
