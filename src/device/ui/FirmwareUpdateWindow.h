#pragma once

#include "device/FirmwareUpdateJob.h"
#include "device/ui/JobProgressWindow.h"

class IFirmwareUpdateHost;
class UsbLinkManager;

/** The firmware update's progress window, "Updating KRX-640 Firmware", with a bar and no cancel
    button; its thread runs a FirmwareUpdateJob. The application runs it modally
    (runThread) and then reads IsSuccess and GetErrorText. The host and the link must outlive it. */
class FirmwareUpdateWindow final : public JobProgressWindow
{
public:
    static constexpr int kCancelTimeoutMs = 10000;

    FirmwareUpdateWindow(IFirmwareUpdateHost& host, UsbLinkManager& link);
    ~FirmwareUpdateWindow() override;

    void run() override;

    bool IsSuccess() const { return job.IsSuccess(); }
    XString GetErrorText() const { return job.GetErrorText(); }
    FirmwareUpdateJob& GetJob() { return job; }

private:
    FirmwareUpdateJob job;
};
