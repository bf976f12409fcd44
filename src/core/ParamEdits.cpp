#include "core/ParamEdits.h"

#include "core/XParam.h"

#include <cstdlib>
#include <limits>

namespace ParamEdits
{
namespace
{
bool MoveBySteps(XParam& param, int32_t steps, bool wrapsOnStep)
{
    if (steps == 0)
        return false;
    const auto index = static_cast<uint32_t>(param.ValueToIndex(param.GetValue()));
    const auto distance = static_cast<uint32_t>(std::llabs(static_cast<long long>(steps)));
    const uint32_t count = param.GetCount();
    uint32_t goal;
    if (steps > 0)
        goal = count - index < distance ? (wrapsOnStep ? 0 : count) : index + distance;
    else
        goal = index >= distance ? index - distance : (wrapsOnStep ? count : 0);
    return param.ChangeValue(param.IndexToValue(static_cast<int32_t>(goal)), true);
}
} // namespace

int32_t TruncToInt(double x)
{
    if (!(x == x))
        return 0;
    if (x >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (x <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

XString ReduceToDisplayText(XString text)
{
    while (text.FindChar(':') >= 0)
        text = text.After(":");
    text.ReplaceChar('|', ':');
    return text;
}

bool ApplyEvent(XParam& param, const XParamEvent& event, bool wrapsOnStep)
{
    switch (event.type)
    {
    case XParamEvent::kBeginEdit:
        param.BeginEdit();
        return false;
    case XParamEvent::kSetValue:
        return param.ChangeValue(event.value, true);
    case XParamEvent::kSetStepIndex:
        return param.SetStepIndex(TruncToInt(event.value));
    case XParamEvent::kSetPosition:
    {
        // In single precision, as the unit's positions are.
        const auto span = static_cast<float>(param.GetMax() - param.GetMin());
        return param.ChangeValue(static_cast<float>(param.GetMin()) + event.value * span, true);
    }
    case XParamEvent::kAddDelta:
    {
        float moved = static_cast<float>(param.GetValue()) + event.value;
        if (moved > param.GetMax())
            moved = static_cast<float>(param.GetMax());
        else if (moved < param.GetMin())
            moved = static_cast<float>(param.GetMin());
        param.ChangeValue(moved, true);
        return false;
    }
    case XParamEvent::kMoveSteps:
        return MoveBySteps(param, TruncToInt(event.value), wrapsOnStep);
    case XParamEvent::kEndEdit:
        param.EndEdit();
        return false;
    default:
        return false;
    }
}
} // namespace ParamEdits
