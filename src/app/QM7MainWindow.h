#pragma once

#include "device/GlobalParamTables.h"
#include "device/XParamDoc.h"
#include "gui/XMainWindow.h"

#include <array>
#include <cstdint>
#include <memory>

class QM7App;
class QM7Panel;
class QM7SlavePanel;
class TiledPict;
class XButton;
class XMenu;
class XMenuBar;
class XPict;
class XText;
class XTextEditor;

/** The editor's one desktop window, built in code: a menu bar ("File", "Window"), a toolbar of
    command, compare and window buttons, the tiled background that carries the unit's front panel,
    the slave panel and the "Compare Mode" washes, and a status bar bound to QM7\Status. It shows the
    preset document's title and lets the application reach its compare button.

    The application makes it once (QM7App::BuildMainWindow) and the GUI application deletes it at quit;
    it owns its views (as children) and its two menus. Escape leaves it open and its close box asks the
    application to quit (XMainWindow). GUI thread only. */
class QM7MainWindow final : public XMainWindow, public IDocumentTitleView
{
public:
    static constexpr XRect kFrame{0, 0, 1024, 768};
    /** The window system's title bar, task-bar entry and minimise, maximise and close boxes, without
        a drop shadow. */
    static constexpr int32_t kWindowStyle = kMainWindowStyle & ~kStyleDropShadow;
    static constexpr int32_t kMenuBarHeight = 24;
    static constexpr int32_t kToolbarHeight = 36;
    static constexpr int32_t kStatusBarHeight = 22;
    static constexpr uint32_t kBarResizeMask = kResizeLeft | kResizeRight | kResizeTop;
    static constexpr uint32_t kStatusBarResizeMask = kResizeLeft | kResizeRight | kResizeBottom;
    static constexpr const char* kToolbarImage = "toolbarMain\\toolbarBg.png";
    static constexpr const char* kStatusBarImage = "statusbarBg.png";
    static constexpr const char* kBackgroundTile = "kstBackgroundTile.png";
    static constexpr const char* kCompareLitImage = "buttons\\buttonCompareLit.png";
    static constexpr const char* kCompareDimImage = "buttons\\buttonCompareDim.png";
    static constexpr const char* kBusyText = "Busy...";
    static constexpr const char* kCompareModeTip = "Compare Mode";
    /** The front panel's place in the background (it takes its picture's size), and the slave
        panel's below it. */
    static constexpr XRect kPanelFrame{10, 10, 10, 10};
    static constexpr int32_t kSlavePanelDrop = 158;
    static constexpr int32_t kCompareAreaCount = 14;
    static constexpr XRect kDownloaderOutputFrame{10, 230, 700, 700};

    /** The command context of the editor windows' show commands. */
    static constexpr const char* kWindowsContext = "Windows";

    /** One editor window's show command: the window's registry name (also the menu label), the
        command's name, its hot key ("" for none) and the start-up log line. */
    struct WindowCommand
    {
        const char* windowName;
        const char* commandName;
        const char* hotKey;
        const char* logLine;
    };
    static constexpr int32_t kWindowCommandCount = 13;
    /** In the order the windows are made at start-up. */
    static const WindowCommand kWindowCommands[kWindowCommandCount];

    /** Main group ids the window binds. */
    static constexpr int32_t kStatusId = GlobalParamTables::kStatusId;
    static constexpr int32_t kUsbActiveId = GlobalParamTables::kUsbActiveId;
    static constexpr int32_t kRs232ActiveId = GlobalParamTables::kRs232ActiveId;
    static constexpr int32_t kLockUIForEditCompareId = GlobalParamTables::kEditCompareLockId;
    static constexpr int32_t kCompareButtonId = GlobalParamTables::kCompareEditDisplayButtonId;
    static constexpr int32_t kDisplayLoadingId = GlobalParamTables::kDisplayLoadingId;

    /** The window with the application's name as title; its content comes with BuildContents. */
    explicit QM7MainWindow(QM7App& app);
    ~QM7MainWindow() override;

    /** Menu bar, toolbar, background with the panels and the compare washes, status bar. Once. */
    void BuildContents();
    /** Makes every editor window that exists (a registry row with a function), in start-up order,
        makes it a child of this window (hidden) and registers its show command with its hot key in
        the context "Windows"; then the "Window" menu lists the show commands that exist, and the
        downloader output is added last, hidden. Once. */
    void CreateWindows();

    /** IDocumentTitleView: the window's title. */
    void SetDocumentTitle(const XString& title) override;

    XMenuBar* GetMenuBar() const { return menuBar; }
    XMenu* GetFileMenu() const { return fileMenu.get(); }
    XMenu* GetWindowMenu() const { return windowMenu.get(); }
    XPict* GetToolbar() const { return toolbar; }
    XPict* GetStatusBar() const { return statusBar; }
    XText* GetStatusText() const { return statusText; }
    TiledPict* GetBackground() const { return background; }
    QM7Panel* GetPanel() const { return panel; }
    QM7SlavePanel* GetSlavePanel() const { return slavePanel; }
    XButton* GetCompareButton() const { return compareButton; }
    XText* GetBusyText() const { return busyText; }
    XText* GetCompareArea(int32_t index) const;
    /** The firmware downloader's output: a hidden, read-only, word-wrapped editor made by CreateWindows. */
    XTextEditor* GetDownloaderOutput() const { return downloaderOutput.get(); }

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void BuildFrontPanel();
    void BuildCompareAreas();
    void AddWindowMenuItems();

    QM7App& app;
    // Children of the window (owned by it as views); the menus are the window's own and outlive the bar.
    std::unique_ptr<XMenu> fileMenu;
    std::unique_ptr<XMenu> windowMenu;
    XMenuBar* menuBar = nullptr;
    XPict* toolbar = nullptr;
    XPict* statusBar = nullptr;
    XText* statusText = nullptr;
    TiledPict* background = nullptr;
    QM7Panel* panel = nullptr;
    QM7SlavePanel* slavePanel = nullptr;
    XButton* compareButton = nullptr;
    XText* busyText = nullptr;
    std::array<XText*, kCompareAreaCount> compareAreas{};
    std::unique_ptr<XTextEditor> downloaderOutput; // a plain component child, not owned as a view
    bool windowsCreated = false;
};
