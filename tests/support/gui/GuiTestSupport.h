#pragma once

#include "support/TestSupport.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <string>

/** Helpers of the GUI test programs. Their main (GuiTestMain.cpp) starts JUCE's GUI with the
    message manager on the test thread, so tests create windows directly and pump the message loop
    with these helpers. */
namespace GuiTestSupport
{
/** Runs the message loop until condition holds or timeoutMs pass; returns whether it held. */
bool RunLoopUntil(const std::function<bool()>& condition, int timeoutMs);

/** Runs the message loop for ms milliseconds. */
void RunLoopFor(int ms);

/** Takes a picture of what a component shows and writes it as PNG to build/screenshots/<name>.png
    for a person to look at; returns the picture. */
juce::Image TakeScreenshot(juce::Component& component, const std::string& name);

/** The first component below root, depth first, with that name; null when there is none. */
juce::Component* FindNamed(juce::Component& root, const juce::String& name);

/** The first button below root, depth first, that shows that text; null when there is none. */
juce::Button* FindButton(juce::Component& root, const juce::String& text);

/** The top-level window with that title that is on the screen; null when there is none. */
juce::TopLevelWindow* FindShowingWindow(const juce::String& title);

/** Works a modal dialog or progress window while the code under test waits in its modal loop: from
    the next turn of the message loop on, every kPeriodMs, it calls act with the currently modal
    component, when there is one, until act returns true or the driver is destroyed. Message thread
    only. */
class ModalDialogDriver final : private juce::Timer
{
public:
    static constexpr int kPeriodMs = 20;

    explicit ModalDialogDriver(std::function<bool(juce::Component& modal)> act);
    ~ModalDialogDriver() override;

    /** True once act has returned true. */
    bool IsDone() const { return done; }

private:
    void timerCallback() override;

    std::function<bool(juce::Component&)> act;
    bool done = false;
};
} // namespace GuiTestSupport
