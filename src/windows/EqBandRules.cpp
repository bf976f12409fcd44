#include "windows/EqBandRules.h"

#include "core/XMessageCodes.h"
#include "core/XParam.h"

#include <cmath>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
/** The draw types of the response view that the rules set. */
constexpr int32_t kDrawPeaking = 2;
constexpr int32_t kDrawLowPass12 = 3;
constexpr int32_t kDrawHighPass12 = 4;
constexpr int32_t kDrawLowPass6 = 7;
constexpr int32_t kDrawHighPass6 = 8;
constexpr int32_t kDrawLowShelf6 = 9;
constexpr int32_t kDrawHighShelf6 = 10;
constexpr int32_t kDrawLowShelf12 = 11;
constexpr int32_t kDrawHighShelf12 = 12;
constexpr int32_t kDrawAllPass1 = 29;
constexpr int32_t kDrawAllPass2 = 30;

int32_t IntegerOf(const XParam& param)
{
    return static_cast<int32_t>(param.GetValue());
}

/** Sets the range in place when it differs, then the step count (SetMin and SetMax recount it from
    the span); the value is left alone. */
void SetRange(XParam& param, double min, double max, uint32_t steps)
{
    if (param.GetMin() != min)
        param.SetMin(min);
    if (param.GetMax() != max)
        param.SetMax(max);
    if (param.GetCount() != steps)
        param.SetCount(steps);
}
} // namespace

int32_t EqBandRules::DrawType(int32_t type, int32_t slope)
{
    const bool steep = slope != 0;
    switch (type)
    {
    case kLowShelf:
        return steep ? kDrawLowShelf12 : kDrawLowShelf6;
    case kHighShelf:
        return steep ? kDrawHighShelf12 : kDrawHighShelf6;
    case kPeaking:
        return kDrawPeaking;
    case kLowPass:
        return steep ? kDrawLowPass12 : kDrawLowPass6;
    case kHighPass:
        return steep ? kDrawHighPass12 : kDrawHighPass6;
    case kAllPass1:
        return kDrawAllPass1;
    case kAllPass2:
        return kDrawAllPass2;
    default:
        return 0;
    }
}

bool EqBandRules::UsesGain(int32_t type)
{
    return type == kLowShelf || type == kHighShelf || type == kPeaking;
}

bool EqBandRules::ShowsSecondQ(int32_t type, int32_t slope)
{
    if (type == kAllPass2)
        return true;
    return (type == kLowPass || type == kHighPass) && slope == 1;
}

bool EqBandRules::UsesWideQ(int32_t type) const
{
    if (qPolicy == QPolicy::WideForPeakingOnly)
        return type == kPeaking;
    return type != kLowPass && type != kHighPass;
}

void EqBandRules::ApplyGainRange(XParam& gain, int32_t type) const
{
    if (UsesGain(type))
    {
        SetRange(gain, kGainMin, kGainMax, kGainSteps);
        return;
    }
    // The value first, while the range still holds it: a user change, so it reaches the unit.
    gain.ChangeValue(0.0, true);
    SetRange(gain, 0.0, 0.0, 1);
}

void EqBandRules::ApplyQRange(XParam& q, int32_t type) const
{
    const bool wide = UsesWideQ(type);
    SetRange(q, kQMin, wide ? kWideQMax : kNarrowQMax, wide ? kWideQSteps : kNarrowQSteps);
    const double value = q.GetValue();
    if (value > q.GetMax() || value < q.GetMin())
        q.ResetToDefault();
}

void EqBandRules::ApplyType(const Band& band, int32_t type) const
{
    const bool known = type >= kLowShelf && type <= kAllPass2;
    if (known && band.gain != nullptr)
        ApplyGainRange(*band.gain, type);
    const int32_t slope = band.slope != nullptr ? IntegerOf(*band.slope) : 1;
    if (band.drawType != nullptr)
    {
        // The shelves start as their plain codes here; the slope rule below makes them 6 or 12 dB/oct.
        const bool shelf = type == kLowShelf || type == kHighShelf;
        band.drawType->ChangeValue(shelf ? type : DrawType(type, slope), true);
    }
    if (band.q != nullptr)
        ApplyQRange(*band.q, type);
    ApplySlope(band, slope);
    if (band.qShown != nullptr)
        band.qShown->Notify(kValueSet);
}

void EqBandRules::ApplySlope(const Band& band, int32_t slope) const
{
    if (band.type == nullptr || band.drawType == nullptr)
        return;
    const int32_t type = IntegerOf(*band.type);
    if (band.qShown != nullptr)
        band.qShown->SetValue(ShowsSecondQ(type, slope) ? 1.0 : 0.0, true);
    if (type == kAllPass1 || type == kAllPass2 || type == kPeaking)
        return;
    if (type < kLowShelf || type > kHighPass)
        return;
    band.drawType->ChangeValue(DrawType(type, slope), true);
}
