#pragma once

#include "core/ObjectArray.h"
#include "core/XString.h"

#include <cstdint>

class IPropertyData;
class XMutex;

/** Told when properties of an IPropertyData object change. */
class IPropertyWatcher
{
public:
    virtual ~IPropertyWatcher() = default;

    /** propertyId is the changed property, or -1 for all of them. Called under the process-wide
        property lock (GetPropertyLock): never wait for another thread here. */
    virtual void PropertyDataChanged(IPropertyData* object, int32_t propertyId) = 0;
};

/** An object whose numbered properties can be read by kind and as text, found process-wide by name
    (Register, FindPropertyData) and watched (IPropertyWatcher).

    Property kinds: 0 invalid, 1 bool, 2 integer, 3 and 4 real. The base has no properties; derived
    classes answer the reads for their ids.

    Lifetime: the owner deletes the object; destruction takes it out of the name map. Watchers are
    not owned and must be removed before they go. Registration, the watcher list and notification
    are guarded by the process-wide property lock. */
class IPropertyData
{
public:
    static constexpr int32_t kKindInvalid = 0;
    static constexpr int32_t kKindBool = 1;
    static constexpr int32_t kKindInteger = 2;
    static constexpr int32_t kKindReal3 = 3;
    static constexpr int32_t kKindReal = 4;
    /** The property id of NotifyWatchers meaning "all properties". */
    static constexpr int32_t kAllProperties = -1;

    IPropertyData() = default;
    IPropertyData(const IPropertyData&) = delete;
    IPropertyData& operator=(const IPropertyData&) = delete;
    virtual ~IPropertyData();

    virtual int32_t GetPropertyCount() const { return 0; }
    /** Empty for unknown ids. */
    virtual XString GetPropertyName(int32_t id) const;
    virtual int32_t GetPropertyKind(int32_t id) const { return kKindInvalid; }
    /** The read of integer and bool properties; 0 here. */
    virtual int32_t GetIntegerProperty(int32_t id) const { return 0; }
    /** The read of kind-3 properties; 0.0 here. */
    virtual double GetReal3Property(int32_t id) const { return 0.0; }
    /** The read of kind-4 properties; 0.0 here. */
    virtual double GetRealProperty(int32_t id) const { return 0.0; }
    /** By kind: "invalid", "On"/"Off", "%d", a real with two grouped decimals (FormatGroupedNumber);
        empty for any other kind. */
    virtual XString GetPropertyText(int32_t id) const;

    /** Enters the object under its lower-cased name in the process-wide map. When something is
        registered under that key already nothing changes; otherwise the object takes the name as
        given (and gives it up again should the entry fail). */
    void Register(const char* name);
    /** The registered name; empty before Register. */
    XString GetName() const;

    /** Appends a watcher (not owned); one watcher may be added once. */
    void AddWatcher(IPropertyWatcher* watcher);
    void RemoveWatcher(IPropertyWatcher* watcher);
    /** Under the property lock, tells every watcher in the order added. */
    void NotifyWatchers(int32_t propertyId);

private:
    XString name;                           // guarded by the property lock
    ObjectArray<IPropertyWatcher> watchers; // not owned; guarded by the property lock
};

/** The object registered under the lower-cased name; null for none, a null or an empty name. */
IPropertyData* FindPropertyData(const char* name);

/** The process-wide property lock (recursive): registration, watcher lists, notifications and the
    performance variables' list. */
XMutex& GetPropertyLock();
