#include "gui/DescriptionValues.h"

#include "core/DecimalListReader.h"
#include "core/MemoryDataIO.h"
#include "core/XMessage.h"
#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XScanner.h"
#include "gui/ViewKeywords.h"
#include "gui/XColorDictionary.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace
{
/** The remembered rectangle behind "next" and "down"; zero at start, kept across builds. */
XRect rememberedRect;

/** Longest width or precision a description's conversion may ask for. */
constexpr int kMaxFieldDigits = 3;
constexpr const char kIntegerConversions[] = "diouxX";
constexpr const char kConversionFlags[] = "-+ #0";
constexpr int kStepWordLength = 4;

/** A value limited to the int32 range. */
int32_t Saturate(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

/** A decimal integer text (IsInteger) as int32, limited to the int32 range. */
int32_t ToInt32(const XString& text)
{
    return Saturate(std::strtoll(text.CStr(), nullptr, 10));
}

/** True when text (blanks aside) is from minCount to maxCount comma-separated decimal integers. */
bool IsIntegerList(const XString& text, int minCount, int maxCount)
{
    XString compact = text;
    compact.RemoveChar(' ');
    int count = 0;
    const char* field = compact.CStr();
    for (;;)
    {
        const char* end = std::strchr(field, ',');
        const size_t length = end != nullptr ? static_cast<size_t>(end - field) : std::strlen(field);
        if (!XString(field, static_cast<int>(length)).IsInteger() || ++count > maxCount)
            return false;
        if (end == nullptr)
            return count >= minCount;
        field = end + 1;
    }
}

/** True when text is a colour that XRGB::Parse reads as written: three or four integers from 0 to
    255, or a colour word. */
bool IsColourText(const XString& text)
{
    if (!IsIntegerList(text, 3, 4))
    {
        for (unsigned i = 0; i < static_cast<unsigned>(text.Length()); ++i)
        {
            const char c = text.CharAt(i);
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' '))
                return false;
        }
        return !text.IsEmpty();
    }
    int32_t parts[4] = {0, 0, 0, 0};
    ReadDecimalList(text.CStr(), parts, 4);
    for (const int32_t part : parts)
        if (part < 0 || part > 255)
            return false;
    return true;
}

/** The length of the integer conversion that starts at the '%' of text, 0 when it is not one. */
size_t IntegerConversionLength(const char* text)
{
    size_t pos = 1;
    while (text[pos] != 0 && std::strchr(kConversionFlags, text[pos]) != nullptr)
        ++pos;
    for (int part = 0; part < 2; ++part)
    {
        if (part == 1)
        {
            if (text[pos] != '.')
                break;
            ++pos;
        }
        int digits = 0;
        while (text[pos] >= '0' && text[pos] <= '9')
        {
            ++pos;
            ++digits;
        }
        if (digits > kMaxFieldDigits)
            return 0;
    }
    return text[pos] != 0 && std::strchr(kIntegerConversions, text[pos]) != nullptr ? pos + 1 : 0;
}

/** The four (or two) comma-separated integers of text, blanks ignored, missing parts 0. */
XRect ReadRect(const XString& text)
{
    int32_t edges[4] = {0, 0, 0, 0};
    ReadDecimalList(text.CStr(), edges, 4);
    return XRect(edges[0], edges[1], edges[2], edges[3]);
}

/** The rectangle moved by dx, dy; edges stop at the int32 limits. */
XRect Offset(const XRect& rect, int64_t dx, int64_t dy)
{
    return XRect(Saturate(rect.left + dx), Saturate(rect.top + dy), Saturate(rect.right + dx),
                 Saturate(rect.bottom + dy));
}

/** How far the repetition index moves a rectangle by steps of step. */
int64_t Steps(int32_t index, int32_t step)
{
    return static_cast<int64_t>(index) * step;
}

/** A scanner over one value text; the text must outlive it. */
class ValueScanner
{
public:
    explicit ValueScanner(const XString& text)
        : source(text), io(const_cast<char*>(source.CStr()), source.Length()), scanner(&io)
    {
    }

    XToken Next() { return scanner.NextToken(); }
    void PushBack(const XToken& token) { scanner.PushBack(token); }
    /** True when a '-' is the first non-blank byte from the stream's current position on. */
    bool MinusFollows()
    {
        const char* p = source.CStr() + io.GetPosition();
        while (*p == ' ')
            ++p;
        return *p == '-';
    }

private:
    XString source;
    MemoryDataIO io;
    XScanner scanner;
};

bool IsNumberList(const XToken& token)
{
    return token.type == XToken::kPoint || token.type == XToken::kColour || token.type == XToken::kRect;
}
} // namespace

