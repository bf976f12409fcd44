#include "support/gui/GuiTestSupport.h"

#include <utility>

namespace GuiTestSupport
{
bool RunLoopUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(timeoutMs);
    while (!condition())
    {
        if (juce::Time::getMillisecondCounter() >= deadline)
            return false;
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    }
    return true;
}

void RunLoopFor(int ms)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(ms);
}

juce::Image TakeScreenshot(juce::Component& component, const std::string& name)
{
    auto picture = component.createComponentSnapshot(component.getLocalBounds(), true, 1.0f);
    const juce::File folder(KRX_SCREENSHOT_DIR);
    folder.createDirectory();
    const auto file = folder.getChildFile(juce::String(name) + ".png");
    file.deleteFile();
    juce::FileOutputStream out(file);
    if (out.openedOk())
        juce::PNGImageFormat().writeImageToStream(picture, out);
    return picture;
}

juce::Component* FindNamed(juce::Component& root, const juce::String& name)
{
    for (juce::Component* child : root.getChildren())
    {
        if (child->getName() == name)
            return child;
        if (juce::Component* inner = FindNamed(*child, name))
            return inner;
    }
    return nullptr;
}

juce::Button* FindButton(juce::Component& root, const juce::String& text)
{
    for (juce::Component* child : root.getChildren())
    {
        if (auto* button = dynamic_cast<juce::Button*>(child);
            button != nullptr && button->getButtonText() == text)
            return button;
        if (juce::Button* inner = FindButton(*child, text))
            return inner;
    }
    return nullptr;
}

juce::TopLevelWindow* FindShowingWindow(const juce::String& title)
{
    for (int index = 0; index < juce::TopLevelWindow::getNumTopLevelWindows(); ++index)
    {
        juce::TopLevelWindow* window = juce::TopLevelWindow::getTopLevelWindow(index);
        if (window != nullptr && window->getName() == title && window->isShowing())
            return window;
    }
    return nullptr;
}

ModalDialogDriver::ModalDialogDriver(std::function<bool(juce::Component& modal)> actIn)
    : act(std::move(actIn))
{
    startTimer(kPeriodMs);
}

ModalDialogDriver::~ModalDialogDriver()
{
    stopTimer();
}

void ModalDialogDriver::timerCallback()
{
    juce::Component* modal = juce::Component::getCurrentlyModalComponent();
    if (modal == nullptr)
        return;
    // Stopped while act runs: a click it makes may run a loop of its own, in which this timer must
    // not fire again.
    stopTimer();
    done = act(*modal);
    if (!done)
        startTimer(kPeriodMs);
}
} // namespace GuiTestSupport
