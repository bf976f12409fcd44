#include "support/TestSupport.h"

#include <juce_core/juce_core.h>

#include <chrono>
#include <thread>

namespace TestSupport
{
TempFolder::TempFolder()
{
    // A random name: test processes run in parallel and must never share a folder.
    const auto base = juce::File::getSpecialLocation(juce::File::tempDirectory);
    juce::File folder;
    do
        folder = base.getChildFile("krx640-test-" + juce::String::toHexString(juce::Random().nextInt64()));
    while (folder.exists());
    folder.createDirectory();
    path = folder.getFullPathName().toStdString();
}

TempFolder::~TempFolder()
{
    juce::File(path).deleteRecursively();
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string BinaryPath(const std::string& programName)
{
    return std::string(KRX_BIN_DIR) + "/" + programName;
}
} // namespace TestSupport
