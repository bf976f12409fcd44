#pragma once

#include "core/XString.h"

#include <cstdint>

class IReceivePresetHandler;

/** What the firmware update and its commands need of the device watcher and of the application,
    which implements it (the watcher's half through WatcherFirmwareUpdateHost) and hands it to
    FirmwareCommandSet and FirmwareUpdateJob. With no watcher the watcher's operations do nothing
    (and IsUnitConnected is false). Called on the update's job thread; while the user presets are
    saved, the preset handler's slots call IsUnitConnected, IsEmptyPresetName, RecallPresetForSaving,
    SyncCompareGroups, GetSaveUserPresetPath and SavePresetFile on the connection's reader thread. */
class IFirmwareUpdateHost
{
public:
    virtual ~IFirmwareUpdateHost() = default;

    // The device watcher (DeviceCommWatcher's operations of the same names).
    /** The watcher exists and its connection is connected. */
    virtual bool IsUnitConnected() = 0;
    /** Command 3 with the value 0, the only value the unit is sent. */
    virtual void SendCommand3() = 0;
    /** Command 11 (0): the unit restarts into its bootloader. */
    virtual void SendEnterBootloader() = 0;
    /** Stops watching the mapped parameters and clears firmware OK, unit mode, maps built and
        awaiting device info; the maps keep their entries and the sender's timer keeps running. */
    virtual void StopWatching() = 0;
    /** Maps the parameters to their wire ids again; noTimer leaves the 100 ms sender's timer
        unset (one set earlier keeps running). */
    virtual void BuildWireIdMaps(bool noTimer) = 0;
    virtual void SendCommand12(int32_t value) = 0;
    /** Command 13; the unit's answer goes to the preset handler's PresetInfoReceived. */
    virtual void RequestPresetInfo(int presetNumber) = 0;
    /** Command 19: the unit sends the preset's values as a compare answer, after which the preset
        handler's PresetDataReceived runs. Sets QM7\confirmchangelistenmode to 0 first; waits
        1000 ms after sending and then sends command 12 (0). */
    virtual void RecallPresetForSaving(unsigned presetNumber) = 0;
    /** Command 18: the unit erases its user presets. */
    virtual void EraseUserPresets() = 0;
    /** The job that gets the preset replies (null: none). Waits for a reply being handed to the
        previous handler, so never call it while holding a lock that the handler's slots take. */
    virtual void SetPresetHandler(IReceivePresetHandler* handler) = 0;

    // The application.
    /** The application parameter SaveUserPreset (id 125). */
    virtual int GetSaveUserPreset() = 0;
    /** The application parameter SaveUserPresetPath (id 126). */
    virtual XString GetSaveUserPresetPath() = 0;
    virtual bool IsEmptyPresetName(const XString& name) = 0;
    /** toLive: the compare copies, which hold the preset just received, become the live values
        that the preset document writes. */
    virtual void SyncCompareGroups(bool toLive) = 0;
    /** Writes the application's preset document as a preset file to path, the folder and the
        file name joined by a backslash. False when nothing was written (no document, or the write
        failed). */
    virtual bool SavePresetFile(const XString& path) = 0;
    /** Shows or hides the wait cursor. */
    virtual void ShowWaitCursor(bool show) = 0;
    /** A modal OK dialog. */
    virtual void ShowMessage(const XString& title, const XString& text) = 0;
};
