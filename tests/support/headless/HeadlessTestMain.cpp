#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// Runs the tests, then deletes JUCE's shut-down objects (its typeface and font caches among them) as
// the end of a JUCE program does, so that JUCE's leak check at exit names only what a test leaked.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    juce::DeletedAtShutdown::deleteAll();
    return result;
}
