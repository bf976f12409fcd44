#pragma once

#include "core/XMutex.h"
#include "core/XSmartLock.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

/** A typed signal: slots connected to it are called in order of connection with the arguments of
    every Emit.

    Thread-safe: the signal's own recursive lock is held while slots are called, so once Disconnect
    returns on one thread the slot no longer runs on another, and a slot may connect or disconnect
    (itself or others) during an emit: a slot disconnected meanwhile is not called, one connected
    meanwhile waits for the next emit. A slot must not wait for a thread that emits the same
    signal. */
template <typename... Args> class XSignal
{
public:
    using Slot = std::function<void(Args...)>;

    XSignal() = default;
    XSignal(const XSignal&) = delete;
    XSignal& operator=(const XSignal&) = delete;

    /** Returns the connection's id (> 0), the handle for Disconnect; 0 for an empty slot. */
    int32_t Connect(Slot slot)
    {
        if (!slot)
            return 0;
        XSmartLock hold(lock);
        const int32_t id = ++lastId;
        slots.emplace_back(id, std::move(slot));
        return id;
    }

    /** Unknown ids do nothing. */
    void Disconnect(int32_t id)
    {
        XSmartLock hold(lock);
        for (auto it = slots.begin(); it != slots.end(); ++it)
        {
            if (it->first == id)
            {
                slots.erase(it);
                return;
            }
        }
    }

    void DisconnectAll()
    {
        XSmartLock hold(lock);
        slots.clear();
    }

    int32_t GetConnectionCount() const
    {
        XSmartLock hold(lock);
        return static_cast<int32_t>(slots.size());
    }

    void Emit(Args... args) const
    {
        XSmartLock hold(lock);
        if (slots.empty())
            return;
        const int32_t newestAtStart = lastId;
        // Walk by id so that slots may change the list while they run.
        int32_t after = 0;
        for (;;)
        {
            Slot slot = NextSlotAfter(after, newestAtStart);
            if (!slot)
                return;
            slot(args...);
        }
    }

private:
    /** The first slot with an id above after and not above newest; after becomes its id. Ids grow
        with connection order, so the list stays sorted by id. */
    Slot NextSlotAfter(int32_t& after, int32_t newest) const
    {
        for (const auto& entry : slots)
        {
            if (entry.first > after && entry.first <= newest)
            {
                after = entry.first;
                return entry.second;
            }
        }
        return Slot();
    }

    mutable XMutex lock;
    int32_t lastId = 0;                          // guarded by lock
    std::vector<std::pair<int32_t, Slot>> slots; // guarded by lock; ascending id
};
