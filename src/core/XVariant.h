#pragma once

#include "core/XMemory.h"
#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XString.h"

#include <cstdint>

/** A tagged value: one of the scalar kinds, a text, a rectangle, a point, a colour or a byte block,
    with a text form per kind (ToString) and the matching parser (FromString). Properties pass their
    values through it, so that any property can be read and written by name and as text.

    Each kind lives in its own member; the type says which one counts. A default variant has type
    kTypeNone and an empty text form. A value type: copies are independent (a copied text shares its
    block, a byte block is copied). */
class XVariant
{
public:
    static constexpr int32_t kTypeNone = 0;
    static constexpr int32_t kTypeBool = 1;
    static constexpr int32_t kTypeChar = 2;
    static constexpr int32_t kTypeInt32 = 3;
    static constexpr int32_t kTypeUInt32 = 4;
    static constexpr int32_t kTypeInt64 = 5;
    static constexpr int32_t kTypeUInt64 = 6;
    static constexpr int32_t kTypeFloat = 7;
    static constexpr int32_t kTypeDouble = 8;
    static constexpr int32_t kTypeString = 9;
    static constexpr int32_t kTypeRect = 12;
    static constexpr int32_t kTypeColour = 13;
    static constexpr int32_t kTypePoint = 14;
    static constexpr int32_t kTypeBlock = 17;

    XVariant() = default;
    XVariant(bool value);
    XVariant(int32_t value);
    XVariant(uint32_t value);
    XVariant(int64_t value);
    XVariant(uint64_t value);
    XVariant(float value);
    XVariant(double value);
    /** Null counts as "". */
    XVariant(const char* text);
    XVariant(const XString& text);
    XVariant(const XRect& rect);
    XVariant(const XPoint& point);
    XVariant(const XRGB& colour);
    /** A byte block (type 17) holding a copy of length bytes; length < 1 or null data gives an empty
        block. */
    XVariant(const void* data, int32_t length);
    XVariant(const XVariant& other);
    XVariant& operator=(const XVariant& other);
    virtual ~XVariant();

    /** A variant of the given type holding that type's zero value (opaque black for colours), the
        target of FromString. */
    static XVariant OfType(int32_t type);
    /** A character variant (type 2). */
    static XVariant OfChar(char c);

    /** The text form of the value by its type (see the class comment of each kind in the .cpp);
        empty for type kTypeNone and unknown types. */
    virtual XString ToString() const;
    /** Parses text by the variant's type and stores the result; the type stays. Unreadable text
        gives the type's zero value (all zero for rectangles and points, opaque black for colours).
        Byte blocks are not parsed. Null counts as "". */
    void FromString(const char* text);

    /** Copies the type and the member of that type. */
    void Assign(const XVariant& other);

    int32_t GetType() const { return type; }
    bool GetBool() const { return scalar.asBool; }
    char GetChar() const { return scalar.asChar; }
    int32_t GetInt32() const { return scalar.asInt32; }
    uint32_t GetUInt32() const { return scalar.asUInt32; }
    int64_t GetInt64() const { return scalar.asInt64; }
    uint64_t GetUInt64() const { return scalar.asUInt64; }
    float GetFloat() const { return scalar.asFloat; }
    double GetDouble() const { return scalar.asDouble; }
    const XString& GetString() const { return text; }
    const XRect& GetRect() const { return rect; }
    const XPoint& GetPoint() const { return point; }
    const XRGB& GetColour() const { return colour; }
    const XMemory& GetBlock() const { return block; }

private:
    union Scalar
    {
        bool asBool;
        char asChar;
        int32_t asInt32;
        uint32_t asUInt32;
        int64_t asInt64;
        uint64_t asUInt64;
        float asFloat;
        double asDouble;
    };

    int32_t type = kTypeNone;
    Scalar scalar{};
    XString text;
    XRect rect;
    XPoint point;
    XRGB colour;
    XMemory block;
};
