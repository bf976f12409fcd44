#include "core/XSmartLock.h"

#include "core/IThreadLock.h"

XSmartLock::XSmartLock(IThreadLock* lockToHold) : lock(lockToHold)
{
    if (lock != nullptr)
    {
        lock->Lock();
        held = true;
    }
}

XSmartLock::~XSmartLock()
{
    if (held && lock != nullptr && lock->IsLocked())
        lock->Unlock();
}
