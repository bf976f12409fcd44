#pragma once

#include "core/XMutex.h"

#include <unordered_set>

class XParam;

/** The process-wide set of parameters that are alive. A parameter change posted across threads (a
    'pmsg' message, XParamMessage) carries a raw parameter pointer; before a handler gets it, the
    pointer is looked up here under GetLock(), and the lock stays held while the handler's
    ParamChanged runs, so that a parameter cannot be destroyed half-way through a delivery. A
    pointer that is not in the set is dropped; a null pointer is delivered as it is.

    The parameter model must Add every parameter when it is made and Remove it at the very start of
    its destruction, before anything of it is torn down. Lock order: a looper's lock, then this lock,
    then whatever ParamChanged takes. So that no new lock order arises, the parameter model either
    uses this lock as its watcher lock, or calls Add and Remove while it holds no other lock.

    A pointer reused by a new parameter at the same address is taken for that parameter. All
    operations are thread-safe. */
class XLiveParamSet final
{
public:
    /** The process's set; created on first use, never destroyed. */
    static XLiveParamSet& Get();

    XLiveParamSet() = default;
    XLiveParamSet(const XLiveParamSet&) = delete;
    XLiveParamSet& operator=(const XLiveParamSet&) = delete;

    void Add(const XParam* param);
    void Remove(const XParam* param);
    /** Whether param is in the set; the answer holds only while the caller holds GetLock(). */
    bool Contains(const XParam* param) const;
    int32_t GetCount() const;

    /** The recursive lock that guards the set. */
    XMutex& GetLock() { return lock; }

private:
    mutable XMutex lock;
    std::unordered_set<const XParam*> params; // guarded by lock
};
