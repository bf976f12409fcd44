#include "gui/GuiHelpers.h"

#include "gui/IColourChooser.h"
#include "gui/IMonitorList.h"
#include "gui/JUCEColourChooser.h"
#include "gui/XDebugConsole.h"
#include "gui/XView.h"

#include <atomic>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
/** The work areas of JUCE's displays, the main display first. */
class JUCEMonitorList final : public IMonitorList
{
public:
    std::vector<XRect> GetWorkAreas() override
    {
        std::vector<XRect> areas;
        for (const juce::Displays::Display& display : juce::Desktop::getInstance().getDisplays().displays)
        {
            const juce::Rectangle<int> area = display.userArea;
            const XRect rect(area.getX(), area.getY(), area.getRight(), area.getBottom());
            if (display.isMain)
                areas.insert(areas.begin(), rect);
            else
                areas.push_back(rect);
        }
        return areas;
    }
};

IMonitorList* injectedMonitors = nullptr;
IColourChooser* injectedChooser = nullptr;
std::atomic<bool> pointerShown{true};
std::atomic<bool> busy{false};

std::vector<XRect> WorkAreas()
{
    if (injectedMonitors != nullptr)
        return injectedMonitors->GetWorkAreas();
    JUCEMonitorList displays;
    return displays.GetWorkAreas();
}

bool Overlaps(const XRect& a, const XRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
} // namespace

int32_t GetMonitorCount()
{
    return static_cast<int32_t>(WorkAreas().size());
}

XRect GetMonitorArea(int32_t index)
{
    const std::vector<XRect> areas = WorkAreas();
    if (areas.empty())
        return kFallbackMonitorArea;
    return index >= 0 && static_cast<size_t>(index) < areas.size() ? areas[static_cast<size_t>(index)]
                                                                   : areas.front();
}

XRect GetWindowArea(const XView* view)
{
    const std::vector<XRect> areas = WorkAreas();
    if (areas.empty())
        return kFallbackMonitorArea;
    if (view != nullptr)
    {
        const juce::Rectangle<int> screen = view->getScreenBounds();
        const XRect rect(screen.getX(), screen.getY(), screen.getRight(), screen.getBottom());
        for (const XRect& area : areas)
        {
            if (Overlaps(area, rect))
                return area;
        }
    }
    return areas.front();
}

void SetMonitorList(IMonitorList* list)
{
    injectedMonitors = list;
}

XRect CenterRectIn(const XRect& rect, const XRect& outer)
{
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    int32_t left = outer.left + (outer.right - outer.left) / 2 - width / 2;
    int32_t top = outer.top + (outer.bottom - outer.top) / 2 - height / 2;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    return XRect(left, top, left + width, top + height);
}

void HideMousePointer()
{
    pointerShown = false;
}

void ShowMousePointer()
{
    pointerShown = true;
}

bool IsMousePointerShown()
{
    return pointerShown;
}

void SetMousePosition(int32_t x, int32_t y)
{
    juce::Desktop::setMousePosition(juce::Point<int>(x, y));
}

void ShowWaitCursor()
{
    busy = true;
    juce::MouseCursor::showWaitCursor();
}

void HideWaitCursor()
{
    busy = false;
    juce::MouseCursor::hideWaitCursor();
}

bool IsBusy()
{
    return busy;
}

bool ChooseSystemColour(XRGB& colour)
{
    JUCEColourChooser juceChooser;
    IColourChooser& chooser = injectedChooser != nullptr ? *injectedChooser : juceChooser;
    XRGB chosen;
    if (!chooser.Choose(XRGB(colour.r, colour.g, colour.b), chosen))
        return false;
    colour = XRGB(chosen.r, chosen.g, chosen.b);
    return true;
}

void SetColourChooser(IColourChooser* chooser)
{
    injectedChooser = chooser;
}

void FlushDebugConsole(XDebugConsole* console)
{
    if (console != nullptr)
        console->Flush();
}
