#pragma once

#include "core/XHandler.h"

#include <cstdint>
#include <vector>

class XClassPropertyTable;
class XProperty;

/** A handler that carries typed, named properties (XProperty members) and is told when one of them
    changes through PropertyChanged. Every property member registers itself with its owner when it
    is built and leaves when it is destroyed, so FindProperty reaches the members by name.

    Each derived class answers its class property table (GetPropertyTable); the table describes the
    properties, the members hold the values. Properties are used on the owner's thread only. */
class XMetaObject : public XHandler
{
public:
    explicit XMetaObject(const char* name = "");
    ~XMetaObject() override;

    /** The property table of the object's class (usually the class's static GetClassPropertyTable). */
    virtual const XClassPropertyTable* GetPropertyTable() const = 0;
    /** A property member's value was changed through PropertyTyped::Set. Empty here. */
    virtual void PropertyChanged(XProperty* property);

    /** The member whose description has that name (exact spelling); null when none. */
    XProperty* FindProperty(const char* name) const;
    int32_t GetPropertyCount() const { return static_cast<int32_t>(properties.size()); }
    /** Null out of range; members in the order they were built. */
    XProperty* GetPropertyAt(int32_t index) const;

private:
    friend class XProperty; // enters and leaves the member list

    std::vector<XProperty*> properties; // members of this object, not owned
};
