#pragma once

#include <atomic>
#include <cstdint>

/** A base for objects shared by reference count: the count starts at 1 and the owner that drops it
    to 0 deletes the object. The count is atomic. */
class XRefCountObject
{
public:
    XRefCountObject() = default;
    XRefCountObject(const XRefCountObject&) = delete;
    XRefCountObject& operator=(const XRefCountObject&) = delete;
    virtual ~XRefCountObject() = default;

    /** Adds one reference; returns the new count. */
    int32_t AddRef() { return refCount.fetch_add(1) + 1; }
    /** Drops one reference and deletes the object at 0; returns the new count. */
    int32_t Release()
    {
        const int32_t remaining = refCount.fetch_sub(1) - 1;
        if (remaining == 0)
            delete this;
        return remaining;
    }
    int32_t GetRefCount() const { return refCount.load(); }

private:
    std::atomic<int32_t> refCount{1};
};