XString DescriptionValues::FormatWithIndex(const XString& format, int32_t value)
{
    const char* text = format.CStr();
    if (std::strchr(text, '%') == nullptr)
        return format;
    std::string out;
    bool expanded = false;
    for (size_t pos = 0; text[pos] != 0;)
    {
        if (text[pos] != '%')
        {
            out.push_back(text[pos++]);
            continue;
        }
        if (text[pos + 1] == '%')
        {
            out.push_back('%');
            pos += 2;
            continue;
        }
        const size_t length = expanded ? 0 : IntegerConversionLength(text + pos);
        if (length == 0)
        {
            out.push_back(text[pos++]);
            continue;
        }
        // The conversion was checked to take exactly one int, with a bounded width.
        const std::string conversion(text + pos, length);
        char buffer[64];
        std::snprintf(buffer, sizeof(buffer), conversion.c_str(), value);
        out.append(buffer);
        expanded = true;
        pos += length;
    }
    return XString(out.c_str(), static_cast<int>(out.size()));
}

const XRect& DescriptionValues::GetRememberedRect()
{
    return rememberedRect;
}

void DescriptionValues::ResetRememberedRect()
{
    rememberedRect = XRect();
}

XRect DescriptionValues::RectValue(int32_t keywordId, const XString& value, const DescriptionIndex& at)
{
    const bool isFrame = keywordId == ViewKeywords::kFrame;
    const bool isNext = value.CompareNoCaseN("next", kStepWordLength) == 0;
    const bool isDown = value.CompareNoCaseN("down", kStepWordLength) == 0;
    if (value.EqualsNoCase("client"))
        return XRect();

    if (isNext || isDown)
    {
        if (at.index > 0)
        {
            if (!isFrame)
                return rememberedRect;
            return isNext ? Offset(rememberedRect, Steps(at.index, at.arrayWidth), 0)
                          : Offset(rememberedRect, 0, Steps(at.index, at.arrayHeight));
        }
        const int comma = value.FindChar(',');
        const XString stepText = comma < 0 ? XString() : value.From(comma + 1);
        const int32_t step = stepText.IsInteger() ? ToInt32(stepText)
                             : isNext             ? at.arrayWidth
                                                  : at.arrayHeight;
        rememberedRect = isNext ? Offset(rememberedRect, step, 0) : Offset(rememberedRect, 0, step);
        return rememberedRect;
    }

    XRect rect = ReadRect(value);
    if (keywordId == ViewKeywords::kFrameWH)
    {
        rect.right = Saturate(static_cast<int64_t>(rect.left) + rect.right);
        rect.bottom = Saturate(static_cast<int64_t>(rect.top) + rect.bottom);
    }
    rememberedRect = rect;
    if ((isFrame || keywordId == ViewKeywords::kFrameWH) && at.index > 0)
    {
        rect = at.arrayHeight != 0 ? Offset(rect, 0, Steps(at.index, at.arrayHeight))
                                   : Offset(rect, Steps(at.index, at.arrayWidth), 0);
    }
    return rect;
}

bool DescriptionValues::ReadImageDescription(const XString& value, XMessage& description)
{
    ValueScanner scanner(value);
    XToken token = scanner.Next();
    if (token.type != XToken::kString)
        return false;
    description.AddString("imagePath", token.text.CStr());

    token = scanner.Next();
    for (;;)
    {
        if (token.type == XToken::kEnd || token.IsChar(';'))
            return true;
        if (!token.IsChar(','))
            return false;
        const XToken name = scanner.Next();
        if (name.type != XToken::kWord && name.type != XToken::kKeyword &&
            name.type != XToken::kSecondKeyword)
            return false;
        if (!scanner.Next().IsChar('='))
            return false;
        const bool negative = scanner.MinusFollows();
        const XToken pairValue = scanner.Next();
        token = scanner.Next();
        if (pairValue.type == XToken::kInteger)
            description.AddInt32(name.text.CStr(), pairValue.intValue);
        else if (pairValue.type == XToken::kString)
            description.AddString(name.text.CStr(), pairValue.text.CStr());
        else if (pairValue.type == XToken::kBoolean)
            description.AddBool(name.text.CStr(), pairValue.boolValue != 0);
        else if (IsNumberList(pairValue) && pairValue.text.EndsWithChar(','))
        {
            // The scanner reads the separator after a number as part of it ("4," is a point): the
            // number is the value and the comma separates it from the next pair.
            const XString number = pairValue.text.DropRight(1);
            if (number.IsInteger())
                description.AddInt32(name.text.CStr(), negative ? -ToInt32(number) : ToInt32(number));
            if (token.type == XToken::kEnd || token.IsChar(';'))
                return false;
            scanner.PushBack(token);
            token = XToken();
            token.type = ',';
        }
    }
}

bool DescriptionValues::IsRectText(const XString& value)
{
    if (value.EqualsNoCase("client"))
        return true;
    if (value.CompareNoCaseN("next", kStepWordLength) == 0 ||
        value.CompareNoCaseN("down", kStepWordLength) == 0)
    {
        const int comma = value.FindChar(',');
        return value.Length() == kStepWordLength ||
               (comma == kStepWordLength && value.From(comma + 1).IsInteger());
    }
    return IsIntegerList(value, 1, 4);
}

