#include "core/XMetaObject.h"

#include "core/XClassPropertyTable.h"
#include "core/XProperty.h"

XMetaObject::XMetaObject(const char* name) : XHandler(name) {}

XMetaObject::~XMetaObject() = default;

void XMetaObject::PropertyChanged(XProperty* property) {}

XProperty* XMetaObject::FindProperty(const char* name) const
{
    const XString wanted(name);
    for (XProperty* property : properties)
        if (property->GetInfo().name == wanted)
            return property;
    return nullptr;
}

XProperty* XMetaObject::GetPropertyAt(int32_t index) const
{
    return index >= 0 && index < GetPropertyCount() ? properties[static_cast<size_t>(index)] : nullptr;
}
