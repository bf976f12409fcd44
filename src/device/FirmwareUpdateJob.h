#pragma once

#include "core/XString.h"
#include "device/IReceivePresetHandler.h"

#include <atomic>
#include <cstdint>
#include <functional>

class IFirmwareUpdateHost;
class UsbLinkManager;
class XCommand;

/** The firmware update's run: enters the bootloader, erases, uploads the four images and leaves the
    bootloader by running the firmware commands by name, then, when the user asked for it, saves the
    unit's 20 user presets as "User Preset _%d.qm7" files. Progress counts up to kProgressTotal.

    The window that shows it (FirmwareUpdateWindow) calls Run on its job thread and gets status texts
    and progress through the reporter. The run stops at the first check that finds no unit or a
    flash-engine failure text; success and the error text tell the outcome. While saving the user
    presets the job is the watcher's preset handler: its slots run on the reader thread and hand
    each preset to the job thread through the preset event (an atomic flag). */
class FirmwareUpdateJob final : public IReceivePresetHandler
{
public:
    static constexpr double kProgressTotal = 140.0;
    static constexpr uint32_t kSecondMs = 1000;
    static constexpr uint32_t kEraseIdlePollMs = 10;
    static constexpr uint32_t kUploadIdlePollMs = 100;
    static constexpr uint32_t kAfterIdleMs = 100;
    static constexpr uint32_t kFillStepMs = 100;
    static constexpr int kUserPresetCount = 20;
    /** How long one user preset may take to arrive before the saving gives up. */
    static constexpr uint32_t kPresetWaitMs = 20000;

    /** Reports status texts and progress (0..1) to whoever shows the run. */
    struct Reporter
    {
        std::function<void(const XString&)> status;
        std::function<void(double)> progress;
    };
    /** Finds a command by name (the process-wide command manager's FindCommandByName by default). */
    using CommandFinder = std::function<XCommand*(const char*)>;

    FirmwareUpdateJob(IFirmwareUpdateHost& host, UsbLinkManager& link, Reporter reporter = {},
                      CommandFinder finder = {});
    ~FirmwareUpdateJob() override;

    /** The whole update; on the job thread. With a connected link it first clears the link's
        message text, which may still hold the failure of an earlier device open. */
    void Run();
    /** "No unit connected" without a link, else the link's message text: when not empty, the run
        must stop (error text := it, success := false). */
    bool AbortIfNoUnit();
    /** Reads the user presets 1..20 from the restarted unit and saves the occupied ones. A preset
        that is not saved (it never came, the folder is empty or the write failed) ends the
        saving with success := false and an error text naming it, so the user learns that the
        files are incomplete; the presets themselves stay on the unit. */
    void SaveUserPresets();

    bool IsSuccess() const { return success.load(); }
    XString GetErrorText() const;
    double GetProgress() const { return progress.load(); }

    // IReceivePresetHandler, on the reader thread.
    void PresetInfoReceived(int number, int configuration, XString& name) override;
    void PresetFlagsReceived(int, int) override {}
    void PresetDataReceived() override;

private:
    /** One step: status, the command when registered, the waits of seconds with progress, then the
        wait for the flash job to end. False when the run must stop. */
    bool RunStep(const char* command, const char* status, int seconds, uint32_t idlePollMs);
    void Execute(const char* command);
    void AddProgress(double amount);
    void SignalPresetEvent() { presetEvent.store(true); }
    /** Success := false with the text that names the preset not saved; on the job thread. */
    void ReportUnsavedPreset(int32_t number);

    IFirmwareUpdateHost& host;
    UsbLinkManager& link;
    Reporter reporter;
    CommandFinder findCommand;

    std::atomic<bool> success{true};
    std::atomic<double> progress{0.0};
    XString errorText;  // written by the job thread before the run ends
    XString presetName; // written by the reader thread
    std::atomic<int32_t> presetNumber{0};
    std::atomic<bool> presetEvent{false};
    /** The first preset whose file was not written, 0 while none; set on the reader thread. */
    std::atomic<int32_t> unsavedPreset{0};
};
