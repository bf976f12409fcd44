#include "SimProcess.h"

#include "support/TestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

SimProcess::~SimProcess()
{
    if (IsRunning())
    {
        Signal(SIGKILL);
        WaitForExit(10000);
    }
}

bool SimProcess::Start(const std::vector<std::string>& arguments, const std::string& outputFile,
                       const std::vector<std::string>& extraEnvironment)
{
    const std::string program = TestSupport::BinaryPath("krx640-sim");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry)
        envp.push_back(*entry);
    for (const auto& entry : extraEnvironment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        pid = -1;
    exitCode = -1;
    return result == 0;
}

void SimProcess::Signal(int signalNumber)
{
    if (pid > 0)
        ::kill(pid, signalNumber);
}

int SimProcess::WaitForExit(int timeoutMs)
{
    if (pid <= 0)
        return exitCode;
    TestSupport::WaitUntil(
        [this]
        {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) != pid)
                return false;
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            pid = -1;
            return true;
        },
        timeoutMs);
    return pid > 0 ? -1 : exitCode;
}

bool SimProcess::IsRunning()
{
    return pid > 0 && WaitForExit(0) == -1;
}
