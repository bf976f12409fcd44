#include "core/XStringArray.h"

#include "core/XResult.h"

namespace
{
constexpr char kPathSeparator = '\\';
constexpr char kRootName[] = "Root";
} // namespace

XStringArray::~XStringArray()
{
    RemoveAll();
}

int32_t XStringArray::Add(const XString& text)
{
    auto* copy = new XString(text);
    const int32_t result = strings.Add(copy);
    if (result != 0)
    {
        delete copy;
        return XResult::kFailed;
    }
    return 0;
}

int32_t XStringArray::Add(const char* text)
{
    return Add(XString(text));
}

const XString& XStringArray::GetAt(int i) const
{
    const XString* text = strings.At(i);
    return text != nullptr ? *text : XString::Empty();
}

void XStringArray::SetAt(int i, const XString& text)
{
    if (XString* existing = strings.At(i))
        *existing = text;
    else if (i >= 0)
        Add(text);
}

bool XStringArray::Contains(const XString& text, bool noCase) const
{
    for (int i = strings.GetCount() - 1; i >= 0; --i)
    {
        const XString* entry = strings.At(i);
        if (entry != nullptr && (noCase ? entry->EqualsNoCase(text) : *entry == text))
            return true;
    }
    return false;
}

void XStringArray::RemoveAll()
{
    for (int i = strings.GetCount() - 1; i >= 0; --i)
        delete strings.At(i);
    strings.RemoveAll();
}

void XStringArray::SplitPath(const XString& path, bool withRoot)
{
    RemoveAll();
    if (withRoot)
        Add(kRootName);
    const auto length = static_cast<unsigned>(path.Length());
    unsigned pos = 0;
    while (pos < length)
    {
        const XString component = path.NextToken(pos, kPathSeparator);
        if (!component.IsEmpty())
            Add(component);
    }
}
