#pragma once

class IThreadLock;

/** Holds a lock for the scope of the object: construction locks it, destruction unlocks it when it
    still reports being held. A null lock is allowed and does nothing. Use on one thread only. */
class XSmartLock
{
public:
    explicit XSmartLock(IThreadLock* lock);
    explicit XSmartLock(IThreadLock& lock) : XSmartLock(&lock) {}
    XSmartLock(const XSmartLock&) = delete;
    XSmartLock& operator=(const XSmartLock&) = delete;
    virtual ~XSmartLock();

private:
    IThreadLock* lock;
    bool held = false;
};
