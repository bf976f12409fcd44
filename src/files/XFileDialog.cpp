#include "files/XFileDialog.h"

#include "core/XApplication.h"
#include "core/XMessage.h"
#include "files/XFileBrowser.h"
#include "files/XFileBrowserListView.h"
#include "files/XFileNameValidator.h"
#include "files/XFolderListing.h"
#include "gui/XButton.h"
#include "gui/XDocumentCmd.h"
#include "gui/XFont.h"
#include "platform/PlatformFileSystem.h"
#include "widgets/XTextEditView.h"

namespace
{
constexpr int32_t kWidth = 600;
constexpr int32_t kHeight = 500;
} // namespace

XFileDialog::XFileDialog(const XString& titleIn, const XString& startFolder, const XString& actionLabelIn,
                         int32_t modeIn, bool showFilter, XFileNameValidator* validatorIn)
    : XDialog(nullptr, true, kDescription), title(titleIn), actionLabel(actionLabelIn),
      validator(validatorIn), mode(modeIn)
{
    const XString folder = ExistingStartFolder(startFolder);
    browser = new XFileBrowser(kBrowserName);
    browser->SetShowPath(false);
    browser->SetShowFilter(showFilter);
    browser->SetShowName(mode == kSaveMode);
    browser->SetShowDelete(true);
    browser->SetShowFolderMenu(false);
    browser->SetFolder(folder, true);
}

XFileDialog::~XFileDialog()
{
    // Before the first run the browser is the dialog's alone.
    if (browser != nullptr && browser->GetParentView() == nullptr)
        delete browser;
}

XString XFileDialog::ExistingStartFolder(const XString& path)
{
    XString folder = path;
    folder.ReplaceChar('/', '\\');
    if (folder.CompareWithCase(XFolderListing::kRootPath, false) == 0)
        return XString(XFolderListing::kRootPath);
    while (!PlatformFileSystem::PathIsFolder(folder.CStr()))
    {
        XString parent;
        folder.GetParentFolder(parent);
        if (parent.IsEmpty() || parent.Length() >= folder.Length())
            break;
        folder = parent;
    }
    // Nothing of the path exists (a relative one): start at the file system's root, which always does.
    if (!PlatformFileSystem::PathIsFolder(folder.CStr()))
        folder = "\\";
    return folder;
}

void XFileDialog::AddFilter(const XString& description, const XString& pattern, bool makeCurrent)
{
    if (browser != nullptr)
        browser->AddFilter(description, pattern, makeCurrent);
}

XString XFileDialog::GetFolder() const
{
    return browser != nullptr ? browser->GetFolder() : XString();
}

XString XFileDialog::GetFilePath() const
{
    static XString path;
    path = browser != nullptr ? AddExtension(browser->GetSelectedPath()) : XString();
    return path;
}

XString XFileDialog::AddExtension(const XString& name) const
{
    const XString pattern = browser != nullptr ? browser->GetFilterPattern() : XString();
    if (pattern.IsEmpty() || pattern == "*")
        return name;
    XString extension;
    name.GetExtension(extension);
    if (extension.CompareWithCase(pattern.CStr(), false) == 0)
        return name;
    XString result = name;
    if (!result.EndsWithChar('.'))
        result += ".";
    result += pattern;
    return result;
}

void XFileDialog::SetFileName(const XString& name)
{
    if (browser != nullptr)
        browser->SetFileName(name);
}

bool XFileDialog::SetFolder(const XString& path, bool includeFolders)
{
    if (browser == nullptr || !PlatformFileSystem::PathIsFolder(path.CStr()))
        return false;
    return browser->SetFolder(path, includeFolders);
}

void XFileDialog::InitControls()
{
    // A second run loads the description again, which empties the content: keep the browser.
    if (browser != nullptr && browser->GetParentView() != nullptr)
        browser->GetParentView()->RemoveChild(browser);
    SetFrame(XRect(0, 0, kWidth, kHeight));
    XDialog::InitControls();
    if (browser == nullptr)
        return;
    SetTitle(XDocumentCmd::GetFileDialogLabel(title.CStr()));

    XView* content = GetContentView();
    const XRect bounds = content->GetBounds();
    const auto makeButton = [&](const char* name, const XRect& frame, const XString& label, uint32_t code)
    {
        auto* button = new XButton(frame, name);
        if (XFont* font = XFont::GetNamedFont(XString("dialogButton"), false))
            button->SetFont(font);
        content->AddChild(button);
        button->SetTransparent(true);
        WireButton(button, label, code);
        return button;
    };
    makeButton(kCancelName,
               XRect(bounds.right - 100, bounds.bottom - 40, bounds.right - 10, bounds.bottom - 10),
               XDocumentCmd::GetFileDialogLabel("Cancel"), kCancelMessage14001);
    actionButton = makeButton(
        kActionName, XRect(bounds.right - 200, bounds.bottom - 40, bounds.right - 110, bounds.bottom - 10),
        XDocumentCmd::GetFileDialogLabel("OK"), kActionMessage);
    browser->SetFrame(XRect(5, 15, bounds.right - bounds.left - 5, bounds.bottom - 45));
    content->AddChild(browser);
    if (!fileChosenConnected)
    {
        fileChosenConnected = true;
        browser->GetFileActivatedSignal().Connect(
            [this](const char* path)
            {
                if (PlatformFileSystem::FileExists(path))
                    Action(XString(path));
            });
    }
    if (actionLabel.IsEmpty())
        actionLabel = mode == kSaveMode ? "Save" : "Open";
    actionButton->SetLabel(XDocumentCmd::GetFileDialogLabel(actionLabel.CStr()), false);
    browser->GetList()->SetTarget(this, nullptr);
}

void XFileDialog::MessageReceived(XMessage& message)
{
    if (browser == nullptr)
        return;
    switch (message.GetWhat())
    {
    case kCancelMessage14001:
    case kCloseRequestMessage:
        EndModal(kCancel);
        return;
    case kActionMessage:
        ActionMessage();
        return;
    default:
        XDialog::MessageReceived(message);
    }
}

bool XFileDialog::EscapePressed()
{
    if (browser != nullptr && browser->IsEditingName())
        return false;
    EndModal(kCancel);
    return true;
}

bool XFileDialog::ReturnPressed()
{
    if (browser != nullptr && browser->IsEditingName())
        return false;
    XMessage action(kActionMessage);
    PostMessage(&action);
    return true;
}

void XFileDialog::FocusNameField()
{
    XTextEditView* field = browser != nullptr ? browser->GetNameField() : nullptr;
    if (field == nullptr)
        return;
    field->SelectAll();
    field->FocusChanged(true);
}
