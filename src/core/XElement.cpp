#include "core/XElement.h"

namespace
{
/** The type-name table's entry that no element of this system reaches: operations name
    themselves. */
constexpr int32_t kOperationTableEntry = 24;
} // namespace

bool XElement::IsKindOf(int32_t typeCode) const
{
    return false;
}

const char* XElement::GetClassName() const
{
    return GetTypeName(GetTypeCode());
}

const char* XElement::GetTypeName(int32_t typeCode)
{
    switch (typeCode)
    {
    case kAtomType:
        return "ATOM";
    case kOperationTableEntry:
        return "OPERATION";
    default:
        return "";
    }
}
