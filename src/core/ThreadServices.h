#pragma once

#include "core/ObjectArray.h"
#include "core/XThreadInfo.h"
#include "platform/PlatformThreads.h"

#include <cstdint>
#include <functional>
#include <thread>

class LongArray;

/** The framework's thread services: the process-wide thread registry, named-thread start, the
    priority-level table, sleeping and thread ids. Thread ids are the system's (never 0). */

/** Entry of a plain thread started with StartNamedThread. */
using XThreadFunction = uint32_t (*)(void* argument);

/** The process's normal priority level (the application looper, the "Main" record). */
constexpr int32_t kNormalThreadLevel = 3;

/** The registry of every thread the framework started, first the "Main" record once any thread has
    been started. Records are never removed. The registry is shared by all threads: hold its lock
    (XSmartLock on it) while reading it or its records. It is never destroyed. */
ObjectArray<XThreadInfo>& GetThreadRegistry();

/** Once per process: records the calling thread as the main thread and puts the record "Main" with
    level 3 at index 0 of the registry. Later calls do nothing. */
void RegisterMainThread();
/** The thread id recorded by RegisterMainThread; 0 before. */
int32_t GetMainThreadId();

/** The system thread priority of a priority level 0..6 for a process priority class (any other
    level gives 0). */
int32_t MapThreadPriorityForClass(int32_t level, PlatformThreads::PriorityClass priorityClass);
/** As MapThreadPriorityForClass with the class of this process. */
int32_t MapThreadPriority(int32_t level);

/** Starts function(argument) on a new thread with the priority of level and adds the record {name,
    level, id} to the registry. Returns the new thread's id; 0 (and a record with id 0) when no
    thread could be made or function is null. */
int32_t StartNamedThread(XThreadFunction function, int32_t level, void* argument, const char* name);

/** Sleeps the calling thread for ms milliseconds of the platform clock; negative counts as 0.
    Returns 0. */
int32_t XSleep(int32_t ms);

/** The calling thread's id. */
int32_t CurrentThreadId();
bool IsCurrentThread(int32_t id);

/** Ends the calling thread (exit code 0) when id is its own id; otherwise returns 0x80000001 and
    does nothing. The thread's stack is unwound, so destructors of its objects run. */
int32_t ExitCurrentThread(int32_t id);

/** Empties ids, then appends the id of every thread of the process. 0 on success, -1 when the
    process's thread list cannot be read. */
int32_t ListProcessThreads(int32_t processId, LongArray& ids);

/** Creates a thread that takes the given system priority, then reports its id to onStarted (called
    on the calling thread while the new thread waits), and only after onStarted returns runs body.
    The std::thread goes to handle, or is detached when handle is null. Returns the new thread's id,
    0 when no thread could be made (onStarted is then not called). Used by XThread and
    StartNamedThread. */
int32_t LaunchThread(int32_t systemPriority, std::function<void()> body,
                     const std::function<void(int32_t threadId)>& onStarted, std::thread* handle);
