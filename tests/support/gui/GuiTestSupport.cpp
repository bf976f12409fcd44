#include "support/gui/GuiTestSupport.h"

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
} // namespace GuiTestSupport
