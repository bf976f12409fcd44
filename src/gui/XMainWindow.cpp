#include "gui/XMainWindow.h"

XMainWindow::XMainWindow(const XRect& frame, const char* title) : XPopupWindow(frame, title, nullptr)
{
    SetWindowStyle(kMainWindowStyle);
}

void XMainWindow::Attach()
{
    GetOptions().framed = 0;
    GetOptions().fixedTitleHeight = 1;
    XPopupWindow::Attach();
}
