#pragma once

#include <cstdint>

class XView;

/** The program-wide list of top-level windows, in the order they were made. A window enters it when
    constructed and leaves it when destroyed; at quit the GUI application saves, hides and deletes
    the windows still listed. The list only points to its windows. GUI thread only; no lock. */
class XWindowList final
{
public:
    /** Appends the window; nothing for null or a window already listed. */
    static void Add(XView* window);
    /** Takes the window out; nothing when it is not listed. */
    static void Remove(const XView* window);
    static bool Contains(const XView* window);

    XWindowList() = delete;
};

int32_t GetWindowCount();
/** The window at index in creation order; null outside the list. */
XView* GetWindowAt(int32_t index);
