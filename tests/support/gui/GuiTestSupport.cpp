#include "support/gui/GuiTestSupport.h"

#include <algorithm>
#include <cmath>
#include <map>
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

double ContrastRatio(juce::Colour a, juce::Colour b)
{
    const auto luminance = [](juce::Colour c)
    {
        const auto linear = [](juce::uint8 v)
        {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.getRed()) + 0.7152 * linear(c.getGreen()) + 0.0722 * linear(c.getBlue());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double TextContrast(juce::Component& control)
{
    juce::Component* window = control.getTopLevelComponent();
    const juce::Image shown = window->createComponentSnapshot(window->getLocalArea(&control, control.getLocalBounds()));
    std::map<juce::uint32, int> counts;
    for (int y = 0; y < shown.getHeight(); ++y)
        for (int x = 0; x < shown.getWidth(); ++x)
            ++counts[shown.getPixelAt(x, y).getARGB()];
    if (counts.empty())
        return 1.0;
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    const juce::Colour background(most->first);
    double best = 1.0;
    for (const auto& entry : counts)
        best = std::max(best, ContrastRatio(juce::Colour(entry.first), background));
    return best;
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
