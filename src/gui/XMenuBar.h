#pragma once

#include "core/XMessageCodes.h"
#include "core/XRect.h"
#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>
#include <memory>
#include <vector>

class XMenu;

/** A row of menu titles that opens the menu (XMenu) of the title clicked. Titles are laid out left
    to right when the bar is attached, each as wide as its text plus six blanks.

    Opening is deferred: a click makes its title pending, and the bar's 100 ms timer hands the
    pending title to a posted message that runs the menu modally, so the click has finished first
    and no modal loop runs inside a looper timer. The menus are not owned (they must outlive the
    bar). GUI thread only. */
class XMenuBar : public XView
{
public:
    static constexpr int32_t kTimerId = 10;
    static constexpr int32_t kTimerPeriodMs = 100;
    static constexpr int32_t kFontSize = 14;
    /** How often the pointer is checked while a menu is open, to switch titles by hovering. */
    static constexpr int kPointerWatchMs = 50;
    /** The bar's own message that opens the title of index "entry". */
    static constexpr uint32_t kOpenMessage = FourCharCode("mbop");
    /** Colour ids of JUCE's pop-up menu that the open title is drawn in. */
    static constexpr int kHighlightBackgroundColourId = 0x1000900;
    static constexpr int kHighlightTextColourId = 0x1000800;

    /** One title of the bar. */
    struct MenuInfo
    {
        XString title;
        /** View coordinates; zero until laid out. */
        XRect rect;
        XMenu* menu = nullptr; // not owned
        /** Highlighted: the menu is open or about to open. */
        bool open = false;
    };

    explicit XMenuBar(const char* name);
    ~XMenuBar() override;

    /** Appends a title (menu may be null: the title highlights and shows nothing). */
    void AddMenu(const char* title, XMenu* menu);
    /** The entry of that menu is no longer open; the bar repaints. */
    virtual void MenuClosed(XMenu* menu);
    /** While a menu is open and the pointer is over the bar: the title under it becomes pending. */
    virtual void TrackPointer();
    /** As TrackPointer; when a title other than the open one is under the pointer, the open menu is
        dismissed so that the pending title opens at the next tick. Called while a menu is open. */
    virtual void SwitchToPointer();

    int32_t GetMenuCount() const { return static_cast<int32_t>(menus.size()); }
    const MenuInfo* GetMenuInfo(int32_t index) const;
    /** The index of the first title whose rectangle holds the point (edges included); -1 for none. */
    int32_t FindEntryAt(const XPoint& point) const;
    int32_t GetOpenIndex() const { return IndexOf(openEntry); }
    int32_t GetPendingIndex() const { return IndexOf(pendingEntry); }

    // XView -------------------------------------------------------------------------------------------

    /** Lays the titles out and starts the timer. */
    void Attach() override;
    bool WantsMouse() const override { return true; }
    void Draw(XCanvas& canvas) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override { return true; }
    void HandleTimer(int32_t timerId) override;
    void MessageReceived(XMessage& message) override;

private:
    /** Calls SwitchToPointer while a menu is open (JUCE timers run inside the menu's modal loop). */
    class PointerWatch final : public juce::Timer
    {
    public:
        explicit PointerWatch(XMenuBar& bar);
        void timerCallback() override;

    private:
        XMenuBar& bar;
    };

    void Layout();
    void OpenEntry(MenuInfo* entry);
    int32_t IndexOf(const MenuInfo* entry) const;
    /** The entry under the pointer, when the component under the mouse is this bar; else null. */
    bool EntryUnderPointer(MenuInfo*& entry);

    std::vector<std::unique_ptr<MenuInfo>> menus;
    XString barName;
    MenuInfo* openEntry = nullptr;
    MenuInfo* pendingEntry = nullptr;
    PointerWatch pointerWatch;
};
