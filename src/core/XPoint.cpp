#include "core/XPoint.h"

#include "core/DecimalListReader.h"

XPoint XPoint::FromText(const char* text)
{
    int32_t values[2];
    ReadDecimalList(text, values, 2);
    return XPoint(values[0], values[1]);
}
