#include "widgets/XMeterStick.h"

#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"

#include <algorithm>

namespace
{
/** The peak colour of a description that names none. */
constexpr XRGB kDescriptionPeakColour(180, 180, 40, 255);
} // namespace

XMeterStick::XMeterStick() : XFaderBar() {}

XMeterStick::XMeterStick(const XRect& frame, XParam* param, const XRGB& foreColour, const XRGB& backColour)
    : XFaderBar()
{
    SetFrame(frame);
    SetPot(param);
    SetForeColor(foreColour);
    SetBackColor(backColour);
}

XMeterStick::XMeterStick(const XRect& frame, XParam* param, const char* trackImage, const char* knobImage)
    : XFaderBar()
{
    SetFrame(frame);
    SetPot(param);
    SetTrackImage(trackImage);
    SetKnobImage(knobImage);
}

bool XMeterStick::WatchedOtherwise(XParam* param) const
{
    return param == GetPot() || param == GetShowParam() || param == GetDisableParam() ||
           param == peakHoldParam;
}

void XMeterStick::SetPeakParam(XParam* param)
{
    if (param == peakParam)
        return;
    if (peakParam != nullptr && !WatchedOtherwise(peakParam))
        peakParam->RemoveWatcher(this);
    peakParam = param;
    if (param != nullptr && !param->IsWatchedBy(this, 0))
        param->AddWatcher(this, 0, false);
    Invalidate();
}

XParam* XMeterStick::PeakHoldParam()
{
    if (peakHoldParam == nullptr)
    {
        peakHoldParam = FindParam("%s", kPeakHoldParamPath);
        if (peakHoldParam != nullptr && !peakHoldParam->IsWatchedBy(this, 0))
            peakHoldParam->AddWatcher(this, 0, false);
    }
    return peakHoldParam;
}

XRect XMeterStick::GetPeakRect(int32_t position) const
{
    const XRect bounds = GetBounds();
    if (IsVertical())
    {
        const int32_t y = std::max(0, bounds.bottom - position);
        return XRect(bounds.left, y, bounds.right, y + 1);
    }
    const int32_t x = bounds.left + position;
    return XRect(x, bounds.top, x + 1, bounds.bottom);
}

int32_t XMeterStick::ValueToPosition(XParam* param) const
{
    if (param == nullptr)
        return 0;
    if (!inverseValue)
        return XControl::ValueToPosition(param);
    return static_cast<int32_t>((1.0 - param->GetNormalised()) * GetPixelRange());
}

void XMeterStick::ReadAttributes(XMessage& block)
{
    XFaderBar::ReadAttributes(block);
    if (XParam* peak = DescriptionItems::FindParamItem(block, "peakparam"))
        SetPeakParam(peak);
    DescriptionItems::FindFlag(block, "inverseValue", inverseValue);
    if (!DescriptionItems::FindColour(block, "peakColor", peakColor))
        peakColor = kDescriptionPeakColour;
}

void XMeterStick::Draw(XCanvas& canvas)
{
    XFaderBar::Draw(canvas);
    if (!isVisible() || peakParam == nullptr)
        return;
    XParam* peakHold = PeakHoldParam();
    if (peakHold == nullptr || peakHold->GetValue() == 0.0)
        return;
    const int32_t position = ValueToPosition(peakParam);
    const XRect mark = GetPeakRect(position);
    XRGB ends = peakColor;
    ends.ScaleBrightness(kPeakEndPercent);
    canvas.FillRectColour(mark, ends);
    const XRect middle =
        IsVertical() ? XRect(mark.left + kPeakEndLength, mark.top, mark.right - kPeakEndLength, mark.bottom)
                     : XRect(mark.left, mark.top + kPeakEndLength, mark.right, mark.bottom - kPeakEndLength);
    if (!middle.IsEmpty())
        canvas.FillRectColour(middle, peakColor);
    lastPeakPosition = position;
}

bool XMeterStick::MouseDown(const XPoint&, int32_t)
{
    return true;
}

bool XMeterStick::MouseWheel(const XPoint&, int32_t)
{
    return true;
}

void XMeterStick::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const auto what = static_cast<uint32_t>(code);
    if (param != nullptr && (param == peakParam || param == peakHoldParam))
    {
        const bool peak = param == peakParam;
        if (what == XMsgCode::kParamDestroyed)
        {
            if (peak)
                peakParam = nullptr;
            else
                peakHoldParam = nullptr;
            if (!WatchedOtherwise(param) && param != peakParam)
                param->RemoveWatcher(this);
            Invalidate();
        }
        else if (IsValueChangeCode(code) && peak)
        {
            const int32_t position = ValueToPosition(param);
            if (position != lastPeakPosition)
                RepaintRect(GetPeakRect(lastPeakPosition).Union(GetPeakRect(position)));
        }
        else if (IsValueChangeCode(code))
        {
            // Peak Hold switched: the marks appear or go.
            Invalidate();
        }
        if (param != GetPot() && param != GetShowParam() && param != GetDisableParam())
            return;
    }
    XFaderBar::ParamChanged(code, param, key);
}
