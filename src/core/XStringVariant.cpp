#include "core/XString.h"
#include "core/XVariant.h"

XString& XString::operator=(const XVariant& value)
{
    return *this = value.ToString();
}
