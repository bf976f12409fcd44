#include "core/XVariant.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace
{
/** Adds without the overflow of signed arithmetic: the sum wraps as 32-bit integers do. */
int32_t WrappingSum(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
} // namespace

XVariant::XVariant(bool value) : type(kTypeBool)
{
    scalar.asBool = value;
}

XVariant::XVariant(int32_t value) : type(kTypeInt32)
{
    scalar.asInt32 = value;
}

XVariant::XVariant(uint32_t value) : type(kTypeUInt32)
{
    scalar.asUInt32 = value;
}

XVariant::XVariant(int64_t value) : type(kTypeInt64)
{
    scalar.asInt64 = value;
}

XVariant::XVariant(uint64_t value) : type(kTypeUInt64)
{
    scalar.asUInt64 = value;
}

XVariant::XVariant(float value) : type(kTypeFloat)
{
    scalar.asFloat = value;
}

XVariant::XVariant(double value) : type(kTypeDouble)
{
    scalar.asDouble = value;
}

XVariant::XVariant(const char* textIn) : type(kTypeString), text(textIn) {}

XVariant::XVariant(const XString& textIn) : type(kTypeString), text(textIn) {}

XVariant::XVariant(const XRect& rectIn) : type(kTypeRect), rect(rectIn) {}

XVariant::XVariant(const XPoint& pointIn) : type(kTypePoint), point(pointIn) {}

XVariant::XVariant(const XRGB& colourIn) : type(kTypeColour), colour(colourIn) {}

XVariant::XVariant(const void* data, int32_t length) : type(kTypeBlock)
{
    if (data != nullptr && length > 0)
        block.Append(data, length);
}

XVariant::XVariant(const XVariant& other)
{
    Assign(other);
}

XVariant& XVariant::operator=(const XVariant& other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

XVariant::~XVariant() = default;

XVariant XVariant::OfType(int32_t typeIn)
{
    XVariant variant;
    variant.type = typeIn;
    return variant;
}

XVariant XVariant::OfChar(char c)
{
    XVariant variant = OfType(kTypeChar);
    variant.scalar.asChar = c;
    return variant;
}

void XVariant::Assign(const XVariant& other)
{
    type = other.type;
    switch (type)
    {
    case kTypeString:
        text = other.text;
        break;
    case kTypeRect:
        rect = other.rect;
        break;
    case kTypeColour:
        colour = other.colour;
        break;
    case kTypePoint:
        point = other.point;
        break;
    case kTypeBlock:
        block.CopyFrom(other.block);
        break;
    default:
        scalar = other.scalar;
        break;
    }
}

XString XVariant::ToString() const
{
    XString out;
    switch (type)
    {
    case kTypeBool:
        out = scalar.asBool ? "true" : "false";
        break;
    case kTypeChar:
        out.Format("%c", scalar.asChar);
        break;
    case kTypeInt32:
        out.Format("%d", scalar.asInt32);
        break;
    case kTypeUInt32:
        // Written as a signed number; "%u" reads it back to the same bits.
        out.Format("%d", static_cast<int32_t>(scalar.asUInt32));
        break;
    case kTypeInt64:
        out.Format("%" PRId64, scalar.asInt64);
        break;
    case kTypeUInt64:
        out.Format("%" PRIu64, scalar.asUInt64);
        break;
    case kTypeFloat:
        out.Format("%.4f", static_cast<double>(scalar.asFloat));
        break;
    case kTypeDouble:
        out.Format("%.8f", scalar.asDouble);
        break;
    case kTypeString:
        out = text;
        break;
    case kTypeRect:
        out.Format("%d,%d,%d,%d", rect.left, rect.top, rect.Width(), rect.Height());
        break;
    case kTypeColour:
        out.Format("#%02x%02x%02x%02x", colour.a, colour.r, colour.g, colour.b);
        break;
    case kTypePoint:
        out.Format("%d,%d", point.x, point.y);
        break;
    case kTypeBlock:
        XString::HexDump(out, block.GetData(), block.GetLength(), 0);
        break;
    default:
        break;
    }
    return out;
}

void XVariant::FromString(const char* textIn)
{
    const char* source = textIn != nullptr ? textIn : "";
    switch (type)
    {
    case kTypeBool:
        // Exact comparison: "TRUE" is false.
        scalar.asBool = XString(source) == "true";
        break;
    case kTypeChar:
    {
        char c = 0;
        scalar.asChar = std::sscanf(source, "%c", &c) == 1 ? c : 0;
        break;
    }
    case kTypeInt32:
    {
        int value = 0;
        scalar.asInt32 = std::sscanf(source, "%d", &value) == 1 ? value : 0;
        break;
    }
    case kTypeUInt32:
    {
        unsigned value = 0;
        scalar.asUInt32 = std::sscanf(source, "%u", &value) == 1 ? value : 0;
        break;
    }
    case kTypeInt64:
    {
        int64_t value = 0;
        scalar.asInt64 = std::sscanf(source, "%" SCNd64, &value) == 1 ? value : 0;
        break;
    }
    case kTypeUInt64:
    {
        uint64_t value = 0;
        scalar.asUInt64 = std::sscanf(source, "%" SCNu64, &value) == 1 ? value : 0;
        break;
    }
    case kTypeFloat:
    {
        float value = 0.0f;
        scalar.asFloat = std::sscanf(source, "%f", &value) == 1 ? value : 0.0f;
        break;
    }
    case kTypeDouble:
        scalar.asDouble = std::strtod(source, nullptr);
        break;
    case kTypeString:
        text = source;
        break;
    case kTypeRect:
    {
        int left = 0, top = 0, width = 0, height = 0;
        if (std::sscanf(source, "%d,%d,%d,%d", &left, &top, &width, &height) == 4)
            rect = XRect(left, top, WrappingSum(left, width), WrappingSum(top, height));
        else
            rect = XRect();
        break;
    }
    case kTypeColour:
    {
        unsigned alpha = 0, red = 0, green = 0, blue = 0;
        if (std::sscanf(source, "#%02x%02x%02x%02x", &alpha, &red, &green, &blue) == 4)
            colour = XRGB(static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue),
                          static_cast<uint8_t>(alpha));
        else
            colour = XRGB();
        break;
    }
    case kTypePoint:
    {
        int x = 0, y = 0;
        point = std::sscanf(source, "%d,%d", &x, &y) == 2 ? XPoint(x, y) : XPoint();
        break;
    }
    default:
        break;
    }
}
