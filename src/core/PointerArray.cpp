#include "core/PointerArray.h"

#include "core/MemoryArrayOps.h"
#include "core/XResult.h"

using Pointers = MemoryArrayOps<void*>;

int PointerArray::GetCount() const
{
    return Pointers::Count(*this);
}

void* PointerArray::At(int index) const
{
    return Pointers::At(*this, index);
}

int32_t PointerArray::InsertAt(int index, void* p)
{
    return Pointers::InsertAt(*this, index, p);
}

int32_t PointerArray::SetAt(int index, void* p)
{
    return Pointers::SetAt(*this, index, p);
}

int32_t PointerArray::RemoveAt(int index, int count)
{
    return Pointers::RemoveAt(*this, index, count);
}

int32_t PointerArray::Add(void* p, bool unique)
{
    return Pointers::Add(*this, p, unique);
}

bool PointerArray::Contains(void* p) const
{
    return p != nullptr && Pointers::FindBeforeZero(*this, p) >= 0;
}

int32_t PointerArray::Remove(void* p)
{
    for (int i = GetCount() - 1; i >= 0; --i)
        if (At(i) == p)
            return RemoveAt(i, 1);
    return XResult::kFailed;
}

void* PointerArray::GetNext(int& index) const
{
    return Pointers::GetNext(*this, index);
}
