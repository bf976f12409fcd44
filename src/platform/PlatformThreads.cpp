#include "platform/PlatformThreads.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{
constexpr int kIdleNice = 19;
constexpr int kTimeCriticalNice = -20;
constexpr int kNicePerPriorityStep = 5;
constexpr int32_t kIdlePriority = -15;
constexpr int32_t kTimeCriticalPriority = 15;
constexpr int32_t kBandLimit = 2; // normal priorities lie in -2 .. 2; beyond are the special bands
} // namespace

int32_t PlatformThreads::CurrentThreadId()
{
    return static_cast<int32_t>(::syscall(SYS_gettid));
}

int32_t PlatformThreads::CurrentProcessId()
{
    return static_cast<int32_t>(::getpid());
}

PlatformThreads::PriorityClass PlatformThreads::GetProcessPriorityClass()
{
    const int policy = ::sched_getscheduler(0);
    if (policy == SCHED_FIFO || policy == SCHED_RR)
        return PriorityClass::realtime;
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    if (errno == 0 && nice < 0)
        return PriorityClass::high;
    return PriorityClass::normal;
}

int PlatformThreads::NiceValueFor(int32_t systemPriority)
{
    if (systemPriority <= kIdlePriority + 1)
        return kIdleNice;
    if (systemPriority >= kTimeCriticalPriority - 1)
        return kTimeCriticalNice;
    const int32_t band = std::clamp(systemPriority, -kBandLimit, kBandLimit);
    return -band * kNicePerPriorityStep;
}

bool PlatformThreads::SetCurrentThreadPriority(int32_t systemPriority)
{
    const int nice = NiceValueFor(systemPriority);
    // On Linux a thread id addresses the one thread; an unprivileged raise fails with EACCES.
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(CurrentThreadId()), nice) == 0;
}

int PlatformThreads::GetCurrentThreadNiceValue()
{
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(CurrentThreadId()));
    return errno == 0 ? nice : 0;
}

bool PlatformThreads::ListThreads(int32_t processId, std::vector<int32_t>& ids)
{
    ids.clear();
    const std::string folder = "/proc/" + std::to_string(processId) + "/task";
    DIR* tasks = ::opendir(folder.c_str());
    if (tasks == nullptr)
        return false;
    while (const dirent* entry = ::readdir(tasks))
    {
        char* end = nullptr;
        const long id = std::strtol(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == 0 && id > 0)
            ids.push_back(static_cast<int32_t>(id));
    }
    ::closedir(tasks);
    std::sort(ids.begin(), ids.end());
    return true;
}

void PlatformThreads::ExitCurrentThread()
{
    ::pthread_exit(nullptr);
}
