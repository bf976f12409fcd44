#pragma once

#include "core/XString.h"

/** Chooses the file that a document command creates, opens or saves. The program uses
    JUCEDocumentFileChooser; tests install their own (XDocumentCmd::SetFileChooser). GUI thread. */
class IDocumentFileChooser
{
public:
    enum class Kind
    {
        Open,
        Save
    };

    virtual ~IDocumentFileChooser() = default;

    /** Lets the user choose a file. folder: the folder to start in, replaced by the chosen file's
        folder; filter: "*.<extension>"; filterText: the document's description of its files;
        frameworkDialog: the command asks for the framework's own dialogs instead of the system's.
        Returns false (path untouched) when the user cancelled. */
    virtual bool Choose(Kind kind, bool frameworkDialog, const XString& title, XString& folder,
                        const XString& filter, const XString& filterText, XString& path) = 0;
};
