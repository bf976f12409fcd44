#include "platform/PlatformWindowOwner.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <mutex>

namespace
{
Display* OwnerDisplay()
{
    static std::once_flag once;
    static Display* display = nullptr; // kept open for the process's life
    std::call_once(once, [] { display = XOpenDisplay(nullptr); });
    return display;
}

::Window WindowOf(void* handle)
{
    return static_cast<::Window>(reinterpret_cast<uintptr_t>(handle));
}
} // namespace

bool PlatformWindowOwner::SetOwner(void* windowHandle, void* ownerHandle)
{
    Display* display = OwnerDisplay();
    if (display == nullptr || windowHandle == nullptr || ownerHandle == nullptr)
        return false;
    XSetTransientForHint(display, WindowOf(windowHandle), WindowOf(ownerHandle));
    XSync(display, False);
    return true;
}

void* PlatformWindowOwner::GetOwner(void* windowHandle)
{
    Display* display = OwnerDisplay();
    if (display == nullptr || windowHandle == nullptr)
        return nullptr;
    ::Window owner = 0;
    if (XGetTransientForHint(display, WindowOf(windowHandle), &owner) == 0)
        return nullptr;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(owner));
}
