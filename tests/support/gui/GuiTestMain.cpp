#include "platform/DisplayPreparer.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Starts JUCE's GUI on the test thread (which becomes the message thread), then runs the tests.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    DisplayPreparer::Prepare();
    juce::ScopedJuceInitialiser_GUI gui;
    return RUN_ALL_TESTS();
}
