// The editor's entry: JUCE's application main runs the application object, which starts the editor
// in its initialise and lives until the message loop ends.

#include "app/QM7App.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
juce::JUCEApplicationBase* CreateApplication()
{
    return new QM7App();
}
} // namespace

int main(int argc, char* argv[])
{
    juce::JUCEApplicationBase::createInstance = &CreateApplication;
    return juce::JUCEApplicationBase::main(argc, const_cast<const char**>(argv));
}
