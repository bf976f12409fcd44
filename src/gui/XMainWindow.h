#pragma once

#include "gui/XPopupWindow.h"

/** The application's main window: a popup window with the window system's title bar, taskbar
    entry and minimise, maximise and close buttons (style 489) and a fixed-height, frameless title
    area. Escape does not close it, and closing it asks the application to quit (kQuitApplication). The
    program makes one and hands it to XGuiApp::SetKeyFocusWindow. GUI thread. */
class XMainWindow : public XPopupWindow
{
public:
    static constexpr int32_t kMainWindowStyle = 489; // 0x1E9
    static constexpr XRect kDefaultFrame{0, 0, 1024, 768};

    XMainWindow(const XRect& frame, const char* title);

    const char* GetClassNameText() const override { return "XMainWindow"; }
    /** Clears the framed option and sets the fixed title height, then goes on the desktop. */
    void Attach() override;
    /** Escape leaves the main window open: false. */
    bool EscapePressed() override { return false; }
};
