#pragma once

#include "gui/XOKCancelDialog.h"

#include <cstdint>
#include <memory>

class StringParam;
class XButton;
class XCheckBox;
class XParam;
class XText;

/** The question asked before a firmware update of a unit with outdated firmware: OK or Cancel, and
    a check box that keeps the unit's user presets by saving them to a folder first. The check box
    edits the application parameter SaveUserPreset (main parameter 125); while it is on, a "Path"
    button and the folder are shown, and the folder (first "<program folder>/KRX-640 Presets") is
    kept in SaveUserPresetPath (126), which the update job reads.

    The folder is chosen through the installed folder chooser (GetFolderChooser). Created, run and
    deleted by the caller on the GUI thread; each run builds the controls anew. */
class FirmwareUpdateDialog : public XOKCancelDialog
{
public:
    static constexpr const char* kDefaultDescription = "Dialogs\\FirmwareUpdatedialog.txt";
    /** The check box's name in the description; made in code at kCheckBoxFrame when it lacks one. */
    static constexpr const char* kCheckBoxName = "SaveUserPresetCheckBox";
    static constexpr const char* kCheckedImage = "widget\\CheckboxChecked.png";
    static constexpr const char* kUncheckedImage = "widget\\CheckboxUnchecked.png";
    static constexpr const char* kLabelText = "Save User Presets";
    static constexpr const char* kPathButtonLabel = "Path";
    static constexpr const char* kChooserTitle = "Browse for folder";
    static constexpr const char* kChooserWildcard = "*.*";
    static constexpr const char* kPresetFolderName = "KRX-640 Presets";

    /** An empty or null path takes kDefaultDescription. */
    FirmwareUpdateDialog(const XString& title, const XString& text, XView* parent, const char* path,
                         const XString& okLabel, const XString& cancelLabel);
    ~FirmwareUpdateDialog() override;

    /** The OK/Cancel controls, then the check box, its label, the "Path" button and the folder text,
        and the first folder stored in the dialog, its text and SaveUserPresetPath. */
    void InitControls() override;
    /** The "Path" button's action: a chosen folder replaces the dialog's, the folder text's and
        SaveUserPresetPath's; a cancelled choice changes nothing. */
    void BrowseFolder();
    const char* GetClassNameText() const override { return "FirmwareUpdateDialog"; }

    /** "<program folder>/KRX-640 Presets". */
    static XString DefaultPresetFolder();
    XString GetFolder() const;
    XCheckBox* GetCheckBox() const { return checkBox; }
    XButton* GetPathButton() const { return pathButton; }
    XText* GetFolderText() const { return folderText; }

private:
    /** Shows folder in the folder text and stores it in the dialog and in SaveUserPresetPath. */
    void UseFolder(const XString& folder);

    std::unique_ptr<StringParam> folderParam;
    XCheckBox* checkBox = nullptr; // child view
    XButton* pathButton = nullptr; // child view
    XText* folderText = nullptr;   // child view
};
