#pragma once

#include "core/XString.h"

#include <cstdint>
#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <vector>

class SubWindow;

/** The editor windows the application can open: one row per window, with its name, its window-open
    parameter (ids 70..79 of the main group; kNoWindowParam for the windows without one) and the
    function that creates it. A row without a function has no window yet: asking for it gives null.

    A window is created on first request and made once: the registry hands out the same window
    afterwards, and null once something else has deleted it (the GUI application deletes every
    window at quit). The registry deletes the windows still alive when it goes, last made first.
    GUI thread only. */
class SubWindowRegistry final
{
public:
    static constexpr int32_t kNoWindowParam = -1;

    using Factory = std::function<std::unique_ptr<SubWindow>()>;

    struct Row
    {
        XString name;
        int32_t windowParamId = kNoWindowParam;
        Factory create;
    };

    SubWindowRegistry() = default;
    ~SubWindowRegistry();
    SubWindowRegistry(const SubWindowRegistry&) = delete;
    SubWindowRegistry& operator=(const SubWindowRegistry&) = delete;

    /** Adds the row, or replaces the row of the same name (compared without regard to case) in its
        place; a window made from the replaced row stays what the row hands out. */
    void Register(Row row);

    int32_t Count() const { return static_cast<int32_t>(rows.size()); }
    /** The row at index, in registration order; null out of range. */
    const Row* GetRow(int32_t index) const;

    /** The window of the row with that name, or window-open parameter, created on first request;
        null when there is no such row, it has no function, or its window has been deleted. */
    SubWindow* Get(const char* name);
    SubWindow* Get(int32_t windowParamId);
    /** The same without creating: null until the window has been made. */
    SubWindow* Find(const char* name) const;
    SubWindow* Find(int32_t windowParamId) const;

    /** Get and Find as a concrete window class (null when the window is of another class). */
    template <typename Window> Window* Get(const char* name) { return dynamic_cast<Window*>(Get(name)); }
    template <typename Window> Window* Find(const char* name) const
    {
        return dynamic_cast<Window*>(Find(name));
    }

private:
    struct Entry
    {
        Row row;
        bool made = false;
        juce::Component::SafePointer<juce::Component> window; // the window, once made and while alive
        int32_t madeOrder = 0;
    };

    Entry* Lookup(const char* name);
    Entry* Lookup(int32_t windowParamId);
    const Entry* Lookup(const char* name) const;
    const Entry* Lookup(int32_t windowParamId) const;
    SubWindow* Make(Entry* entry);
    static SubWindow* WindowOf(const Entry* entry);

    std::vector<Entry> rows;
    int32_t windowsMade = 0;
};

/** Makes a window of that class for a registry row: SubWindowRegistry::Row{name, id, &MakeWindow<W>}. */
template <typename Window> std::unique_ptr<SubWindow> MakeWindow()
{
    return std::make_unique<Window>();
}
