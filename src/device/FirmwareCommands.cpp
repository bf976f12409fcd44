#include "device/FirmwareCommands.h"

#include "device/FirmwareImages.h"
#include "device/FlashEngine.h"
#include "device/IFirmwareUpdateHost.h"
#include "device/UsbLinkManager.h"
#include "platform/PlatformClock.h"

#include <functional>

std::atomic<bool> FirmwareCommandSet::inBootloader{false};

namespace
{
constexpr uint32_t kAfterCommand3Ms = 1000;
constexpr uint32_t kShortWaitMs = 10;
/** The unit restarts into its bootloader within this time. */
constexpr uint32_t kBootloaderRestartMs = 10000;
constexpr uint32_t kAfterExitJobMs = 1001;
/** The unit starts its application within this time. */
constexpr uint32_t kApplicationRestartMs = 23000;

/** A firmware command: its name, title, what it does and when it is enabled. */
class FirmwareCommand final : public XCommand
{
public:
    FirmwareCommand(const char* commandName, const char* commandTitle, std::function<void()> run,
                    std::function<bool()> enabled)
        : XCommand(commandName), title(commandTitle), action(std::move(run)), isEnabled(std::move(enabled))
    {
    }

    void Execute(XMessage*) override { action(); }
    XString GetTitle() override { return title; }
    bool IsEnabled(XMessage*) override { return isEnabled(); }

private:
    XString title;
    std::function<void()> action;
    std::function<bool()> isEnabled;
};

/** Restarts the unit into its bootloader and finds it again there. */
void EnterBootloader(IFirmwareUpdateHost& host, UsbLinkManager& link)
{
    host.SendCommand3();
    PlatformClock::Sleep(kAfterCommand3Ms);
    host.SendEnterBootloader();
    PlatformClock::Sleep(kShortWaitMs);
    host.StopWatching();
    PlatformClock::Sleep(kShortWaitMs);
    FirmwareCommandSet::SetInBootloader(true);
    host.ShowWaitCursor(true);
    link.Close();
    PlatformClock::Sleep(kBootloaderRestartMs);
    link.ScanDevices();
    PlatformClock::Sleep(kShortWaitMs);
    host.ShowWaitCursor(false);
}

/** Leaves the bootloader and finds the restarted unit again. */
void ExitBootloader(IFirmwareUpdateHost& host, FlashEngine& engine, UsbLinkManager& link)
{
    engine.StartExitBootloader();
    PlatformClock::Sleep(kAfterExitJobMs);
    FirmwareCommandSet::SetInBootloader(false);
    host.StopWatching();
    link.Close();
    host.ShowWaitCursor(true);
    PlatformClock::Sleep(kApplicationRestartMs);
    link.ScanDevices();
    PlatformClock::Sleep(kShortWaitMs);
    host.ShowWaitCursor(false);
}

/** Erases the unit's user presets, or says that no unit is connected. */
void EraseUserPresets(IFirmwareUpdateHost& host)
{
    if (!host.IsUnitConnected())
    {
        host.ShowMessage("No Connection...", "There is no unit connected at this time.");
        return;
    }
    host.ShowWaitCursor(true);
    if (host.IsUnitConnected())
        host.EraseUserPresets();
    host.ShowWaitCursor(false);
}
} // namespace

FirmwareCommandSet::FirmwareCommandSet(IFirmwareUpdateHost& host, FlashEngine& engine, UsbLinkManager& link)
{
    const auto inBootloaderOnly = [] { return IsInBootloader(); };
    const auto add = [this](const char* name, const char* title, std::function<void()> run,
                            std::function<bool()> enabled) {
        commands.push_back(
            std::make_unique<FirmwareCommand>(name, title, std::move(run), std::move(enabled)));
    };

    add(
        kEnterBootloader, "Enter Bootloader Mode", [&host, &link] { EnterBootloader(host, link); },
        [] { return !IsInBootloader(); });
    add(
        kEraseFlash, "Erase Flash",
        [&host, &engine]
        {
            if (host.GetSaveUserPreset() != 0)
                engine.StartEraseFlashKeepUserPresets();
            else
                engine.StartEraseFlash();
        },
        inBootloaderOnly);
    const auto upload = [&add, &engine, &inBootloaderOnly](const char* name, const char* title,
                                                           const FirmwareImages::Image& image,
                                                           bool (FlashEngine::*start)(const char*, int))
    {
        add(
            name, title, [&engine, &image, start] { (engine.*start)(image.Data(), image.Size()); },
            inBootloaderOnly);
    };
    upload(kUploadDsp, "Upload DSP", FirmwareImages::DspProgram(), &FlashEngine::StartUploadDsp);
    upload(kUploadFactoryPresets, "Upload Factory Presets", FirmwareImages::FactoryPresets(),
           &FlashEngine::StartUploadFactoryPresets);
    upload(kUploadAmplifierTable, "Upload Amplifier Directory", FirmwareImages::AmplifierTable(),
           &FlashEngine::StartUploadAmplifierTable);
    upload(kUploadAtmel, "Upload Atmel", FirmwareImages::ControllerProgram(), &FlashEngine::StartUploadAtmel);
    add(
        kExitBootloader, "Exit Bootloader Mode",
        [&host, &engine, &link] { ExitBootloader(host, engine, link); }, inBootloaderOnly);
    add(
        kEraseUserPresets, "Erase User Presets", [&host] { EraseUserPresets(host); }, [] { return true; });
}

FirmwareCommandSet::~FirmwareCommandSet() = default;

bool FirmwareCommandSet::RegisterAll()
{
    bool registered = true;
    for (const auto& command : commands)
        registered = command->Register(command->GetName(), kContext, "") && registered;
    return registered;
}

XCommand* FirmwareCommandSet::Find(const char* name) const
{
    for (const auto& command : commands)
        if (command->GetName().CompareNoCase(name) == 0)
            return command.get();
    return nullptr;
}
