#pragma once

#include <cstdint>
#include <vector>

/** The operating-system side of threads: system thread ids, the thread list of a process, the
    process's priority class and per-thread priorities.

    Priorities are best effort: a system priority (the framework's scale, -15 idle .. 15 time
    critical) becomes a nice value of the calling thread; an unprivileged process can only lower its
    threads' priority, and a refusal is ignored. All functions are thread-safe. */
class PlatformThreads final
{
public:
    enum class PriorityClass
    {
        normal,
        high,
        realtime
    };

    /** The system id of the calling thread (never 0). */
    static int32_t CurrentThreadId();
    static int32_t CurrentProcessId();

    /** realtime under a real-time scheduling policy, high when the process runs at a raised
        priority (negative nice), else normal. */
    static PriorityClass GetProcessPriorityClass();

    /** The nice value that stands for a system priority: 0 for 0, lower values for higher
        priorities, 19 for idle, -20 for time critical. */
    static int NiceValueFor(int32_t systemPriority);
    /** Sets the calling thread's nice value from a system priority; returns whether it took. */
    static bool SetCurrentThreadPriority(int32_t systemPriority);
    static int GetCurrentThreadNiceValue();

    /** Replaces ids with the ids of every thread of the process; false when the process's thread list
        cannot be read. */
    static bool ListThreads(int32_t processId, std::vector<int32_t>& ids);

    /** Ends the calling thread at once; the C++ stack is unwound so destructors run. */
    [[noreturn]] static void ExitCurrentThread();

    PlatformThreads() = delete;
};
