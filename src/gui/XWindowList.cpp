#include "gui/XWindowList.h"

#include <algorithm>
#include <vector>

namespace
{
std::vector<XView*>& Windows()
{
    static std::vector<XView*> windows;
    return windows;
}
} // namespace

void XWindowList::Add(XView* window)
{
    if (window != nullptr && !Contains(window))
        Windows().push_back(window);
}

void XWindowList::Remove(const XView* window)
{
    auto& windows = Windows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool XWindowList::Contains(const XView* window)
{
    const auto& windows = Windows();
    return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

int32_t GetWindowCount()
{
    return static_cast<int32_t>(Windows().size());
}

XView* GetWindowAt(int32_t index)
{
    const auto& windows = Windows();
    if (index < 0 || index >= static_cast<int32_t>(windows.size()))
        return nullptr;
    return windows[static_cast<size_t>(index)];
}
