#include "device/ui/FirmwareUpdateWindow.h"

#include "core/XStringConversion.h"

namespace
{
constexpr bool kHasProgressBar = true;
constexpr bool kHasCancelButton = false;
} // namespace

FirmwareUpdateWindow::FirmwareUpdateWindow(IFirmwareUpdateHost& host, UsbLinkManager& link)
    : JobProgressWindow("Updating KRX-640 Firmware", kHasProgressBar, kHasCancelButton, kCancelTimeoutMs),
      job(host, link,
          FirmwareUpdateJob::Reporter{[this](const XString& text) { setStatusMessage(ToJuceString(text)); },
                                      [this](double fraction) { PostProgress(fraction); }})
{
}

FirmwareUpdateWindow::~FirmwareUpdateWindow() = default;

void FirmwareUpdateWindow::run()
{
    job.Run();
}
