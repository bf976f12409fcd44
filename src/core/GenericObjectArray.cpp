#include "core/GenericObjectArray.h"

#include "core/PointerArray.h"

GenericObjectArray::GenericObjectArray() : items(std::make_unique<PointerArray>()) {}

GenericObjectArray::~GenericObjectArray() = default;

void GenericObjectArray::Lock()
{
    items->Lock();
}

void GenericObjectArray::Unlock()
{
    items->Unlock();
}

bool GenericObjectArray::IsLocked() const
{
    return items->IsLocked();
}

int32_t GenericObjectArray::Add(void* p, bool unique)
{
    return items->Add(p, unique);
}

int32_t GenericObjectArray::InsertAt(int index, void* p)
{
    return items->InsertAt(index, p);
}

int32_t GenericObjectArray::SetAt(int index, void* p)
{
    return items->SetAt(index, p);
}

int32_t GenericObjectArray::RemoveAt(int index, int16_t count)
{
    return items->RemoveAt(index, count);
}

int32_t GenericObjectArray::Remove(void* p)
{
    return items->Remove(p);
}

void GenericObjectArray::RemoveAll()
{
    items->Clear();
}

int GenericObjectArray::GetCount() const
{
    return items->GetCount();
}

void* GenericObjectArray::At(int index) const
{
    return items->At(index);
}

void* GenericObjectArray::Last() const
{
    return items->At(items->GetCount() - 1);
}

void* GenericObjectArray::GetNext(int& index) const
{
    return items->GetNext(index);
}

bool GenericObjectArray::Contains(void* p) const
{
    return items->Contains(p);
}
