#pragma once

#include "core/XString.h"
#include "gui/XDialog.h"

#include <cstdint>

class XButton;
class XFileBrowser;
class XFileNameValidator;

/** The framework's modal open and save dialog ("FileDialog.txt"): a file browser with an action
    button and Cancel under it. Result 1 when a file was accepted (read it with GetFilePath and
    GetFolder), 2 when cancelled (Cancel, Escape, the window's close request).

    Made, given filters, run and deleted by its caller on the GUI thread. The browser and the
    buttons are the dialog's child views (the browser is held by the dialog until its first run);
    the validator is the caller's and must outlive the dialog. */
class XFileDialog : public XDialog
{
public:
    static constexpr const char* kDescription = "FileDialog.txt";
    static constexpr const char* kBrowserName = "XFileDialog Browser";
    static constexpr const char* kCancelName = "FileDialogCancelSwitch";
    static constexpr const char* kActionName = "FileDialogActionSwitch";
    static constexpr uint32_t kActionMessage = 14000;
    static constexpr uint32_t kCancelMessage14001 = 14001;
    static constexpr uint32_t kCloseRequestMessage = 10000006;
    static constexpr const char* kOverwriteTitle = "Confirm Overwrite";
    static constexpr const char* kOverwriteText =
        "A file named \"%1\" already exists.\r\nDo you wish to overwrite the existing file?";
    static constexpr int32_t kOpenMode = 0;
    static constexpr int32_t kSaveMode = 1;

    ~XFileDialog() override;

    /** Adds a filter to the browser. */
    void AddFilter(const XString& description, const XString& pattern, bool makeCurrent);
    /** The browser's folder. */
    XString GetFolder() const;
    /** AddExtension of the browser's chosen path. */
    XString GetFilePath() const;
    /** The name with "." and the filter's extension appended unless the filter is "*" or the name
        already has that extension (without regard to case). */
    XString AddExtension(const XString& name) const;
    virtual void SetFileName(const XString& name);
    /** The browser's SetFolder when path is an existing folder; else false. */
    virtual bool SetFolder(const XString& path, bool includeFolders);
    /** A file chosen (double-clicked, or the action): the mode's handling. */
    virtual void Action(const XString& path) {}

    XFileBrowser* GetBrowser() const { return browser; }
    XButton* GetActionButton() const { return actionButton; }
    XFileNameValidator* GetValidator() const { return validator; }
    int32_t GetMode() const { return mode; }

    /** The start folder that exists: path, else its nearest existing parent, else the file system's
        root ("Root" is taken as it is). */
    static XString ExistingStartFolder(const XString& path);

    // XDialog ----------------------------------------------------------------------------------------

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    bool EscapePressed() override;
    bool ReturnPressed() override;
    const char* GetClassNameText() const override { return "XFileDialog"; }

protected:
    XFileDialog(const XString& title, const XString& startFolder, const XString& actionLabel, int32_t mode,
                bool showFilter, XFileNameValidator* validator);
    /** Message 14000: the open or save action. */
    virtual void ActionMessage() {}
    /** Selects the browser's name field and gives it the focus. */
    void FocusNameField();

    XString title;
    XString actionLabel;
    XButton* actionButton = nullptr;
    XFileBrowser* browser = nullptr;
    XFileNameValidator* validator; // not owned
    int32_t mode;
    bool fileChosenConnected = false;
};
