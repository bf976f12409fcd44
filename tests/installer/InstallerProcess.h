#pragma once

#include <string>
#include <utility>
#include <vector>

/** Runs the built driver installer as a child process with a clean set of its environment
    variables (only those given are set) in a chosen working folder, and collects its standard
    output byte for byte. */
namespace InstallerProcess
{
using Environment = std::vector<std::pair<std::string, std::string>>;

struct Result
{
    bool started = false;
    bool finished = false;
    std::string output;
    int exitCode = -1;
};

/** Runs to the end (or kills the program after timeoutMs). Empty arguments cannot be passed. */
Result Run(const std::vector<std::string>& arguments, const Environment& environment,
           const std::string& workingFolder, int timeoutMs = 60000);

/** Starts the program, reads exactly expectedPrefix.size() bytes of its output and reports in
    stillRunning whether it had not yet ended once they arrived; the program is then killed. */
Result ReadPrefixThenKill(const std::vector<std::string>& arguments, const Environment& environment,
                          const std::string& workingFolder, const std::string& expectedPrefix,
                          bool& stillRunning);

/** Writes text to path, replacing it; empty text removes the file. */
void WriteFile(const std::string& path, const std::string& text);
/** The whole content of path, "" when it cannot be read. */
std::string ReadFile(const std::string& path);
} // namespace InstallerProcess
