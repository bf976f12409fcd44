#include "core/XRect.h"

#include "core/DecimalListReader.h"

XRect XRect::FromText(const char* text)
{
    int32_t values[4];
    ReadDecimalList(text, values, 4);
    const XRect rect(values[0], values[1], values[2], values[3]);
    return rect.IsValid() ? rect : XRect();
}