namespace
{
/** A named constant, an integer, a decimal or a truth value, whatever the keyword; false for none. */
bool AddLiteralValue(XMessage& attributes, const char* name, const XString& value)
{
    int32_t constant = 0;
    if (ViewKeywords::FindNamedConstant(value.CStr(), constant))
    {
        attributes.AddInt32(name, constant);
        return true;
    }
    if (value.IsInteger())
    {
        attributes.AddInt32(name, ToInt32(value));
        return true;
    }
    if (value.IsDecimal())
    {
        attributes.AddFloat(name, value.ToFloat());
        return true;
    }
    if (value.EqualsNoCase("true") || value.EqualsNoCase("false"))
    {
        attributes.AddBool(name, value.EqualsNoCase("true"));
        return true;
    }
    return false;
}

/** The value of a keyword that takes a kind of its own (rectangles, colours, images, points,
    parameter paths and items): AddTypedValue's answer, or no value for any other keyword. */
std::optional<bool> AddKeywordValue(XMessage& attributes, const char* name, int32_t keywordId,
                                    const XString& value, const DescriptionIndex& at, int32_t indexWithBase)
{
    if (ViewKeywords::IsRectKeyword(keywordId))
    {
        const char* itemName = keywordId == ViewKeywords::kFrameWH ? "frame" : name;
        attributes.AddRect(itemName, DescriptionValues::RectValue(keywordId, value, at));
        return DescriptionValues::IsRectText(value);
    }
    if (ViewKeywords::IsColourKeyword(keywordId))
    {
        XRGB colour;
        if (GetColorDictionary().FindColor(value.CStr(), colour) == XColorDictionary::kResultOk)
        {
            attributes.AddColor(name, colour);
            return true;
        }
        attributes.AddColor(name, XRGB::Parse(value));
        return IsColourText(value);
    }
    switch (keywordId)
    {
    case ViewKeywords::kImageName:
        if (value.CharAt(0) == '"')
        {
            XMessage description;
            if (!DescriptionValues::ReadImageDescription(value, description))
                return false;
            attributes.AddMessage("imageDesc", description);
        }
        else
            attributes.AddString(name, value.CStr());
        return true;
    case ViewKeywords::kLocation:
    case ViewKeywords::kCenter:
    {
        int32_t xy[2] = {0, 0};
        ReadDecimalList(value.CStr(), xy, 2);
        attributes.AddPoint(name, XPoint(xy[0], xy[1]));
        return IsIntegerList(value, 1, 2);
    }
    case ViewKeywords::kParam:
    {
        const XString& format = value.EqualsNoCase("%s") ? at.paramScratch : value;
        attributes.AddString(name, DescriptionValues::FormatWithIndex(format, indexWithBase).CStr());
        return true;
    }
    case ViewKeywords::kBasePath:
        attributes.AddString(name, DescriptionValues::FormatWithIndex(value, indexWithBase).CStr());
        return true;
    case ViewKeywords::kItem:
        attributes.AddString(name, DescriptionValues::FormatWithIndex(value, at.index).CStr());
        return true;
    default:
        break;
    }
    return std::nullopt;
}
} // namespace

bool DescriptionValues::AddTypedValue(XMessage& attributes, const XString& keyword, int32_t keywordId,
                                      const XString& value, const DescriptionIndex& at)
{
    const char* name = keyword.CStr();
    const int32_t indexWithBase = Saturate(static_cast<int64_t>(at.index) + at.baseIndex);
    if (AddLiteralValue(attributes, name, value))
        return true;
    if (const std::optional<bool> typed =
            AddKeywordValue(attributes, name, keywordId, value, at, indexWithBase))
        return *typed;
    if (keyword.EqualsNoCase("label"))
    {
        attributes.AddString(name, value.CStr());
        attributes.AddInt32("labelArg", indexWithBase);
        return true;
    }

    ValueScanner scanner(value);
    const XToken first = scanner.Next();
    if (first.type == XToken::kRect)
        attributes.AddRect(name, first.rect);
    else if (first.type == XToken::kPoint)
        attributes.AddPoint(name, first.point);
    else if (first.type == XToken::kColour)
        attributes.AddColor(name, first.colour);
    attributes.AddString(name, FormatWithIndex(value, indexWithBase).CStr());
    return true;
}

bool DescriptionValues::ReadInteger(const XString& text, int32_t& value)
{
    errno = 0;
    const long long wide = std::strtoll(text.CStr(), nullptr, 10); // saturates at the 64-bit limits
    const bool inRange = errno != ERANGE && wide >= INT32_MIN && wide <= INT32_MAX;
    value = Saturate(wide);
    return inRange && text.IsInteger();
}

void DescriptionValues::ParseArgs(const XString& text, XMessage* message)
{
    if (message == nullptr)
        return;
    const unsigned length = static_cast<unsigned>(text.Length());
    unsigned pos = 0;
    while (pos < length)
    {
        const XString name = text.NextToken(pos, '=');
        if (name.IsEmpty())
            return;
        const XString value = text.NextToken(pos, ',');
        if (value.IsInteger())
            message->AddInt32(name.CStr(), ToInt32(value));
        else if (value.IsNumeric())
            message->AddInt32(name.CStr(), value.HexToInt());
        else if (value.EqualsNoCase("true") || value.EqualsNoCase("false"))
            message->AddBool(name.CStr(), value.EqualsNoCase("true"));
        else
            message->AddString(name.CStr(), value.CStr());
    }
}
