#pragma once

#include "core/XString.h"
#include "device/IPresetEntries.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

/** What each of the unit's 80 preset slots holds (name, speaker configuration, flag byte): entry n-1
    for preset n, presets 1..20 being the user presets U01..U20 and 21..80 the factory presets
    F01..F60. The presets window, the store and recall dialogs and the preset texts of the global
    tables read it; the preset receive refreshes it from the unit.

    The manager owns its presets and never removes one, so a Preset pointer stays valid for the
    manager's life. The list and every entry's fields are guarded by presetLock: read and write
    entries through the manager's operations (GetEntry, SetEntryInfo, SetEntryFlags), which any
    thread may call. The program's manager (Instance) registers itself as the preset entries of the
    global tables. */
class PresetsManager final : public IPresetEntries
{
public:
    static constexpr int32_t kUserPresetCount = 20;
    static constexpr int32_t kFactoryPresetCount = 60;
    static constexpr int32_t kPresetCount = kUserPresetCount + kFactoryPresetCount;
    /** The configuration of a slot whose contents are not known. */
    static constexpr int32_t kNoConfiguration = -1;
    static constexpr const char* kPlaceholderName = "---";

    /** One preset slot: name, configuration (0..6, -1 for a placeholder) and the unit's flag byte
        (IPresetEntries::kFlagLocked marks a locked preset). */
    class Preset final
    {
    public:
        Preset(const XString& name, int32_t configuration, int32_t flags);

        /** The configuration's text: the channel configurations 0..6, "---" otherwise. */
        static XString ConfigName(int32_t configuration);
        /** "U01".."U20" for the 0-based index 0..19, "F01".. above (index - 19). The text lives in
            a buffer of the calling thread, valid until its next call; copy it at once. */
        static const char* LocationName(int32_t index);

        XString name;
        int32_t configuration;
        int32_t flags;
    };

    PresetsManager();
    ~PresetsManager() override;
    PresetsManager(const PresetsManager&) = delete;
    PresetsManager& operator=(const PresetsManager&) = delete;

    /** The program's manager, created on first call and registered with SetPresetEntries. */
    static PresetsManager& Instance();

    int32_t Count() const;
    /** Null when index is out of range. Read its fields only while nothing writes the entry (no
        preset receive runs); GetEntry reads them safely at any time. */
    Preset* GetPreset(int32_t index) const;
    /** Takes ownership of preset (null is ignored); -1 appends, any other index inserts before it
        (an index beyond the end appends). Returns 0. */
    int32_t InsertPreset(Preset* preset, int32_t index);
    /** Appends placeholders ("---", configuration -1, flags 0) until the list holds kPresetCount. */
    void FillPlaceholders();

    /** A copy of the entry at index; false when there is none. */
    bool GetEntry(int32_t index, Preset* copy) const;
    /** Sets name and configuration of the entry at index; false when there is none. */
    bool SetEntryInfo(int32_t index, const XString& name, int32_t configuration);
    /** Sets the flags of the entry at index; false when there is none. */
    bool SetEntryFlags(int32_t index, int32_t flags);

    bool GetPresetEntry(int32_t index, XString* name, int32_t* flags) override;

private:
    mutable std::mutex presetLock; // guards presets and the fields of every preset
    std::vector<std::unique_ptr<Preset>> presets;
};
