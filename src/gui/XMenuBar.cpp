#include "gui/XMenuBar.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"
#include "gui/XMenu.h"
#include "gui/XStyle.h"

namespace
{
constexpr const char* kFontFamily = "arial";
constexpr const char* kPadText = "   ";
constexpr const char* kEntryItem = "entry";
constexpr int32_t kTitleInset = 2;
/** Centred both ways. */
constexpr int32_t kTitleJustification = 36;

XRGB ToXRGB(juce::Colour colour)
{
    return XRGB(colour.getRed(), colour.getGreen(), colour.getBlue(), colour.getAlpha());
}
} // namespace

XMenuBar::PointerWatch::PointerWatch(XMenuBar& barIn) : bar(barIn) {}

void XMenuBar::PointerWatch::timerCallback()
{
    bar.SwitchToPointer();
}

XMenuBar::XMenuBar(const char* name) : barName(name != nullptr ? name : ""), pointerWatch(*this)
{
    SetFont(XFont::GetFont(kFontFamily, kFontSize, false, false, false));
    SetLabel(barName, false);
    SetName(barName);
    setName(barName.CStr());
}

XMenuBar::~XMenuBar()
{
    if (openEntry != nullptr && openEntry->menu != nullptr)
        openEntry->menu->Dismiss(false);
}

void XMenuBar::AddMenu(const char* title, XMenu* menu)
{
    auto entry = std::make_unique<MenuInfo>();
    entry->title = title != nullptr ? title : "";
    entry->menu = menu;
    menus.push_back(std::move(entry));
}

const XMenuBar::MenuInfo* XMenuBar::GetMenuInfo(int32_t index) const
{
    return index >= 0 && index < GetMenuCount() ? menus[static_cast<size_t>(index)].get() : nullptr;
}

int32_t XMenuBar::IndexOf(const MenuInfo* entry) const
{
    for (size_t index = 0; index < menus.size(); ++index)
        if (menus[index].get() == entry)
            return static_cast<int32_t>(index);
    return -1;
}

int32_t XMenuBar::FindEntryAt(const XPoint& point) const
{
    for (size_t index = 0; index < menus.size(); ++index)
    {
        const XRect& r = menus[index]->rect;
        if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom)
            return static_cast<int32_t>(index);
    }
    return -1;
}

// Layout and drawing ----------------------------------------------------------------------------------

void XMenuBar::Attach()
{
    XView::Attach();
    StartTimer(kTimerId, kTimerPeriodMs, false);
    Layout();
}

void XMenuBar::Layout()
{
    XFont* font = GetFont();
    const int32_t pad = font != nullptr ? font->GetStringWidth(kPadText) : 0;
    const XRect bounds = GetBounds();
    int32_t x = bounds.left;
    for (auto& entry : menus)
    {
        const int32_t width = font != nullptr ? font->GetStringWidth(entry->title) : 0;
        entry->rect = XRect(x, bounds.top, x + width + 2 * pad, bounds.bottom);
        x = entry->rect.right;
    }
}

void XMenuBar::Draw(XCanvas& canvas)
{
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    juce::LookAndFeel& look =
        GetStyle() != nullptr ? *GetStyle() : juce::LookAndFeel::getDefaultLookAndFeel();
    const XRGB highlightBack = ToXRGB(look.findColour(kHighlightBackgroundColourId));
    const XRGB highlightText = ToXRGB(look.findColour(kHighlightTextColourId));
    for (const auto& entry : menus)
    {
        const XRect inset(entry->rect.left + kTitleInset, entry->rect.top + kTitleInset,
                          entry->rect.right - kTitleInset, entry->rect.bottom - kTitleInset);
        if (entry->open)
            canvas.FillRectColour(inset, highlightBack);
        const XRect textRect(inset.left, inset.top + 1, inset.right, inset.bottom + 1);
        canvas.SetForeColor(entry->open ? highlightText : GetTextColor());
        canvas.DrawText(textRect, entry->title, kTitleJustification);
    }
}

// Mouse and timer -------------------------------------------------------------------------------------

