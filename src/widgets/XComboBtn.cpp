#include "widgets/XComboBtn.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"

#include <algorithm>

XComboBtn::XComboBtn(const XRect& frame, const char* image, const char* upImageIn, const char* downImageIn,
                     XParam* paramIn)
    : XButton(frame, static_cast<XParam*>(nullptr), image, nullptr, nullptr),
      upImage(upImageIn != nullptr ? upImageIn : ""), downImage(downImageIn != nullptr ? downImageIn : ""),
      param(paramIn), referenceHeight(GetHeight())
{
    SetNoFocus(true);
    if (param != nullptr)
        param->AddWatcher(this, 0, false);
}

XComboBtn::~XComboBtn()
{
    StopTimer(kSpinTimerId);
    // Before the button's parts go: no parameter may call into it while it is torn down.
    XParam::ForgetWatcher(this);
}

int32_t XComboBtn::RepeatStep(int32_t tick, int32_t baseStep)
{
    if (tick < 7)
        return 0;
    if (tick <= 10)
        return tick == 9 ? 1 : 0;
    if (tick <= 17)
        return tick % 2 == 0 ? 1 : 0;
    if (tick <= 23)
        return baseStep;
    if (tick <= 31)
        return 2 * baseStep;
    if (tick <= 39)
        return 3 * baseStep;
    if (tick <= 47)
        return 4 * baseStep;
    if (tick <= 59)
        return 8 * baseStep;
    return 16 * baseStep;
}

int32_t XComboBtn::BaseStep() const
{
    if (param == nullptr || param->GetType() != XParamDesc::kTypeFrequency || !IsMatchMode())
        return 1;
    return std::max(1, static_cast<int32_t>(param->GetValue() / kFrequencyStepDivisor));
}

void XComboBtn::Step(int32_t delta)
{
    if (param == nullptr || delta == 0)
        return;
    const double before = param->GetValue();
    if (directStep)
    {
        param->SetValue(std::clamp(before + delta, param->GetMin(), param->GetMax()), true);
        return;
    }
    param->StepBy(delta, true);
    if (param->GetValue() != before)
        return;
    if (delta < 0)
    {
        param->SetValue(param->GetMin(), true);
        return;
    }
    if (before != param->GetMin())
        return;
    // The walk ends with the last index: a parameter whose every index gives the minimum stays.
    const uint32_t count = param->GetCount();
    for (uint32_t index = 1; index < count; ++index)
    {
        const double value = param->IndexToValue(static_cast<int32_t>(index));
        if (value == before)
            continue;
        param->SetValue(value, true);
        if (param->GetValue() != before)
            return;
    }
}

bool XComboBtn::MouseDown(const XPoint& point, int32_t button)
{
    XView* window = GetWindow();
    XView* capture = window != nullptr ? window->GetCaptureView() : nullptr;
    if (capture != nullptr && capture != this)
        return true;
    if (button != kButtonLeft || IsPressed() || !IsEnabled())
        return XButton::MouseDown(point, button);

    XButton::MouseDown(point, button);
    repeatCount = 0;
    StartTimer(kSpinTimerId, kSpinPeriodMs, false);
    // A press exactly at half the height is in the lower half.
    up = point.y * 2 < referenceHeight;
    SetImage(nullptr, up ? upImage.CStr() : downImage.CStr(), nullptr);
    Step(up ? 1 : -1);
    return true;
}

bool XComboBtn::MouseUp(const XPoint& point, int32_t button)
{
    StopTimer(kSpinTimerId);
    return XButton::MouseUp(point, button);
}

void XComboBtn::HandleTimer(int32_t timerId)
{
    if (timerId != kSpinTimerId)
    {
        XButton::HandleTimer(timerId);
        return;
    }
    ++repeatCount;
    const int32_t step = RepeatStep(repeatCount, BaseStep());
    if (step != 0)
        Step(up ? step : -step);
}

void XComboBtn::ParamChanged(int32_t code, XParam* changed, int32_t key)
{
    if (changed != nullptr && changed == param)
    {
        const auto what = static_cast<uint32_t>(code);
        if (what == XMsgCode::kParamFlagsChanged || what == XMsgCode::kRefresh)
        {
            ShowLockState();
            return;
        }
        if (what == XMsgCode::kParamDestroyed)
            param = nullptr;
    }
    XButton::ParamChanged(code, changed, key);
}

void XComboBtn::ShowLockState()
{
    const XParam* lockMode = FindParam("%s", kLockModeParamPath);
    if (lockMode != nullptr && lockMode->GetValue() != 0.0)
    {
        SetHilite(false);
        SetTooltipText(kPresetLockedText);
        return;
    }
    if (param != nullptr && (param->GetFlags() & kParamLockedFlag) != 0)
    {
        SetHilite(false);
        SetTooltipText(kParamLockedText);
        return;
    }
    const XString tooltip = GetTooltipText();
    if (tooltip == kPresetLockedText || tooltip == kParamLockedText)
    {
        SetHilite(true);
        SetTooltipText(XString());
    }
}
