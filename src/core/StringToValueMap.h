#pragma once

#include "core/StringToPtrMap.h"

#include <memory>

/** A map from a text (case-sensitive) to a value of type T that it owns: Set stores a copy or
    overwrites the stored one in place, so pointers from Find stay valid until the map goes. Not
    locked. */
template <typename T> class StringToValueMap final
{
public:
    StringToValueMap() = default;
    StringToValueMap(const StringToValueMap&) = delete;
    StringToValueMap& operator=(const StringToValueMap&) = delete;
    ~StringToValueMap() { RemoveAll(); }

    /** Inserts or replaces the value of key; the stored value, null when memory ran out. */
    T* Set(const char* key, const T& value)
    {
        if (T* existing = entries.Find(key))
        {
            *existing = value;
            return existing;
        }
        auto stored = std::make_unique<T>(value);
        return entries.Add(key, stored.get()) ? stored.release() : nullptr;
    }

    T* Find(const char* key) const { return entries.Find(key); }
    int GetCount() const { return entries.GetCount(); }

    /** Deletes every stored value and empties the map; pointers from Find are invalid afterwards. */
    void RemoveAll()
    {
        for (auto* node = entries.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
            delete StringToPtrMap<T>::GetNodeValue(node);
        entries.RemoveAll();
    }

private:
    StringToPtrMap<T> entries;
};
