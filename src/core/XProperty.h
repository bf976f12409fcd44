#pragma once

#include "core/XClassPropertyTable.h"
#include "core/XMetaObject.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XString.h"
#include "core/XVariant.h"

#include <cstdint>

/** A property member inside an owner object: a typed value with a static description (GetInfo), a
    variant and a text form. The member holds a pointer back to its owner, given at construction, and
    enters the owner's property list for its lifetime.

    SetFromVariant and FromString store without validation and without telling the owner; the
    owner's own changes go through PropertyTyped::Set. Used on the owner's thread only. */
class XProperty
{
public:
    /** owner may be null (a free-standing property tells nobody); not owned. */
    explicit XProperty(XMetaObject* owner);
    XProperty(const XProperty&) = delete;
    XProperty& operator=(const XProperty&) = delete;
    virtual ~XProperty();

    /** The description in the owner class's table. */
    virtual const XPropertyInfo& GetInfo() const = 0;
    virtual XVariant GetValue() const = 0;
    virtual void SetFromVariant(const XVariant& value) = 0;
    /** GetValue().ToString(). */
    virtual XString ToString() const;
    virtual void FromString(const char* text) = 0;
    virtual XMetaObject* GetOwner() const { return owner; }

private:
    XMetaObject* const owner;
};

/** How a property's value type meets XVariant: the variant type that parses it and the read of a
    variant of that type. */
template <typename T> struct XPropertyTraits;

template <> struct XPropertyTraits<bool>
{
    static constexpr int32_t kType = XVariant::kTypeBool;
    static bool From(const XVariant& v) { return v.GetBool(); }
};
template <> struct XPropertyTraits<int32_t>
{
    static constexpr int32_t kType = XVariant::kTypeInt32;
    static int32_t From(const XVariant& v) { return v.GetInt32(); }
};
template <> struct XPropertyTraits<uint32_t>
{
    static constexpr int32_t kType = XVariant::kTypeUInt32;
    static uint32_t From(const XVariant& v) { return v.GetUInt32(); }
};
template <> struct XPropertyTraits<XRGB>
{
    static constexpr int32_t kType = XVariant::kTypeColour;
    static XRGB From(const XVariant& v) { return v.GetColour(); }
};
template <> struct XPropertyTraits<XString>
{
    static constexpr int32_t kType = XVariant::kTypeString;
    static XString From(const XVariant& v) { return v.GetString(); }
};
template <> struct XPropertyTraits<XRect>
{
    static constexpr int32_t kType = XVariant::kTypeRect;
    static XRect From(const XVariant& v) { return v.GetRect(); }
};

/** A property member of value type T (bool, int32_t, uint32_t, XRGB, XString or XRect).

    A concrete property is a class Owner::_prop_Name deriving from PropertyTyped<T> that answers
    GetInfo with a function-level static entered once in the owner class's table, and calls GetInfo
    in its constructor so that the first member built registers the description:

        const XPropertyInfo& GetInfo() const override
        {
            static const XPropertyInfo& info =
                Owner::GetClassPropertyTable()->AddProperty("XRGB", "ForeColor", XVariant(kDefault));
            return info;
        } */
template <typename T> class PropertyTyped : public XProperty
{
public:
    PropertyTyped(XMetaObject* owner, const T& initial) : XProperty(owner), value(initial) {}

    const T& Get() const { return value; }

    /** The owner's change: nothing when equal to the stored value; else the description's validator
        (when there is one) may refuse it; else the value is stored and the owner told
        (XMetaObject::PropertyChanged). */
    void Set(const T& newValue)
    {
        if (newValue == value)
            return;
        const XPropertyValidator validator = GetInfo().validator;
        if (validator != nullptr && !validator(XVariant(newValue)))
            return;
        value = newValue;
        if (XMetaObject* owner = GetOwner())
            owner->PropertyChanged(this);
    }

    XVariant GetValue() const override { return XVariant(value); }

    /** A variant of another type is taken through its text form. */
    void SetFromVariant(const XVariant& variant) override
    {
        if (variant.GetType() == XPropertyTraits<T>::kType)
            value = XPropertyTraits<T>::From(variant);
        else
            FromString(variant.ToString().CStr());
    }

    void FromString(const char* text) override
    {
        XVariant parsed = XVariant::OfType(XPropertyTraits<T>::kType);
        parsed.FromString(text);
        value = XPropertyTraits<T>::From(parsed);
    }

private:
    T value;
};
