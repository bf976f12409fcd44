#include "core/IPropertyData.h"

#include "core/FormatGroupedNumber.h"
#include "core/StringToPtrMap.h"
#include "core/XMutex.h"
#include "core/XSmartLock.h"

#include <vector>

namespace
{
constexpr int32_t kTextDecimals = 2;

/** Registered objects by lower-cased name, not owned; guarded by the property lock. Never
    destroyed, so objects that outlive static destruction can still leave it. */
StringToPtrMap<IPropertyData>& NameMap()
{
    static auto* map = new StringToPtrMap<IPropertyData>();
    return *map;
}
} // namespace

XMutex& GetPropertyLock()
{
    static auto* lock = new XMutex();
    return *lock;
}

IPropertyData::~IPropertyData()
{
    XSmartLock hold(GetPropertyLock());
    if (name.IsEmpty())
        return;
    const XString key = name.ToLower();
    if (NameMap().Find(key.CStr()) == this)
        NameMap().Remove(key.CStr());
}

XString IPropertyData::GetPropertyName(int32_t id) const
{
    return XString();
}

XString IPropertyData::GetPropertyText(int32_t id) const
{
    XString text;
    switch (GetPropertyKind(id))
    {
    case kKindInvalid:
        text = "invalid";
        break;
    case kKindBool:
        text = GetIntegerProperty(id) != 0 ? "On" : "Off";
        break;
    case kKindInteger:
        text.Format("%d", GetIntegerProperty(id));
        break;
    case kKindReal3:
        FormatGroupedNumber(text, GetReal3Property(id), kTextDecimals, false);
        break;
    case kKindReal:
        FormatGroupedNumber(text, GetRealProperty(id), kTextDecimals, false);
        break;
    default:
        break;
    }
    return text;
}

void IPropertyData::Register(const char* nameIn)
{
    const XString given(nameIn);
    const XString key = given.ToLower();
    XSmartLock hold(GetPropertyLock());
    if (NameMap().Find(key.CStr()) != nullptr)
        return;
    // An object has one entry: a new name replaces the old one.
    if (!name.IsEmpty() && NameMap().Find(name.ToLower().CStr()) == this)
        NameMap().Remove(name.ToLower().CStr());
    name = given;
    if (!NameMap().Add(key.CStr(), this))
        name = XString();
}

XString IPropertyData::GetName() const
{
    XSmartLock hold(GetPropertyLock());
    return name;
}

void IPropertyData::AddWatcher(IPropertyWatcher* watcher)
{
    if (watcher == nullptr)
        return;
    XSmartLock hold(GetPropertyLock());
    watchers.Add(watcher, true);
}

void IPropertyData::RemoveWatcher(IPropertyWatcher* watcher)
{
    XSmartLock hold(GetPropertyLock());
    watchers.Remove(watcher);
}

void IPropertyData::NotifyWatchers(int32_t propertyId)
{
    XSmartLock hold(GetPropertyLock());
    // A snapshot, so that a watcher may add or remove watchers while it is told.
    std::vector<IPropertyWatcher*> snapshot;
    for (int i = 0; i < watchers.GetCount(); ++i)
        snapshot.push_back(watchers.At(i));
    for (IPropertyWatcher* watcher : snapshot)
        if (watchers.Contains(watcher))
            watcher->PropertyDataChanged(this, propertyId);
}

IPropertyData* FindPropertyData(const char* name)
{
    if (name == nullptr || name[0] == 0)
        return nullptr;
    const XString key = XString(name).ToLower();
    XSmartLock hold(GetPropertyLock());
    return NameMap().Find(key.CStr());
}
