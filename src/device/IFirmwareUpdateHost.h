#pragma once

#include "core/XString.h"

#include <cstdint>

class IReceivePresetHandler;

/** What the firmware update and its commands need of the device watcher and of the application,
    which implements it and hands it to FirmwareCommandSet and FirmwareUpdateJob. The watcher's
    operations keep the watcher's names and meaning; with no watcher they do nothing (and
    IsUnitConnected is false). Called on the update's job thread, PresetDataReceived's saving on
    the connection's reader thread. */
class IFirmwareUpdateHost
{
public:
    virtual ~IFirmwareUpdateHost() = default;

    // The device watcher.
    /** The watcher exists and its connection is connected. */
    virtual bool IsUnitConnected() = 0;
    virtual void SendCommand3(int32_t value) = 0;
    /** Command 11: the unit restarts into its bootloader. */
    virtual void SendEnterBootloader() = 0;
    virtual void StopWatching() = 0;
    virtual void BuildWireIdMaps(bool noTimer) = 0;
    virtual void SendCommand12(int32_t value) = 0;
    virtual void RequestPresetInfo(int presetNumber) = 0;
    virtual void RecallPresetForSaving(unsigned presetNumber) = 0;
    /** Command 18. */
    virtual void EraseUserPresets() = 0;
    virtual void SetPresetHandler(IReceivePresetHandler* handler) = 0;

    // The application.
    /** The application parameter SaveUserPreset (id 125). */
    virtual int GetSaveUserPreset() = 0;
    /** The application parameter SaveUserPresetPath (id 126). */
    virtual XString GetSaveUserPresetPath() = 0;
    virtual bool IsEmptyPresetName(const XString& name) = 0;
    virtual void SyncCompareGroups(bool toLive) = 0;
    /** Writes the application's preset document as a preset file to path (nothing without a
        document). */
    virtual void SavePresetFile(const XString& path) = 0;
    /** Shows or hides the wait cursor. */
    virtual void ShowWaitCursor(bool show) = 0;
    /** A modal OK dialog. */
    virtual void ShowMessage(const XString& title, const XString& text) = 0;
};
