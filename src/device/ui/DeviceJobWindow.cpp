#include "device/ui/DeviceJobWindow.h"

#include "core/XStringConversion.h"

DeviceJobWindow::DeviceJobWindow(IDeviceJob& job)
    : JobProgressWindow(job.GetWindowStyle().title, job.GetWindowStyle().hasProgressBar,
                        job.GetWindowStyle().hasCancelButton, job.GetWindowStyle().cancelTimeoutMs),
      job(job)
{
}

DeviceJobWindow::~DeviceJobWindow() = default;

void DeviceJobWindow::run()
{
    job.Run(*this);
}

bool DeviceJobWindow::RunJob(IDeviceJob& job)
{
    {
        DeviceJobWindow window(job);
        window.runThread(juce::Thread::Priority::normal);
    }
    const XString failure = job.GetFailureText();
    if (failure.IsEmpty())
        return true;
    juce::AlertWindow::showMessageBoxAsync(juce::MessageBoxIconType::WarningIcon,
                                           juce::String::fromUTF8(job.GetWindowStyle().title).trim(),
                                           ToJuceString(failure));
    return false;
}

void DeviceJobWindow::SetProgress(double fraction)
{
    PostProgress(fraction);
}

void DeviceJobWindow::SetStatusMessage(const XString& text)
{
    setStatusMessage(ToJuceString(text));
}

bool DeviceJobWindow::ShouldExit()
{
    return threadShouldExit();
}
