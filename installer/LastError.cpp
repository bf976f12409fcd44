#include "LastError.h"

namespace
{
thread_local uint32_t lastErrorOfThisThread = 0;
} // namespace

uint32_t LastError::Get()
{
    return lastErrorOfThisThread;
}

void LastError::Set(uint32_t code)
{
    lastErrorOfThisThread = code;
}
