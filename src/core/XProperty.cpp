#include "core/XProperty.h"

#include <algorithm>

XProperty::XProperty(XMetaObject* ownerIn) : owner(ownerIn)
{
    if (owner != nullptr)
        owner->properties.push_back(this);
}

XProperty::~XProperty()
{
    if (owner == nullptr)
        return;
    auto& list = owner->properties;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

XString XProperty::ToString() const
{
    return GetValue().ToString();
}
