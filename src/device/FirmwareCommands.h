#pragma once

#include "core/XCommand.h"

#include <atomic>
#include <memory>
#include <vector>

class FlashEngine;
class IFirmwareUpdateHost;
class UsbLinkManager;

/** The firmware commands the update runs by name: entering the bootloader, erasing, the four
    uploads, leaving the bootloader, and erasing the user presets. FirmwareCommandSet creates them,
    owns them and registers them with the process-wide command manager under their names.

    The process-wide "in bootloader" flag enables the erase, upload and leave commands and disables
    the enter command. Execute runs on the caller's thread (the update's job thread) and waits
    through the unit's restarts on the program's clock. */
class FirmwareCommandSet final
{
public:
    static constexpr const char* kEnterBootloader = "EnterBootloaderCmd";
    static constexpr const char* kEraseFlash = "EraseFlashCmd";
    static constexpr const char* kUploadDsp = "UploadDSPCmd";
    static constexpr const char* kUploadFactoryPresets = "UploadFactoryPresetDataCmd";
    static constexpr const char* kUploadAmplifierTable = "UploadAmplifierDataCmd";
    static constexpr const char* kUploadAtmel = "UploadAtmelCmd";
    static constexpr const char* kExitBootloader = "ExitBootloaderCmd";
    static constexpr const char* kEraseUserPresets = "EraseFlashUserPresetsCmd";
    static constexpr const char* kContext = "Firmware";

    /** Creates the eight commands; none is registered yet. */
    FirmwareCommandSet(IFirmwareUpdateHost& host, FlashEngine& engine, UsbLinkManager& link);
    ~FirmwareCommandSet();
    FirmwareCommandSet(const FirmwareCommandSet&) = delete;
    FirmwareCommandSet& operator=(const FirmwareCommandSet&) = delete;

    /** Registers every command with the process-wide command manager; false when there is none. */
    bool RegisterAll();
    /** The command of that name (as the constants above), or null. */
    XCommand* Find(const char* name) const;

    static bool IsInBootloader() { return inBootloader.load(); }
    static void SetInBootloader(bool on) { inBootloader.store(on); }

private:
    std::vector<std::unique_ptr<XCommand>> commands;
    static std::atomic<bool> inBootloader;
};