bool XMenuBar::MouseDown(const XPoint& point, int32_t button)
{
    grabKeyboardFocus();
    if (openEntry != nullptr)
        openEntry->open = false;
    const int32_t index = FindEntryAt(point);
    MenuInfo* found = index >= 0 ? menus[static_cast<size_t>(index)].get() : nullptr;
    if (found != nullptr && found == openEntry)
        found = nullptr; // a click on the open title closes its menu
    else if (found != nullptr)
        found->open = true;
    Invalidate();
    pendingEntry = found;
    return true;
}

bool XMenuBar::MouseMoved(const XPoint& point, int32_t button)
{
    if (openEntry == nullptr)
        return true;
    const int32_t index = FindEntryAt(point);
    if (index >= 0 && menus[static_cast<size_t>(index)].get() != openEntry)
        pendingEntry = menus[static_cast<size_t>(index)].get();
    return true;
}

void XMenuBar::HandleTimer(int32_t timerId)
{
    if (timerId != kTimerId)
    {
        XView::HandleTimer(timerId);
        return;
    }
    if (pendingEntry == nullptr)
        return;
    // The menu runs a modal loop: from a posted message, never inside this timer's callback.
    XMessage open(kOpenMessage);
    open.AddInt32(kEntryItem, IndexOf(pendingEntry));
    pendingEntry = nullptr;
    PostMessage(&open);
}

void XMenuBar::MessageReceived(XMessage& message)
{
    if (message.GetWhat() != kOpenMessage)
    {
        XView::MessageReceived(message);
        return;
    }
    int32_t index = -1;
    message.FindInt32(kEntryItem, index);
    if (index >= 0 && index < GetMenuCount())
        OpenEntry(menus[static_cast<size_t>(index)].get());
}

void XMenuBar::OpenEntry(MenuInfo* entry)
{
    if (openEntry != nullptr && openEntry != entry)
    {
        openEntry->open = false;
        if (openEntry->menu != nullptr)
            openEntry->menu->Dismiss(false);
        openEntry = nullptr;
    }
    openEntry = entry;
    entry->open = true;
    Invalidate();
    if (entry->menu != nullptr)
    {
        const juce::Point<int> screen =
            localPointToGlobal(juce::Point<int>(entry->rect.left, GetBounds().bottom));
        juce::Component::SafePointer<XMenuBar> alive(this);
        pointerWatch.startTimer(kPointerWatchMs);
        entry->menu->Popup(XPoint(screen.x, screen.y));
        // The bar may have gone while its menu ran.
        if (alive == nullptr)
            return;
        pointerWatch.stopTimer();
    }
    entry->open = false;
    openEntry = nullptr;
    Invalidate();
}

void XMenuBar::MenuClosed(XMenu* menu)
{
    for (auto& entry : menus)
        if (entry->menu == menu)
            entry->open = false;
    openEntry = nullptr;
    Invalidate();
}

// Following the pointer while a menu is open -----------------------------------------------------------

bool XMenuBar::EntryUnderPointer(MenuInfo*& entry)
{
    entry = nullptr;
    juce::Component* under = juce::Desktop::getInstance().getMainMouseSource().getComponentUnderMouse();
    if (under != this)
        return false;
    const juce::Point<int> local = getMouseXYRelative();
    const int32_t index = FindEntryAt(XPoint(local.x, local.y));
    if (index >= 0)
        entry = menus[static_cast<size_t>(index)].get();
    return true;
}

void XMenuBar::TrackPointer()
{
    MenuInfo* entry = nullptr;
    if (!EntryUnderPointer(entry))
        return;
    if (entry != nullptr && entry != openEntry)
        pendingEntry = entry;
    Invalidate();
}

void XMenuBar::SwitchToPointer()
{
    MenuInfo* entry = nullptr;
    if (!EntryUnderPointer(entry))
        return;
    if (entry == nullptr || entry == openEntry)
        return;
    pendingEntry = entry;
    if (openEntry != nullptr && openEntry->menu != nullptr)
        openEntry->menu->Dismiss(true);
    Invalidate();
}
