#include "windows/LocalParamDesc.h"

XParamDesc LocalParamDesc(const char* name, int32_t type, double min, double max, double def, uint32_t steps,
                          int32_t id)
{
    XParamDesc desc;
    desc.Init();
    desc.id = id;
    desc.SetName(name != nullptr ? name : "");
    desc.type = type;
    desc.min = min;
    desc.max = max;
    desc.def = def;
    desc.count = steps;
    desc.flags = XParamDesc::kFlagTransient;
    return desc;
}
