#include "gui/JUCEAsyncKeyState.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
JUCEAsyncKeyState& ProcessWideState()
{
    static JUCEAsyncKeyState state;
    return state;
}

int FlagOf(IAsyncKeyState::Key key)
{
    switch (key)
    {
    case IAsyncKeyState::Key::Shift:
        return juce::ModifierKeys::shiftModifier;
    case IAsyncKeyState::Key::Control:
        return juce::ModifierKeys::ctrlModifier;
    case IAsyncKeyState::Key::Alt:
        return juce::ModifierKeys::altModifier;
    case IAsyncKeyState::Key::LeftButton:
        return juce::ModifierKeys::leftButtonModifier;
    case IAsyncKeyState::Key::RightButton:
        return juce::ModifierKeys::rightButtonModifier;
    }
    return 0;
}
} // namespace

bool JUCEAsyncKeyState::IsDown(Key key)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        lastReading.store(juce::ComponentPeer::getCurrentModifiersRealtime().getRawFlags());
    return (lastReading.load() & FlagOf(key)) != 0;
}

void JUCEAsyncKeyState::Install()
{
    InstallAsyncKeyState(&ProcessWideState());
}

void JUCEAsyncKeyState::Uninstall()
{
    if (GetInstalledAsyncKeyState() == &ProcessWideState())
        InstallAsyncKeyState(nullptr);
}
