#include "platform/DisplayPreparer.h"

#include <X11/Xlib.h>
#include <mutex>

namespace
{
/** Atoms the toolkit reads with "only if exists" and then sets on its windows. */
const char* const kWindowManagerAtoms[] = {"WM_PROTOCOLS",
                                           "WM_TAKE_FOCUS",
                                           "WM_DELETE_WINDOW",
                                           "WM_CHANGE_STATE",
                                           "WM_STATE",
                                           "_NET_WM_PING",
                                           "_NET_WM_WINDOW_TYPE",
                                           "_NET_WM_WINDOW_TYPE_NORMAL",
                                           "_NET_WM_WINDOW_TYPE_COMBO",
                                           "_NET_WM_STATE",
                                           "_NET_WM_STATE_HIDDEN",
                                           "_NET_WM_STATE_FULLSCREEN",
                                           "_NET_WM_STATE_SKIP_TASKBAR",
                                           "_NET_WM_STATE_ABOVE",
                                           "_NET_FRAME_EXTENTS",
                                           "_NET_WM_ALLOWED_ACTIONS",
                                           "_NET_WM_ACTION_RESIZE",
                                           "_NET_WM_ACTION_FULLSCREEN",
                                           "_NET_WM_ACTION_MINIMIZE",
                                           "_NET_WM_ACTION_CLOSE",
                                           "_MOTIF_WM_HINTS"};
/** Xlib's default handler ends the process on any protocol error. A request about a window that
    has just gone (the toolkit querying a peer being destroyed) is such an error and harmless, so
    errors are ignored instead; the toolkit installs its own handler while it runs and puts this
    one back when it closes its display. */
int IgnoreProtocolError(Display*, XErrorEvent*)
{
    return 0;
}
} // namespace

bool DisplayPreparer::Prepare()
{
    static std::once_flag once;
    static Display* keptOpen = nullptr;
    std::call_once(once,
                   []
                   {
                       keptOpen = XOpenDisplay(nullptr);
                       if (keptOpen == nullptr)
                           return;
                       XSetErrorHandler(&IgnoreProtocolError);
                       for (const char* name : kWindowManagerAtoms)
                           XInternAtom(keptOpen, name, False);
                       XSync(keptOpen, False);
                   });
    return keptOpen != nullptr;
}
