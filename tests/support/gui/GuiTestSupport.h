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

/** The contrast ratio of two opaque colours by their relative luminance: 1 (none) to 21. */
double ContrastRatio(juce::Colour a, juce::Colour b);

/** How clearly a control's text stands out as its window shows it: the highest contrast ratio of any
    pixel of the control's area against the colour most of that area has (its background). */
double TextContrast(juce::Component& control);

/** The first component below root, depth first, with that name; null when there is none. */
juce::Component* FindNamed(juce::Component& root, const juce::String& name);

/** The first button below root, depth first, that shows that text; null when there is none. */
juce::Button* FindButton(juce::Component& root, const juce::String& text);

/** The top-level window with that title that is on the screen; null when there is none. */
juce::TopLevelWindow* FindShowingWindow(const juce::String& title);

/** Mouse events sent through a window's peer as the display would send them: each one 20 ms after
    the one before, the message loop run for 5 ms after each. The window must be on the desktop. */
class PeerMouse final
{
public:
    static constexpr int kEventSpacingMs = 20;
    static constexpr int kSettleMs = 5;

    explicit PeerMouse(juce::Component& window) : window(window) {}

    /** One event at a point of the window with these buttons and keys held; none held is a move,
        or a release after a press. */
    void Send(juce::Point<int> point, juce::ModifierKeys mods)
    {
        eventTime += kEventSpacingMs;
        // The display's own events (enter, leave, motion of the real pointer) carry these as the held
        // buttons: set them as a real event would, so that such an event in the middle of a drag is
        // not taken for a release.
        juce::ModifierKeys::currentModifiers = mods;
        window.getPeer()->handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, point.toFloat(),
                                           mods, juce::MouseInputSource::defaultPressure,
                                           juce::MouseInputSource::defaultOrientation, eventTime);
        RunLoopFor(kSettleMs);
    }

    /** One event at a point of a component inside the window. */
    void Send(juce::Component& inside, juce::Point<int> point, juce::ModifierKeys mods)
    {
        Send(window.getLocalPoint(&inside, point), mods);
    }

    /** Puts the next event ms later, e.g. so that a press after a click is no double click. */
    void Wait(int ms) { eventTime += ms; }

private:
    juce::Component& window;
    juce::int64 eventTime = juce::Time::currentTimeMillis();
};

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
