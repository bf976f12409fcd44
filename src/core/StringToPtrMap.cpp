#include "core/StringToPtrMap.h"

#include <cstring>

StringToPtrMapBase::~StringToPtrMapBase()
{
    RemoveAll();
}

const char* StringToPtrMapBase::KeyToText(Key key) const
{
    return reinterpret_cast<const char*>(key);
}

void StringToPtrMapBase::FreeKey(Key key)
{
    FreeText(reinterpret_cast<char*>(key));
}

void StringToPtrMapBase::FreeValue(void*) {}

bool StringToPtrMapBase::CopyKey(Node* node, Key key)
{
    char* copy = CopyText(reinterpret_cast<const char*>(key));
    node->key = reinterpret_cast<Key>(copy);
    return copy != nullptr;
}

bool StringToPtrMapBase::SetValue(Node* node, void* value)
{
    return StorePointer(node, value);
}

int StringToPtrMapBase::Compare(Key a, Key b) const
{
    const int order = std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
