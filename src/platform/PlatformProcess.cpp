#include "platform/PlatformProcess.h"

#include "platform/PlatformSystemInfo.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
std::string ToSystemPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

/** Sends the error number of a failed step to the waiting parent and ends the process. Only calls
    that are safe between fork and exec. */
[[noreturn]] void ReportAndExit(int errorPipe, int error)
{
    ssize_t written;
    do
        written = write(errorPipe, &error, sizeof error);
    while (written < 0 && errno == EINTR);
    _exit(127);
}

/** Closes every descriptor from 3 on except keep. */
void CloseInheritedDescriptors(int keep)
{
    if (keep > 3)
        close_range(3, static_cast<unsigned>(keep) - 1, 0);
    close_range(static_cast<unsigned>(keep) + 1, UINT_MAX, 0);
}
} // namespace

int PlatformProcess::StartDetached(const std::string& program, const std::string& workingFolder)
{
    if (program.empty())
        return ENOENT;
    // Everything the new processes need is prepared here: between fork and exec nothing may allocate.
    const std::string programPath = ToSystemPath(program);
    const std::string folder = ToSystemPath(workingFolder);
    char* const arguments[] = {const_cast<char*>(programPath.c_str()), nullptr};

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return errno;

    const pid_t intermediate = fork();
    if (intermediate < 0)
    {
        const int error = errno;
        close(errorPipe[0]);
        close(errorPipe[1]);
        return error;
    }
    if (intermediate == 0)
    {
        // A grandchild runs the program, so that it is re-parented and never left as a zombie of ours.
        close(errorPipe[0]);
        const pid_t runner = fork();
        if (runner < 0)
            ReportAndExit(errorPipe[1], errno);
        if (runner > 0)
            _exit(0);
        setsid();
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            ReportAndExit(errorPipe[1], errno);
        CloseInheritedDescriptors(errorPipe[1]);
        execv(programPath.c_str(), arguments);
        ReportAndExit(errorPipe[1], errno);
    }

    close(errorPipe[1]);
    int status = 0;
    while (waitpid(intermediate, &status, 0) < 0 && errno == EINTR)
    {
    }
    // The pipe closes without a word when exec succeeded (close-on-exec); otherwise it carries the error.
    int error = 0;
    ssize_t got;
    do
        got = read(errorPipe[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return error != 0 ? error : ECHILD;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return ECHILD;
    return 0;
}

std::string PlatformProcess::ProgramFolder()
{
    const std::string path = PlatformSystemInfo::ExecutablePath();
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

void PlatformProcess::IgnoreBrokenPipes()
{
    static std::once_flag once;
    std::call_once(once, [] { ::signal(SIGPIPE, SIG_IGN); });
}
