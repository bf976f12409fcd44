#include "core/XClassPropertyTable.h"

#include "core/XSmartLock.h"

XClassPropertyTable::XClassPropertyTable(const char* classNameIn, const XClassPropertyTable* parentIn)
    : parent(parentIn), className(classNameIn)
{
}

XClassPropertyTable::~XClassPropertyTable() = default;

const XPropertyInfo& XClassPropertyTable::AddProperty(const char* typeName, const char* name,
                                                      const XVariant& defaultValue,
                                                      XPropertyValidator validator)
{
    XSmartLock hold(lock);
    if (const XPropertyInfo* existing = byName.Find(name))
        return *existing;
    auto info = std::make_unique<XPropertyInfo>();
    info->typeName = typeName;
    info->name = name;
    info->defaultValue = defaultValue;
    info->validator = validator;
    byName.Add(info->name.CStr(), info.get());
    infos.push_back(std::move(info));
    return *infos.back();
}

const XPropertyInfo* XClassPropertyTable::FindProperty(const char* name) const
{
    for (const XClassPropertyTable* table = this; table != nullptr; table = table->parent)
    {
        XSmartLock hold(table->lock);
        if (const XPropertyInfo* info = table->byName.Find(name))
            return info;
    }
    return nullptr;
}

int32_t XClassPropertyTable::GetCount() const
{
    XSmartLock hold(lock);
    return static_cast<int32_t>(infos.size());
}

const XPropertyInfo* XClassPropertyTable::GetAt(int32_t index) const
{
    XSmartLock hold(lock);
    return index >= 0 && index < static_cast<int32_t>(infos.size()) ? infos[static_cast<size_t>(index)].get()
                                                                    : nullptr;
}
