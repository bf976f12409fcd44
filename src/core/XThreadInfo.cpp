#include "core/XThreadInfo.h"

#include <cstring>

XThreadInfo::XThreadInfo(const char* threadName, int32_t priorityLevel, int32_t id)
    : level(priorityLevel), threadId(id)
{
    if (threadName != nullptr)
        std::strncpy(name, threadName, kNameSize - 1);
}
