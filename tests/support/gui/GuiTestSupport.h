#pragma once

#include "support/TestSupport.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
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
} // namespace GuiTestSupport
