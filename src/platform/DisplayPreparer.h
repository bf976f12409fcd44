#pragma once

/** Readies the X display for the toolkit's windows. JUCE looks up the window-manager atoms
    (WM_PROTOCOLS, WM_DELETE_WINDOW, _NET_WM_...) without creating them and then uses them, which
    fails with BadAtom on a display that no window manager has prepared, such as a bare Xvfb. This
    creates those atoms and holds one connection open for the life of the process, so that the
    server does not reset and drop them. It also makes X protocol errors non-fatal for the process
    (Xlib's default ends it). Call on the GUI thread before the first window opens;
    later calls do nothing. Returns false when no display can be opened. */
class DisplayPreparer final
{
public:
    static bool Prepare();

    DisplayPreparer() = delete;
};
