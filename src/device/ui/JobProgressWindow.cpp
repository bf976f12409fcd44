#include "device/ui/JobProgressWindow.h"

/** Copies the posted progress into the window on the message thread. */
class JobProgressWindow::ProgressRelay final : public juce::Timer
{
public:
    explicit ProgressRelay(JobProgressWindow& owner) : owner(owner) { startTimer(kProgressRelayMs); }
    ~ProgressRelay() override { stopTimer(); }

    void timerCallback() override { owner.setProgress(owner.postedProgress.load()); }

private:
    JobProgressWindow& owner;
};

JobProgressWindow::JobProgressWindow(const juce::String& title, bool hasProgressBar, bool hasCancelButton,
                                     int cancelTimeoutMs)
    : juce::ThreadWithProgressWindow(title, hasProgressBar, hasCancelButton, cancelTimeoutMs),
      cancelTimeoutMs(cancelTimeoutMs), relay(std::make_unique<ProgressRelay>(*this))
{
    getAlertWindow()->setLookAndFeel(&look);
}

JobProgressWindow::~JobProgressWindow()
{
    // The job thread may still post while it is stopped; the alert window must not outlive its look.
    stopThread(cancelTimeoutMs);
    relay.reset();
    getAlertWindow()->setLookAndFeel(nullptr);
}

void JobProgressWindow::PostProgress(double fraction)
{
    postedProgress.store(fraction);
}
