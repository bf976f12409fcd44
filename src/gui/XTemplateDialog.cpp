#include "gui/XTemplateDialog.h"

#include "core/XMessage.h"
#include "gui/ITextListView.h"
#include "gui/XControl.h"
#include "gui/XDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "gui/XOKCancelDialog.h"
#include "platform/PlatformFile.h"

#include <juce_core/juce_core.h>

namespace
{
juce::File SystemFile(const XString& path)
{
    return juce::File(juce::String::fromUTF8(PlatformFile::ToSystemPath(path.CStr()).c_str()));
}

XString WithName(const XString& labelText, const XString& name)
{
    return XDocumentCmd::GetFileDialogLabel(labelText.CStr()).ReplaceAll("%1", name.CStr());
}
} // namespace

XTemplateDialog::XTemplateDialog(const XString& folder)
    : XDialog(nullptr, true, kDescription), templateFolder(folder)
{
}

XString XTemplateDialog::GetTemplatePath(const XString& name) const
{
    XString path(templateFolder);
    path += "\\";
    path += name;
    path += ".";
    path += kTemplateExtension;
    return path;
}

void XTemplateDialog::InitControls()
{
    XDialog::InitControls();
    templateList = FindView(kListName);
    FillTemplateList();
    WireButton(dynamic_cast<XControl*>(FindView(kOKButtonName)), XString("OK"), kOKMessage);
    WireButton(dynamic_cast<XControl*>(FindView(kCancelButtonName)), XString("Cancel"), kCancelMessage);
    WireButton(dynamic_cast<XControl*>(FindView(kDeleteButtonName)), XString("Delete"), kDeleteMessage);
}

void XTemplateDialog::FillTemplateList()
{
    rows.clear();
    rows.emplace_back(kEmptyRow);
    const juce::File folder = SystemFile(templateFolder);
    if (!templateFolder.IsEmpty() && folder.isDirectory())
    {
        juce::Array<juce::File> files =
            folder.findChildFiles(juce::File::findFiles, false, juce::String("*.") + kTemplateExtension);
        files.sort();
        for (const juce::File& file : files)
            rows.emplace_back(file.getFileNameWithoutExtension().toRawUTF8());
    }
    if (ITextListView* list = GetTemplateListView())
    {
        list->ClearTextRows();
        for (const XString& row : rows)
            list->AddTextRow(row);
    }
    SelectRow(0);
    if (templateList != nullptr)
        templateList->repaint();
}

ITextListView* XTemplateDialog::GetTemplateListView() const
{
    return dynamic_cast<ITextListView*>(templateList);
}

void XTemplateDialog::SelectRow(int32_t index)
{
    selectedRow = index >= 0 && index < GetRowCount() ? index : kNoSelection;
    if (ITextListView* list = GetTemplateListView())
        list->SelectTextRow(selectedRow);
}

int32_t XTemplateDialog::GetSelectedRow() const
{
    if (const ITextListView* list = GetTemplateListView())
    {
        const int32_t index = list->GetSelectedTextRow();
        return index >= 0 && index < GetRowCount() ? index : kNoSelection;
    }
    return selectedRow;
}

bool XTemplateDialog::LoadSelectedTemplate()
{
    const int32_t chosenRow = GetSelectedRow();
    if (chosenRow == kNoSelection)
    {
        XErrorDialog error{XString("Please select a template to load.")};
        error.RunModal(this, 0);
        return false;
    }
    if (chosenRow == 0)
    {
        selectedPath = XString();
        return true;
    }
    const XString& name = GetRowText(chosenRow);
    const XString path = GetTemplatePath(name);
    if (SystemFile(path).existsAsFile())
    {
        selectedPath = path;
        return true;
    }
    XErrorDialog error{WithName(XString("This template file %1 no longer exists."), name)};
    error.RunModal(this, 0);
    return false;
}

void XTemplateDialog::DeleteSelectedTemplate()
{
    const int32_t chosenRow = GetSelectedRow();
    if (chosenRow <= 0)
        return;
    const XString name = GetRowText(chosenRow);
    const juce::File file = SystemFile(GetTemplatePath(name));
    if (file.existsAsFile())
    {
        XOKCancelDialog question(XDocumentCmd::GetFileDialogLabel("Delete Template"),
                                 WithName(XString("Are you sure you want to delete the template %1?"), name),
                                 this, nullptr, XString("OK"), XString("Cancel"));
        if (question.RunModal(this, 0) == kCancel || !file.deleteFile())
            return;
    }
    FillTemplateList();
}

void XTemplateDialog::MessageReceived(XMessage& message)
{
    switch (message.GetWhat())
    {
    case kOKMessage:
        if (LoadSelectedTemplate())
            EndModal(kOK);
        return;
    case kCancelMessage:
        EndModal(kCancel);
        return;
    case kDeleteMessage:
        DeleteSelectedTemplate();
        return;
    default:
        XDialog::MessageReceived(message);
    }
}
