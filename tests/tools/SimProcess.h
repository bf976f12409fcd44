#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

/** The simulated unit run as a child process by a test, its output going to a file. The process
    is killed when the object goes, if it still runs. */
class SimProcess final
{
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    /** Starts build/bin/krx640-sim with the arguments; extraEnvironment entries ("NAME=value")
        are added to the test's environment. False when the process cannot start. */
    bool Start(const std::vector<std::string>& arguments, const std::string& outputFile,
               const std::vector<std::string>& extraEnvironment = {});

    /** Sends a signal (SIGTERM, SIGKILL, ...). */
    void Signal(int signalNumber);

    /** Waits up to timeoutMs for the process to end; its exit code, 128 + signal when a signal
        ended it, or -1 when it still runs. */
    int WaitForExit(int timeoutMs);

    bool IsRunning();

private:
    pid_t pid = -1;
    int exitCode = -1;
};
