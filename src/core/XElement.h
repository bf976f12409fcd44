#pragma once

#include <cstdint>
#include <memory>

/** The root of the framework's typed object model: an element has a type code, tests its kind,
    names its type, can be cloned, and carries the two links through which an XElementList chains
    it. An element is in at most one list at a time; the list that holds it owns it. */
class XElement
{
public:
    static constexpr int32_t kAtomType = 7;

    XElement() = default;
    XElement(const XElement&) = delete;
    XElement& operator=(const XElement&) = delete;
    virtual ~XElement() = default;

    virtual int32_t GetTypeCode() const = 0;
    /** Whether the element is of the kind with that type code; false here. */
    virtual bool IsKindOf(int32_t typeCode) const;
    /** The type-name table's entry for GetTypeCode ("ATOM" for 7). */
    virtual const char* GetClassName() const;
    /** A new element of the same class; the caller owns it. Null when none can be made. */
    virtual std::unique_ptr<XElement> Clone() const = 0;

    XElement* GetNext() const { return next; }
    XElement* GetPrevious() const { return previous; }

    /** The type-name table's entry for a code; "" for codes no element of this system has. */
    static const char* GetTypeName(int32_t typeCode);

private:
    friend class XElementList;

    XElement* next = nullptr;     // not owned; the holding list's
    XElement* previous = nullptr; // not owned; the holding list's
};
