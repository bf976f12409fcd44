#include "device/PresetsManager.h"

#include "device/GlobalParamCallbacks.h"

#include <cstdio>

namespace
{
/** "U01" to "F60" and beyond fit with room to spare. */
constexpr size_t kLocationNameSize = 16;
} // namespace

// Preset ---------------------------------------------------------------------------------------------

PresetsManager::Preset::Preset(const XString& name, int32_t configuration, int32_t flags)
    : name(name), configuration(configuration), flags(flags)
{
}

XString PresetsManager::Preset::ConfigName(int32_t configuration)
{
    return ConfigurationText(nullptr, configuration, 0);
}

const char* PresetsManager::Preset::LocationName(int32_t index)
{
    thread_local char text[kLocationNameSize];
    if (index < kUserPresetCount)
        std::snprintf(text, sizeof text, "U%02d", index + 1);
    else
        std::snprintf(text, sizeof text, "F%02d", index - (kUserPresetCount - 1));
    return text;
}

// Manager --------------------------------------------------------------------------------------------

PresetsManager::PresetsManager() = default;

PresetsManager::~PresetsManager()
{
    std::lock_guard<std::mutex> hold(presetLock);
    presets.clear();
}

PresetsManager& PresetsManager::Instance()
{
    // Registered for the program's life; unregistered again when the manager goes at exit.
    struct Registered
    {
        Registered() { SetPresetEntries(&manager); }
        ~Registered() { SetPresetEntries(nullptr); }
        PresetsManager manager;
    };
    static Registered registered;
    return registered.manager;
}

int32_t PresetsManager::Count() const
{
    std::lock_guard<std::mutex> hold(presetLock);
    return static_cast<int32_t>(presets.size());
}

PresetsManager::Preset* PresetsManager::GetPreset(int32_t index) const
{
    std::lock_guard<std::mutex> hold(presetLock);
    if (index < 0 || index >= static_cast<int32_t>(presets.size()))
        return nullptr;
    return presets[static_cast<size_t>(index)].get();
}

int32_t PresetsManager::InsertPreset(Preset* preset, int32_t index)
{
    if (preset == nullptr)
        return 0;
    std::unique_ptr<Preset> owned(preset);
    std::lock_guard<std::mutex> hold(presetLock);
    if (index < 0 || index >= static_cast<int32_t>(presets.size()))
        presets.push_back(std::move(owned));
    else
        presets.insert(presets.begin() + index, std::move(owned));
    return 0;
}

void PresetsManager::FillPlaceholders()
{
    std::lock_guard<std::mutex> hold(presetLock);
    while (static_cast<int32_t>(presets.size()) < kPresetCount)
        presets.push_back(std::make_unique<Preset>(kPlaceholderName, kNoConfiguration, 0));
}

bool PresetsManager::GetEntry(int32_t index, Preset* copy) const
{
    std::lock_guard<std::mutex> hold(presetLock);
    if (index < 0 || index >= static_cast<int32_t>(presets.size()))
        return false;
    if (copy != nullptr)
        *copy = *presets[static_cast<size_t>(index)];
    return true;
}

bool PresetsManager::SetEntryInfo(int32_t index, const XString& name, int32_t configuration)
{
    std::lock_guard<std::mutex> hold(presetLock);
    if (index < 0 || index >= static_cast<int32_t>(presets.size()))
        return false;
    Preset& preset = *presets[static_cast<size_t>(index)];
    preset.name = name;
    preset.configuration = configuration;
    return true;
}

bool PresetsManager::SetEntryFlags(int32_t index, int32_t flags)
{
    std::lock_guard<std::mutex> hold(presetLock);
    if (index < 0 || index >= static_cast<int32_t>(presets.size()))
        return false;
    presets[static_cast<size_t>(index)]->flags = flags;
    return true;
}

bool PresetsManager::GetPresetEntry(int32_t index, XString* name, int32_t* flags)
{
    std::lock_guard<std::mutex> hold(presetLock);
    if (index < 0 || index >= static_cast<int32_t>(presets.size()))
        return false;
    const Preset& preset = *presets[static_cast<size_t>(index)];
    if (name != nullptr)
        *name = preset.name;
    if (flags != nullptr)
        *flags = preset.flags;
    return true;
}
