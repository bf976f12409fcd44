#include "core/XAtom.h"

int32_t XAtom::GetTypeCode() const
{
    return kAtomType;
}

bool XAtom::IsKindOf(int32_t typeCode) const
{
    return typeCode == kAtomType;
}
