#pragma once

#include <cstdint>

/** The base of objects that the process keeps a record of while they live (the skin resource
    manager is one): construction registers the object at the front of a process-wide list,
    destruction removes it. The list never deletes what it holds; what remains in it at exit is
    left to its owners. Thread-safe: the list has its own lock. */
class IAutoDestroy
{
public:
    IAutoDestroy();
    IAutoDestroy(const IAutoDestroy&) = delete;
    IAutoDestroy& operator=(const IAutoDestroy&) = delete;
    virtual ~IAutoDestroy();
};

/** Number of registered objects. */
int32_t CountAutoDestroyObjects();
/** The registered object at index, the newest at 0; null past the end. Only meaningful while no
    other thread creates or destroys such objects. */
IAutoDestroy* GetAutoDestroyObject(int32_t index);
