#pragma once

/** The lock interface of the framework: a lock that the owning thread may take again (recursive).
    XMutex implements it; the containers and byte buffers derive from it so that callers sharing one
    between threads can bracket their use with Lock/Unlock or an XSmartLock. */
class IThreadLock
{
public:
    virtual ~IThreadLock() = default;

    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    /** A hint: true while some thread holds the lock. */
    virtual bool IsLocked() const = 0;
};
