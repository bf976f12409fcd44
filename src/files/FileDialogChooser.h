#pragma once

#include "gui/IDocumentFileChooser.h"

/** The document commands' file choice: with the framework-dialog flag the framework's own open
    and save dialogs (XOpenFileDialog, XSaveFileDialog) run, else JUCE's chooser. Installed once at
    start-up (XDocumentCmd::SetFileChooser); stateless; GUI thread. */
class FileDialogChooser final : public IDocumentFileChooser
{
public:
    bool Choose(Kind kind, bool frameworkDialog, const XString& title, XString& folder, const XString& filter,
                const XString& filterText, XString& path) override;

    static FileDialogChooser& Instance();
};
