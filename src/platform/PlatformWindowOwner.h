#pragma once

#include <cstdint>

/** Names a top-level window's owner to the window system, so that the window manager keeps the
    secondary window above its owner and minimises them together (an X11 transient-for hint on
    the native window). Handles are the toolkit peers' native handles (X window ids). Uses one
    connection to the display, opened on first use and kept for the life of the process.
    GUI thread. Returns false when no display opens or a handle is null. */
class PlatformWindowOwner final
{
public:
    static bool SetOwner(void* windowHandle, void* ownerHandle);
    /** The owner recorded by SetOwner for the window as the window system reports it; null when
        there is none or no display. */
    static void* GetOwner(void* windowHandle);

    PlatformWindowOwner() = delete;
};
