#include "core/XKeyPressMappingSet.h"

#include "core/XCommand.h"

#include <algorithm>

XKeyPressMappingSet::XKeyPressMappingSet(const XKeyPressMappingSet& other)
{
    mappings.reserve(other.mappings.size());
    for (const auto& mapping : other.mappings)
        mappings.push_back(std::make_unique<Mapping>(*mapping));
}

void XKeyPressMappingSet::AddMapping(XCommand* command, const XString& name, const XString& keyText,
                                     int32_t value, uint8_t flagBits)
{
    if (command == nullptr)
        return;
    RemoveMappings(command);
    auto mapping = std::make_unique<Mapping>();
    mapping->command = command;
    mapping->name = name;
    mapping->keyText = keyText;
    mapping->value = value;
    mapping->flagBits = flagBits;
    mappings.push_back(std::move(mapping));
}

void XKeyPressMappingSet::RemoveMappings(const XCommand* command)
{
    mappings.erase(std::remove_if(mappings.begin(), mappings.end(),
                                  [command](const std::unique_ptr<Mapping>& m)
                                  { return m->command == command; }),
                   mappings.end());
}

void XKeyPressMappingSet::ClearCommandKeys(const XCommand* command)
{
    if (Mapping* mapping = FindLastMapping(command))
        mapping->keyPresses.clear();
}

void XKeyPressMappingSet::AddKeyPress(XCommand* command, const XKeyPress& keyPress)
{
    if (command != nullptr && FindCommandForKey(keyPress) == command)
        return;
    RemoveKeyPress(keyPress);
    if (keyPress.keyCode == 0)
        return;
    Mapping* mapping = FindLastMapping(command);
    if (mapping == nullptr)
        return;
    mapping->keyPresses.assign(1, keyPress);
    command->SetShortcutText(KeyPressToText(keyPress));
}

void XKeyPressMappingSet::RemoveKeyPress(const XKeyPress& keyPress)
{
    for (auto& mapping : mappings)
    {
        auto& keys = mapping->keyPresses;
        const size_t before = keys.size();
        keys.erase(std::remove(keys.begin(), keys.end(), keyPress), keys.end());
        if (keys.size() != before && keys.empty() && mapping->command != nullptr)
            mapping->command->SetShortcutText(XString());
    }
}

XCommand* XKeyPressMappingSet::FindCommandForKey(const XKeyPress& keyPress) const
{
    if (keyPress.keyCode == 0)
        return nullptr;
    for (auto mapping = mappings.rbegin(); mapping != mappings.rend(); ++mapping)
    {
        const auto& keys = (*mapping)->keyPresses;
        if (std::find(keys.rbegin(), keys.rend(), keyPress) != keys.rend())
            return (*mapping)->command;
    }
    return nullptr;
}

void XKeyPressMappingSet::UpdateCommandMapping(XCommand* command)
{
    if (command == nullptr)
        return;
    ClearCommandKeys(command);
    AddKeyPress(command, ParseKeyPressText(command->GetHotKeyText()));
}

const XKeyPressMappingSet::Mapping* XKeyPressMappingSet::GetMapping(int index) const
{
    return index >= 0 && index < GetMappingCount() ? mappings[static_cast<size_t>(index)].get() : nullptr;
}

XKeyPressMappingSet::Mapping* XKeyPressMappingSet::FindLastMapping(const XCommand* command)
{
    for (auto mapping = mappings.rbegin(); mapping != mappings.rend(); ++mapping)
        if ((*mapping)->command == command)
            return mapping->get();
    return nullptr;
}
