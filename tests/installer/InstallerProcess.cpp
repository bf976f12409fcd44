#include "InstallerProcess.h"

#include "support/TestSupport.h"

#include <juce_core/juce_core.h>

namespace InstallerProcess
{
namespace
{
constexpr const char* kEnvProgram = "/usr/bin/env";
constexpr const char* kInstallerVariables[] = {
    "KRX640_SETUP_SIM",      "KRX640_SETUP_SIM_LOG", "KRX640_TIME_SCALE", "KRX640_SYSFS_USB_DIR",
    "KRX640_UDEV_RULES_DIR", "KRX640_DRIVER_STORE",  "KRX640_UDEVADM"};
constexpr int kReadChunkBytes = 4096;

bool Start(juce::ChildProcess& process, const std::vector<std::string>& arguments,
           const Environment& environment, const std::string& workingFolder)
{
    juce::StringArray command{kEnvProgram, "-C", juce::String(workingFolder)};
    for (const char* name : kInstallerVariables)
        command.addArray({"-u", name});
    for (const auto& [name, value] : environment)
        command.add(juce::String(name) + "=" + juce::String::fromUTF8(value.c_str()));
    command.add(juce::String(TestSupport::BinaryPath("KRX640DriverInstaller")));
    for (const auto& argument : arguments)
        command.add(juce::String::fromUTF8(argument.c_str()));
    return process.start(command, juce::ChildProcess::wantStdOut);
}
} // namespace

Result Run(const std::vector<std::string>& arguments, const Environment& environment,
           const std::string& workingFolder, int timeoutMs)
{
    Result result;
    juce::ChildProcess process;
    result.started = Start(process, arguments, environment, workingFolder);
    if (!result.started)
        return result;
    char chunk[kReadChunkBytes];
    for (int length; (length = process.readProcessOutput(chunk, kReadChunkBytes)) > 0;)
        result.output.append(chunk, static_cast<size_t>(length));
    result.finished = process.waitForProcessToFinish(timeoutMs);
    if (!result.finished)
    {
        process.kill();
        process.waitForProcessToFinish(timeoutMs);
        return result;
    }
    result.exitCode = static_cast<int>(process.getExitCode());
    return result;
}

Result ReadPrefixThenKill(const std::vector<std::string>& arguments, const Environment& environment,
                          const std::string& workingFolder, const std::string& expectedPrefix,
                          bool& stillRunning)
{
    Result result;
    stillRunning = false;
    juce::ChildProcess process;
    result.started = Start(process, arguments, environment, workingFolder);
    if (!result.started)
        return result;
    std::string prefix(expectedPrefix.size(), '\0');
    const int length = process.readProcessOutput(prefix.data(), static_cast<int>(prefix.size()));
    result.output = prefix.substr(0, static_cast<size_t>(std::max(length, 0)));
    stillRunning = process.isRunning();
    process.kill();
    process.waitForProcessToFinish(60000);
    return result;
}

void WriteFile(const std::string& path, const std::string& text)
{
    juce::File(path).replaceWithData(text.data(), text.size());
}

std::string ReadFile(const std::string& path)
{
    juce::MemoryBlock content;
    if (!juce::File(path).loadFileAsData(content))
        return {};
    return std::string(static_cast<const char*>(content.getData()), content.getSize());
}
} // namespace InstallerProcess
