#pragma once

#include "core/XString.h"

/** Lets the user choose a folder (the firmware dialog's preset folder, the folder that saving all
    user presets writes to). The program uses JUCEFolderChooser; tests install their own with
    SetFolderChooser. GUI thread; modal. */
class IFolderChooser
{
public:
    virtual ~IFolderChooser() = default;

    /** Shows the chooser titled title, starting in folder (empty: the system's choice), listing the
        files that match wildcard. True and the chosen folder's full path in folder when the user
        chooses one; false, folder unchanged, when the user cancels. */
    virtual bool ChooseFolder(const XString& title, const XString& wildcard, XString& folder) = 0;
};

/** Installs the folder chooser (not owned; null restores JUCEFolderChooser). GUI thread. */
void SetFolderChooser(IFolderChooser* chooser);
/** The installed folder chooser, or the program's JUCEFolderChooser. */
IFolderChooser& GetFolderChooser();
