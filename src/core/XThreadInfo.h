#pragma once

#include <cstdint>

/** One record of the thread registry: a thread's name, priority level and system id. Records are
    owned by the registry and never removed. Read and write them under the registry's lock
    (GetThreadRegistry, core/ThreadServices.h). */
struct XThreadInfo
{
    static constexpr int kNameSize = 128;

    /** name is cut to kNameSize - 1 characters and always terminated; null gives "". */
    XThreadInfo(const char* threadName, int32_t priorityLevel, int32_t id);

    char name[kNameSize] = {};
    int32_t level;
    int32_t threadId;
};
