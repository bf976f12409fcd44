#pragma once

#include "gui/SkinLookAndFeel.h"

#include <atomic>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** JUCE's thread-with-progress window as the program's job windows use it: drawn in the skin's look,
    and with the progress value handed from the job thread to the message thread.

    JUCE's progress bar reads the window's progress value on the message thread while it is drawn,
    so the job thread never writes that value itself: PostProgress stores the fraction in an atomic
    that a timer on the message thread copies into the window. Derived windows call PostProgress,
    never setProgress. Built, run and destroyed on the message thread; the job thread has ended by
    the time the derived window's members go (runThread waits for it, and the destructor stops it). */
class JobProgressWindow : public juce::ThreadWithProgressWindow
{
public:
    /** How often the message thread takes the posted progress. */
    static constexpr int kProgressRelayMs = 50;

    JobProgressWindow(const juce::String& title, bool hasProgressBar, bool hasCancelButton,
                      int cancelTimeoutMs);
    ~JobProgressWindow() override;

protected:
    /** Any thread: the bar moves to fraction at the message thread's next look. */
    void PostProgress(double fraction);

private:
    class ProgressRelay;

    // Only the relay writes the value that the bar reads.
    using juce::ThreadWithProgressWindow::setProgress;

    const int cancelTimeoutMs;
    SkinLookAndFeel look;
    std::atomic<double> postedProgress{0.0};
    std::unique_ptr<ProgressRelay> relay;
};
