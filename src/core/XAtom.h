#pragma once

#include "core/XElement.h"

/** The simplest concrete kind of element: type code 7, class name "ATOM". */
class XAtom : public XElement
{
public:
    int32_t GetTypeCode() const override;
    /** True for 7. */
    bool IsKindOf(int32_t typeCode) const override;
};
