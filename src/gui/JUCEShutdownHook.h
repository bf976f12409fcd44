#pragma once

#include <functional>
#include <juce_events/juce_events.h>

/** A function that runs once when JUCE shuts down its GUI (shutdownJuce_GUI): the hook is one of
    JUCE's shut-down objects (DeletedAtShutdown), which JUCE deletes newest first, so a hook made
    after JUCE's display connection runs before that closes, and every hook runs before JUCE's leak
    check at exit. It frees what the program keeps for its whole run but that holds JUCE objects
    (images, fonts, cursors, components): those must go with JUCE, not at static destruction, when
    JUCE counts them as leaked.

    Add makes a hook that JUCE owns and deletes at shut-down; whoever deletes it earlier runs the
    function then. A hook added after JUCE's shut-down never runs. GUI thread only. */
class JUCEShutdownHook final : private juce::DeletedAtShutdown
{
public:
    static JUCEShutdownHook* Add(std::function<void()> release);
    /** Runs the function. */
    ~JUCEShutdownHook() override;

private:
    explicit JUCEShutdownHook(std::function<void()> releaseIn);

    std::function<void()> release;

    JUCE_DECLARE_NON_COPYABLE(JUCEShutdownHook)
};
