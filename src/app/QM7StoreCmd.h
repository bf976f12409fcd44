#pragma once

#include "core/XCommand.h"
#include "device/GlobalParamTables.h"

#include <cstdint>

/** "Store Preset...": stores the unit's current settings into a user preset. The user chooses the
    location (1..20) in the store dialog; a location that holds a preset is overwritten only after
    a second question. After a Yes in the store dialog the unit's listen mode returns to 0 (live),
    whether or not anything was stored. GUI thread; registered by the application. */
class QM7StoreCmd final : public XCommand
{
public:
    static constexpr const char* kName = "storePresetCmd";
    static constexpr const char* kTitle = "Store Preset...";
    static constexpr const char* kDialogText = " ";
    static constexpr const char* kOverwriteTitle = "Warning ";
    static constexpr const char* kOverwriteText = "This will overwrite existing data.  Are you sure?";
    /** Main group ids: the location the store dialog edits, the unit's current preset, its listen
        mode. */
    static constexpr int32_t kStoreMemLocationId = GlobalParamTables::kStoreMemLocationId;
    static constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
    static constexpr int32_t kListenModeId = GlobalParamTables::kListenModeId;
    /** The pause after the listen mode is set. */
    static constexpr uint32_t kSettleMs = 100;

    void Execute(XMessage* request) override;
    XString GetTitle() override { return kTitle; }
    bool IsEnabled(XMessage* request) override { return true; }

    /** The store dialog, the overwrite question and the store request (command 10); true when a
        store request was sent. Needs a connected unit. */
    bool StoreFlow();
};
