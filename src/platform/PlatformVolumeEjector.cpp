#include "platform/PlatformVolumeEjector.h"

#include "platform/PlatformFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
constexpr char kTool[] = "udisksctl";

std::string NormalisedMountPoint(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path.empty() ? std::string("/") : path;
}

int32_t ToolResult(int status)
{
    return status == 0 ? PlatformVolumeEjector::kOk
                       : (status < 0 ? PlatformVolumeEjector::kNoTool : PlatformVolumeEjector::kFailed);
}
} // namespace

int32_t PlatformVolumeEjector::FindDevice(const std::string& mountPoint, std::string& device)
{
    std::ifstream table("/proc/self/mounts");
    const std::string text((std::istreambuf_iterator<char>(table)), std::istreambuf_iterator<char>());
    const std::string wanted = NormalisedMountPoint(mountPoint);
    for (const PlatformFileSystem::MountEntry& entry : PlatformFileSystem::ParseMountTable(text))
    {
        if (entry.mountPoint == wanted && entry.device.rfind("/dev/", 0) == 0)
        {
            device = entry.device;
            return kOk;
        }
    }
    return kFailed;
}

int32_t PlatformVolumeEjector::Unmount(const std::string& device)
{
    return ToolResult(RunTool(kTool, "unmount", "-b", device.c_str()));
}

int32_t PlatformVolumeEjector::PowerOff(const std::string& device)
{
    return ToolResult(RunTool(kTool, "power-off", "-b", device.c_str()));
}

PlatformVolumeEjector& PlatformVolumeEjector::System()
{
    static PlatformVolumeEjector ejector;
    return ejector;
}

int PlatformVolumeEjector::RunTool(const char* program, const char* firstArgument, const char* secondArgument,
                                   const char* thirdArgument)
{
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return -1;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* arguments[] = {const_cast<char*>(program), const_cast<char*>(firstArgument),
                         const_cast<char*>(secondArgument), const_cast<char*>(thirdArgument), nullptr};
    pid_t child = 0;
    const int started = posix_spawnp(&child, program, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
    {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
