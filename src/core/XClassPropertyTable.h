#pragma once

#include "core/StringToPtrMap.h"
#include "core/XMutex.h"
#include "core/XString.h"
#include "core/XVariant.h"

#include <cstdint>
#include <memory>
#include <vector>

/** Accepts (true) or refuses (false) a value proposed for a property. */
using XPropertyValidator = bool (*)(const XVariant& proposed);

/** The static description of one property of a class: its type name ("bool", "int32", "uint32",
    "XRGB", "XString", "XRect"), its name ("ForeColor"), its default and an optional validator.
    Lives in its class's table for the whole process. */
struct XPropertyInfo
{
    XString typeName;
    XString name;
    XVariant defaultValue;
    XPropertyValidator validator = nullptr;
    int32_t reserved = 0;
};

/** The property descriptions of one class, in the order registered, found by name; a class table
    points to its parent class's table, so a look-up also finds the inherited properties.

    Each class builds its table once, on first use, through a static accessor (a function-level
    static), and each property class enters its description the first time a member of it is built
    (AddProperty). Tables live until the process ends and own their descriptions. Thread-safe
    (one lock per table). */
class XClassPropertyTable final
{
public:
    /** parent: the parent class's table, null for a root class; not owned. */
    XClassPropertyTable(const char* className, const XClassPropertyTable* parent);
    XClassPropertyTable(const XClassPropertyTable&) = delete;
    XClassPropertyTable& operator=(const XClassPropertyTable&) = delete;
    ~XClassPropertyTable();

    /** Appends a description and enters it by name; a name this table already holds keeps its first
        description, which is returned. */
    const XPropertyInfo& AddProperty(const char* typeName, const char* name, const XVariant& defaultValue,
                                     XPropertyValidator validator = nullptr);
    /** The description of that name (exact spelling) in this table, else in the parent tables; null
        when none has it. */
    const XPropertyInfo* FindProperty(const char* name) const;

    /** Descriptions of this table only, not of its parents. */
    int32_t GetCount() const;
    /** Null out of range. */
    const XPropertyInfo* GetAt(int32_t index) const;
    const XClassPropertyTable* GetParent() const { return parent; }
    const XString& GetClassName() const { return className; }

private:
    mutable XMutex lock;
    std::vector<std::unique_ptr<XPropertyInfo>> infos; // guarded by lock
    StringToPtrMap<XPropertyInfo> byName;              // not owning; guarded by lock
    const XClassPropertyTable* parent;
    const XString className;
};
