#include "core/StringToStringMap.h"

StringToStringMap::~StringToStringMap()
{
    // Here, not in the base, so that the value texts are freed too.
    RemoveAll();
}

bool StringToStringMap::Add(const char* key, const char* value)
{
    return StringToPtrMapBase::Add(key, const_cast<char*>(value));
}

const char* StringToStringMap::Find(const char* key) const
{
    return static_cast<const char*>(StringToPtrMapBase::Find(key));
}

void StringToStringMap::FreeValue(void* value)
{
    FreeText(static_cast<char*>(value));
}

bool StringToStringMap::SetValue(Node* node, void* value)
{
    if (value == nullptr)
        return false;
    char* copy = CopyText(static_cast<const char*>(value));
    if (copy == nullptr)
        return false;
    node->value = copy;
    return true;
}
