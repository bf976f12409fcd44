#include "gui/XDocumentCmd.h"

#include "core/XApplication.h"
#include "core/XCommandManager.h"
#include "core/XDocument.h"
#include "core/XMessage.h"
#include "gui/JUCEDocumentFileChooser.h"
#include "gui/XErrorDialog.h"
#include "gui/XYesNoCancelDialog.h"

namespace
{
IDocumentFileChooser* installedChooser = nullptr; // not owned; GUI thread

XString& TemplateFolder()
{
    static XString folder;
    return folder;
}

int LastSeparator(const XString& path)
{
    for (int index = path.Length() - 1; index >= 0; --index)
    {
        const char c = path.CharAt(static_cast<unsigned>(index));
        if (c == '\\' || c == '/')
            return index;
    }
    return -1;
}
} // namespace

XDocumentCmd::XDocumentCmd(const XString& documentTypeIn, const XString& titleIn, const XString& folderIn,
                           int32_t frameworkDialogsIn)
    : documentType(documentTypeIn), title(titleIn), folder(folderIn), frameworkDialogs(frameworkDialogsIn)
{
}

XDocument* XDocumentCmd::GetDocument()
{
    XApplication* application = GetApplication();
    if (application == nullptr)
        return nullptr;
    return dynamic_cast<XDocument*>(application->GetDocumentFor(documentType.CStr()));
}

void XDocumentCmd::SetFileChooser(IDocumentFileChooser* chooser)
{
    installedChooser = chooser;
}

IDocumentFileChooser* XDocumentCmd::GetFileChooser()
{
    return installedChooser;
}

void XDocumentCmd::SetTemplateFolder(const XString& folderIn)
{
    TemplateFolder() = folderIn;
}

XString XDocumentCmd::GetTemplateFolder()
{
    return TemplateFolder();
}

XString XDocumentCmd::GetFileDialogLabel(const char* text)
{
    XApplication* application = GetApplication();
    return application != nullptr ? application->GetMenuLabel(kLabelSection, text) : XString(text);
}

XString XDocumentCmd::GetPathFileName(const XString& path)
{
    return path.From(LastSeparator(path) + 1);
}

XString XDocumentCmd::GetPathExtension(const XString& path)
{
    // Only the file name counts: folders such as "~/.config" hold dots too.
    const XString name = GetPathFileName(path);
    const int dot = name.FindLast(".");
    return dot < 0 ? XString() : name.From(dot + 1);
}

XView* XDocumentCmd::GetWidget(XMessage* message)
{
    return message != nullptr ? static_cast<XView*>(message->GetPointer(kWidgetItem)) : nullptr;
}

void XDocumentCmd::ShowError(const XString& text, XView* over)
{
    XErrorDialog dialog(text);
    dialog.RunModal(over, 0);
}

XString XDocumentCmd::WithExtension(const XString& path, const XString& extension)
{
    XString dotted(".");
    dotted += extension;
    const XString trimmed = path.TrimRight();
    if (trimmed.Length() >= dotted.Length() && trimmed.Right(dotted.Length()).EqualsNoCase(dotted))
        return path;
    XString result(path);
    result += dotted;
    return result;
}

bool XDocumentCmd::ChooseFile(XDocument& doc, IDocumentFileChooser::Kind kind, XString& path)
{
    static JUCEDocumentFileChooser systemChooser;
    IDocumentFileChooser& chooser = installedChooser != nullptr ? *installedChooser : systemChooser;
    XString filter("*.");
    filter += doc.GetFileExtension();
    XString chosen;
    if (!chooser.Choose(kind, frameworkDialogs != 0, title, folder, filter, doc.GetFileFilter(), chosen))
        return false;
    path = chosen;
    return !path.IsEmpty();
}

bool XDocumentCmd::ChooseSavePath(XDocument& doc, XString& path)
{
    if (!ChooseFile(doc, IDocumentFileChooser::Kind::Save, path))
        return false;
    path = WithExtension(path, doc.GetFileExtension());
    return true;
}

int32_t XDocumentCmd::AskSaveChanges(XMessage* message)
{
    XDocument* doc = GetDocument();
    if (doc == nullptr)
        return 2;
    if (!doc->IsModified())
        return 1;
    const XString path = doc->GetPath();
    const XString name = GetPathFileName(path);
    XString question("Save changes to ");
    if (name.IsEmpty())
        question += "the current project";
    else
    {
        question += "\"";
        question += name;
        question += "\"";
    }
    question += "?";
    XYesNoCancelDialog dialog(XString("Save?"), question, nullptr, nullptr, XString("Yes"), XString("No"),
                              XString("Cancel"));
    const int32_t answer = dialog.RunModal(GetWidget(message), 0);
    if (answer == XDialog::kCancel || answer == XDialog::kNo)
        return answer;
    if (answer != XDialog::kOK)
        return 2;
    if (!path.IsEmpty())
    {
        if (doc->SaveAs(path.CStr()) != 0)
        {
            // Going on would drop the changes that could not be written.
            ShowError(XString(kSaveFailedText), GetWidget(message));
            return 2;
        }
        return 1;
    }
    auto* saveAs = dynamic_cast<XDocumentCmd*>(FindCommandByName(kSaveAsCommandName));
    if (saveAs != nullptr)
        saveAs->Execute(message);
    else
        RunSaveAs(message);
    // A cancelled or failed Save As leaves the changes unsaved: the caller must not go on.
    const bool saved = saveAs != nullptr ? saveAs->DidSave() : lastSaveDone;
    return saved ? 1 : 2;
}

void XDocumentCmd::RunSaveAs(XMessage* message)
{
    lastSaveDone = false;
    XDocument* doc = GetDocument();
    if (doc == nullptr)
        return;
    XString path;
    if (!ChooseSavePath(*doc, path))
        return;
    if (doc->SaveAs(path.CStr()) != 0)
    {
        ShowError(XString(kSaveFailedText), GetWidget(message));
        return;
    }
    lastSaveDone = true;
}
