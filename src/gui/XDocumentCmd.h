#pragma once

#include "core/XCommand.h"
#include "core/XString.h"
#include "gui/IDocumentFileChooser.h"

#include <cstdint>

class XDocument;
class XView;

/** The base of the commands that create, open and save the application's document: finds the
    document by type name, asks whether to save changes, chooses files and appends extensions.
    Commands live from their registration to the application's shutdown; GUI thread only. The
    message given to Execute may carry the pointer "pWidget", the view the dialogs open over. */
class XDocumentCmd : public XCommand
{
public:
    static constexpr const char* kWidgetItem = "pWidget";
    static constexpr const char* kLabelSection = "FileDialogs";
    static constexpr const char* kSaveAsCommandName = "SaveDocumentAsCmd";
    static constexpr const char* kUntitledPath = "Untitled";
    static constexpr const char* kSaveFailedText = "An error occurred while saving the document.";

    /** frameworkDialogs: non-zero asks for the framework's own file dialogs. */
    XDocumentCmd(const XString& documentType, const XString& title, const XString& folder,
                 int32_t frameworkDialogs);

    XString GetTitle() override { return title; }
    bool IsEnabled(XMessage*) override { return true; }

    /** The application's document of the command's type; null when there is none. */
    virtual XDocument* GetDocument();
    /** 2 when the user cancelled (or there is no document), 1 when nothing was modified or the
        changes were saved, 3 when the user chose not to save. */
    int32_t AskSaveChanges(XMessage* message);

    /** Installs the file chooser (not owned); null restores JUCEDocumentFileChooser. */
    static void SetFileChooser(IDocumentFileChooser* chooser);
    /** The installed file chooser; null when none is. */
    static IDocumentFileChooser* GetFileChooser();
    /** The program-wide template folder, empty at start. */
    static void SetTemplateFolder(const XString& folder);
    static XString GetTemplateFolder();
    /** The application's "FileDialogs" label of text; text itself without an application. */
    static XString GetFileDialogLabel(const char* text);
    /** The text after the last '.' of the path's file name (both '\' and '/' separate); empty
        without one. */
    static XString GetPathExtension(const XString& path);
    /** The file name of the path (after its last '\' or '/'). */
    static XString GetPathFileName(const XString& path);

    const XString& GetDocumentType() const { return documentType; }
    const XString& GetFolder() const { return folder; }
    /** True when the last Save As of this command wrote the document. */
    bool DidSave() const { return lastSaveDone; }

protected:
    /** Lets the user choose a file for doc; false when cancelled or no path came back. */
    bool ChooseFile(XDocument& doc, IDocumentFileChooser::Kind kind, XString& path);
    /** ChooseFile of the save kind, then WithExtension of the document's extension. */
    bool ChooseSavePath(XDocument& doc, XString& path);
    /** The path with "." and the extension appended unless it (right-trimmed) ends with them. */
    static XString WithExtension(const XString& path, const XString& extension);
    /** Runs an error dialog with the text over the view (null: no parent). */
    static void ShowError(const XString& text, XView* over);
    static XView* GetWidget(XMessage* message);
    /** The Save As body: choose a file, append the extension, save. */
    void RunSaveAs(XMessage* message);

    XString documentType;
    XString title;
    XString folder;
    int32_t frameworkDialogs;
    bool lastSaveDone = false;
};
