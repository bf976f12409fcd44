#include "widgets/XQM7FrontPanelLEDMeter.h"

#include "core/XMessageCodes.h"
#include "core/XParam.h"

XQM7FrontPanelLEDMeter::XQM7FrontPanelLEDMeter(const XRect& frame, int32_t segmentCount,
                                               const char* unlitImage, const char* litImage, XParam* level,
                                               bool labelsLeft)
    : XLEDMeter(frame, segmentCount, unlitImage, litImage, level, labelsLeft)
{
}

XQM7FrontPanelLEDMeter::~XQM7FrontPanelLEDMeter()
{
    // Before the indicators go: no parameter may tell the meter anything from here on.
    XParam::ForgetWatcher(this);
}

bool XQM7FrontPanelLEDMeter::IsLowLit(const Indicator& indicator)
{
    return indicator.param != nullptr && indicator.param->GetValue() < indicator.threshold;
}

bool XQM7FrontPanelLEDMeter::IsHighLit(const Indicator& indicator)
{
    return indicator.param != nullptr && indicator.param->GetValue() >= indicator.threshold;
}

bool XQM7FrontPanelLEDMeter::WatchedForOtherRole(const XParam* param, const Indicator& leaving) const
{
    const Indicator& other = &leaving == &high ? low : high;
    return param == GetPot() || param == GetShowParam() || param == GetDisableParam() || param == other.param;
}

void XQM7FrontPanelLEDMeter::Retarget(Indicator& indicator, int32_t segment, XParam* param, double threshold,
                                      bool watchLevel)
{
    XParam* const old = indicator.param;
    if (old != nullptr && old != param && !WatchedForOtherRole(old, indicator))
        old->RemoveWatcher(this);
    RepaintSegment(indicator.segment);
    // Set before watching: the first notification already reads the indicator.
    indicator.param = param;
    indicator.threshold = threshold;
    indicator.segment = segment;
    indicator.lit = false;
    RepaintSegment(segment);
    if (param == nullptr || (!watchLevel && param == GetPot()))
        return;
    if (param->IsWatchedBy(this, 0))
        ParamChanged(static_cast<int32_t>(XMsgCode::kParamValueSet), param, 0);
    else
        param->AddWatcher(this, 0, true);
}

void XQM7FrontPanelLEDMeter::SetIndicator(int32_t segment, XParam* param, double threshold)
{
    Retarget(high, segment, param, threshold, false);
}

void XQM7FrontPanelLEDMeter::SetLowIndicator(int32_t segment, XParam* param, double threshold)
{
    Retarget(low, segment, param, threshold, true);
}

int32_t XQM7FrontPanelLEDMeter::ValueToPosition(XParam* param) const
{
    if (param != nullptr && param == low.param)
        return IsLowLit(low) ? 1 : 0;
    return XLEDMeter::ValueToPosition(param);
}

void XQM7FrontPanelLEDMeter::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && (param == low.param || param == high.param))
    {
        if (code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
        {
            for (Indicator* indicator : {&low, &high})
            {
                if (indicator->param == param)
                    *indicator = Indicator{nullptr, indicator->threshold, indicator->segment, false};
            }
        }
        else if (IsValueChangeCode(code))
        {
            if (param == low.param)
            {
                const bool lit = IsLowLit(low);
                if (lit != low.lit)
                {
                    low.lit = lit;
                    RepaintSegment(low.segment);
                }
                return;
            }
            const bool lit = IsHighLit(high);
            if (lit != high.lit)
            {
                high.lit = lit;
                RepaintSegment(high.segment);
            }
        }
    }
    XLEDMeter::ParamChanged(code, param, key);
}

void XQM7FrontPanelLEDMeter::Draw(XCanvas& canvas)
{
    XLEDMeter::Draw(canvas);
    if (!isVisible())
        return;
    for (Indicator* indicator : {&low, &high})
    {
        if (indicator->param == nullptr)
            continue;
        indicator->lit = indicator == &low ? IsLowLit(low) : IsHighLit(high);
        DrawSegment(canvas, indicator->segment, indicator->lit);
    }
}
