#include "windows/SubWindowRegistry.h"

#include "windows/SubWindow.h"

#include <algorithm>

SubWindowRegistry::~SubWindowRegistry()
{
    std::vector<Entry*> made;
    for (Entry& entry : rows)
        if (entry.window != nullptr)
            made.push_back(&entry);
    std::sort(made.begin(), made.end(),
              [](const Entry* a, const Entry* b) { return a->madeOrder > b->madeOrder; });
    for (Entry* entry : made)
        delete entry->window.getComponent();
}

void SubWindowRegistry::Register(Row row)
{
    if (Entry* existing = Lookup(row.name.CStr()))
    {
        existing->row = std::move(row);
        return;
    }
    rows.push_back(Entry{std::move(row), false, {}, 0});
}

const SubWindowRegistry::Row* SubWindowRegistry::GetRow(int32_t index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &rows[static_cast<size_t>(index)].row;
}

SubWindowRegistry::Entry* SubWindowRegistry::Lookup(const char* name)
{
    return const_cast<Entry*>(static_cast<const SubWindowRegistry*>(this)->Lookup(name));
}

SubWindowRegistry::Entry* SubWindowRegistry::Lookup(int32_t windowParamId)
{
    return const_cast<Entry*>(static_cast<const SubWindowRegistry*>(this)->Lookup(windowParamId));
}

const SubWindowRegistry::Entry* SubWindowRegistry::Lookup(const char* name) const
{
    if (name == nullptr)
        return nullptr;
    for (const Entry& entry : rows)
        if (entry.row.name.EqualsNoCase(name))
            return &entry;
    return nullptr;
}

const SubWindowRegistry::Entry* SubWindowRegistry::Lookup(int32_t windowParamId) const
{
    if (windowParamId == kNoWindowParam)
        return nullptr;
    for (const Entry& entry : rows)
        if (entry.row.windowParamId == windowParamId)
            return &entry;
    return nullptr;
}

SubWindow* SubWindowRegistry::WindowOf(const Entry* entry)
{
    return entry != nullptr ? dynamic_cast<SubWindow*>(entry->window.getComponent()) : nullptr;
}

SubWindow* SubWindowRegistry::Make(Entry* entry)
{
    if (entry == nullptr)
        return nullptr;
    if (!entry->made && entry->row.create)
    {
        // Made once: a window that something else has deleted is not made again.
        entry->made = true;
        entry->madeOrder = ++windowsMade;
        entry->window = entry->row.create().release();
    }
    return WindowOf(entry);
}

SubWindow* SubWindowRegistry::Get(const char* name)
{
    return Make(Lookup(name));
}

SubWindow* SubWindowRegistry::Get(int32_t windowParamId)
{
    return Make(Lookup(windowParamId));
}

SubWindow* SubWindowRegistry::Find(const char* name) const
{
    return WindowOf(Lookup(name));
}

SubWindow* SubWindowRegistry::Find(int32_t windowParamId) const
{
    return WindowOf(Lookup(windowParamId));
}
