#include "widgets/XTouchKey.h"

#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"

namespace
{
bool keyHeld = false; // shared by all touch keys; GUI thread only
} // namespace

XTouchKey::XTouchKey()
{
    SetTransparent(true);
    SetMomentary(true);
    SetNoFocus(true);
    SetRepeatClick(true);
}

XTouchKey::~XTouchKey()
{
    if (down)
        keyHeld = false;
}

bool XTouchKey::IsAnyKeyHeld()
{
    return keyHeld;
}

bool XTouchKey::HasMessage() const
{
    return GetMessage() != nullptr;
}

void XTouchKey::ReadAttributes(XMessage& block)
{
    XButton::ReadAttributes(block);
    if (DescriptionItems::HasStyleWord(block, "notmomentary"))
        SetMomentary(false);
}

bool XTouchKey::MouseDown(const XPoint& point, int32_t button)
{
    if (down)
        return true;
    if (button != kButtonLeft || !IsEnabled())
        return XButton::MouseDown(point, button);
    down = point.x >= 0 && point.y >= 0 && point.x <= GetWidth() && point.y <= GetHeight();
    if (!down)
        return true;

    keyHeld = true;
    Invoke();
    XParam* param = GetPot();
    if (!HasMessage() && param != nullptr)
    {
        if (!IsMomentary())
        {
            param->SetValue(param->GetValue() == 0.0 ? 1.0 : 0.0, true);
            return true;
        }
        param->SetValue(1.0, true);
    }
    if (param == nullptr)
    {
        repeatCount = 0;
        StartTimer(kRepeatTimerId, kRepeatPeriodMs, false);
    }
    SetPosition(1);
    return true;
}

bool XTouchKey::MouseUp(const XPoint& point, int32_t button)
{
    if (!down)
        return XButton::MouseUp(point, button);
    down = false;
    StopTimer(kRepeatTimerId);
    repeatCount = 0;
    keyHeld = false;
    XParam* param = GetPot();
    if (IsMomentary() && param != nullptr && !HasMessage())
        param->SetValue(0.0, true);
    SetPosition(0);
    Invalidate();
    return true;
}

void XTouchKey::HandleTimer(int32_t timerId)
{
    if (timerId != kRepeatTimerId)
    {
        XButton::HandleTimer(timerId);
        return;
    }
    if (!IsEnabled() || !down || !IsVisible() || !keyHeld)
        return;
    ++repeatCount;
    if (repeatCount > kTicksBeforeRepeat)
        Invoke();
}
