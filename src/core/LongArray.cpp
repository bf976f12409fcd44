#include "core/LongArray.h"

#include "core/MemoryArrayOps.h"

using Longs = MemoryArrayOps<int32_t>;
using Shorts = MemoryArrayOps<int16_t>;

int LongArray::GetCount() const
{
    return Longs::Count(*this);
}

int32_t LongArray::GetAt(int index) const
{
    return Longs::At(*this, index);
}

int32_t LongArray::InsertAt(int index, int32_t value)
{
    return Longs::InsertAt(*this, index, value);
}

int32_t LongArray::SetAt(int index, int32_t value)
{
    return Longs::SetAt(*this, index, value);
}

int32_t LongArray::RemoveAt(int index, int count)
{
    return Longs::RemoveAt(*this, index, count);
}

int32_t LongArray::Add(int32_t value, bool unique)
{
    return Longs::Add(*this, value, unique);
}

int32_t LongArray::GetNext(int& index) const
{
    return Longs::GetNext(*this, index);
}

int LongArray::GetInt16Count() const
{
    return Shorts::Count(*this);
}

int16_t LongArray::GetInt16At(int index) const
{
    return Shorts::At(*this, index);
}

int32_t LongArray::InsertInt16At(int index, int16_t value)
{
    return Shorts::InsertAt(*this, index, value);
}

int32_t LongArray::SetInt16At(int index, int16_t value)
{
    return Shorts::SetAt(*this, index, value);
}
