#pragma once

#include "core/GenericObjectArray.h"

/** GenericObjectArray with typed elements; it does not own them. */
template <typename T> class ObjectArray : public GenericObjectArray
{
public:
    int32_t Add(T* p, bool unique = false) { return GenericObjectArray::Add(p, unique); }
    int32_t InsertAt(int index, T* p) { return GenericObjectArray::InsertAt(index, p); }
    int32_t SetAt(int index, T* p) { return GenericObjectArray::SetAt(index, p); }
    int32_t Remove(T* p) { return GenericObjectArray::Remove(p); }
    T* At(int index) const { return static_cast<T*>(GenericObjectArray::At(index)); }
    T* Last() const { return static_cast<T*>(GenericObjectArray::Last()); }
    T* GetNext(int& index) const { return static_cast<T*>(GenericObjectArray::GetNext(index)); }
    bool Contains(T* p) const { return GenericObjectArray::Contains(p); }
};
