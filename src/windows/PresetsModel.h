#pragma once

#include "device/GlobalParamTables.h"
#include "windows/FPModel.h"

#include <cstdint>

/** The presets table's model: one row per entry of the PresetsManager (row r is preset r + 1) with
    the Locked and Visible toggles, the location, the name and the configuration. A toggle writes the
    preset's flag word at once, sends it to the unit, and, for the unit's current preset, asks the
    unit for the flags back and re-applies the lock mode to every region.

    Entries are read and written through the PresetsManager's entry operations, as the link's reader
    thread writes the list too. The window owns the model; it outlives its table. GUI thread only. */
class PresetsModel final : public FPModel
{
public:
    /** Column ids. */
    static constexpr int kColumnVisible = 1;
    static constexpr int kColumnLocked = 2;
    static constexpr int kColumnLocation = 3;
    static constexpr int kColumnName = 4;
    static constexpr int kColumnConfig = 5;

    /** Preset flag bits. */
    static constexpr int32_t kPresetLocked = 4;
    static constexpr int32_t kPresetHidden = 8;

    /** Main group id of the unit's current preset. */
    static constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
    static constexpr const char* kLockModePath = "QM7\\currentPresetLockMode";

    /** The five columns in their order: Locked, Visible, Location, Name, Config. */
    static void AddColumns(juce::TableListBox& table);

    int getNumRows() override;
    void paintCell(juce::Graphics& g, int row, int columnId, int width, int height, bool selected) override;
    /** Columns 1 and 2 get their toggle (reused when handed back), set from the preset's flags
        without telling the model; other columns have none. */
    juce::Component* refreshComponentForCell(int row, int columnId, bool selected,
                                             juce::Component* existing) override;
    /** Visible switched: flag 8 := not on; Locked switched: flag 4 := on. */
    void SetCellFlag(int row, int columnId, bool on) override;

    /** Sets or clears bit in the flags of the preset of row, sends the flag word (command 15), and
        when the preset is the unit's current one asks for its flags back (command 14) and
        re-applies the lock mode; then tells the lock mode's watchers to refresh. */
    static void SetPresetFlag(int row, int32_t bit, bool set);
};
