#include "core/XProxyParam.h"

#include "core/ParamEdits.h"
#include "core/XMessageCodes.h"
#include "core/XSmartLock.h"

#include <cmath>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kDestroyed = static_cast<int32_t>(XMsgCode::kParamDestroyed);
constexpr int32_t kVetoBegin = 0;
constexpr int32_t kVetoChange = 1;
constexpr int32_t kVetoEnd = 2;

} // namespace

XProxyParam::~XProxyParam()
{
    Retire();
}

template <typename Result, typename Fn> Result XProxyParam::WithTarget(Result neutral, Fn fn) const
{
    XSmartLock hold(GetParamLock());
    return target != nullptr ? fn(target) : neutral;
}

// Links, selector, target ------------------------------------------------------------------------------

void XProxyParam::AddLink(XParam* link)
{
    if (link == nullptr)
        return;
    XSmartLock hold(GetParamLock());
    links.push_back(link);
}

int32_t XProxyParam::GetLinkCount() const
{
    XSmartLock hold(GetParamLock());
    return static_cast<int32_t>(links.size());
}

void XProxyParam::SetSelector(XParam* newSelector)
{
    XSmartLock hold(GetParamLock());
    selector = newSelector;
}

XParam* XProxyParam::GetSelector() const
{
    XSmartLock hold(GetParamLock());
    return selector;
}

XParam* XProxyParam::GetTarget() const
{
    XSmartLock hold(GetParamLock());
    return target;
}

void XProxyParam::SelectTarget()
{
    XSmartLock hold(GetParamLock());
    if (selector == nullptr)
        return;
    const double value = selector->GetValue();
    if (!(value >= 0.0))
        return;
    const double index = std::trunc(value);
    XParam* chosen = index < static_cast<double>(links.size()) ? links[static_cast<size_t>(index)] : nullptr;
    XParam* previous = target;
    target = chosen;
    if (ParamsDiffer(chosen, previous))
        Notify(kValueSet);
}

void XProxyParam::HandleParamEvent(int32_t code, XParam* source, int32_t key)
{
    if (source == nullptr)
        return;
    XSmartLock hold(GetParamLock());
    if (IsValueChangeCode(code))
    {
        if (source == target)
            Notify(code);
        if (source == selector)
            SelectTarget();
    }
    else if (code == kDestroyed)
    {
        if (source == target)
            target = nullptr;
        if (source == selector)
        {
            target = nullptr;
            selector = nullptr;
        }
    }
}

int32_t XProxyParam::NotifyParamChanged(int32_t code, XParam* param, int32_t key)
{
    {
        XSmartLock hold(GetParamLock());
        if (param != nullptr && param == target)
        {
            NotifyWatchersNow(kValueSet);
            return 0;
        }
    }
    return XParam::NotifyParamChanged(code, param, key);
}

int32_t XProxyParam::GetType() const
{
    return WithTarget(XParamDesc::kTypeProxy, [](XParam* t) { return t->GetType(); });
}

void XProxyParam::SetVetoCallback(ParamVetoCallback callback, int32_t user)
{
    vetoCallback = callback;
    vetoUser = user;
}

// Forwarded values ---------------------------------------------------------------------------------------

XString XProxyParam::GetDisplayTextOf(double value) const
{
    return WithTarget(XString(), [&](XParam* t) { return t->GetDisplayTextOf(value); });
}

XString XProxyParam::GetDisplayText() const
{
    return WithTarget(XString(), [](XParam* t) { return t->GetDisplayText(); });
}

double XProxyParam::GetMin() const
{
    return WithTarget(0.0, [](XParam* t) { return t->GetMin(); });
}

double XProxyParam::GetMax() const
{
    return WithTarget(1.0, [](XParam* t) { return t->GetMax(); });
}

uint32_t XProxyParam::GetCount() const
{
    return WithTarget(uint32_t{1}, [](XParam* t) { return t->GetCount(); });
}

bool XProxyParam::IsToggle() const
{
    return WithTarget(false, [](XParam* t) { return t->IsToggle(); });
}

double XProxyParam::IndexToValue(int32_t index) const
{
    return WithTarget(0.0, [&](XParam* t) { return t->IndexToValue(index); });
}

int32_t XProxyParam::ValueToIndex(double value) const
{
    return WithTarget(int32_t{0}, [&](XParam* t) { return t->ValueToIndex(value); });
}

double XProxyParam::GetValue() const
{
    return WithTarget(0.0, [](XParam* t) { return t->GetValue(); });
}

double XProxyParam::GetDefault() const
{
    return WithTarget(0.0, [](XParam* t) { return t->GetDefault(); });
}

XString XProxyParam::ValueToText(double value) const
{
    return WithTarget(XString(), [&](XParam* t) { return t->ValueToText(value); });
}

XString XProxyParam::GetText() const
{
    return WithTarget(XString(), [](XParam* t) { return t->GetText(); });
}

bool XProxyParam::ChangeText(const char* text, bool notify)
{
    return WithTarget(false, [&](XParam* t) { return t->ChangeText(text, notify); });
}

bool XProxyParam::SetText(const char* text, bool notify)
{
    return WithTarget(false, [&](XParam* t) { return t->SetText(text, notify); });
}

bool XProxyParam::SetValue(double value, bool notify)
{
    return WithTarget(false, [&](XParam* t) { return t->SetValue(value, notify); });
}

bool XProxyParam::SetValueNow(double value, bool notify)
{
    return WithTarget(false, [&](XParam* t) { return t->SetValueNow(value, notify); });
}

bool XProxyParam::ResetToDefault()
{
    return WithTarget(false, [](XParam* t) { return t->ResetToDefault(); });
}

bool XProxyParam::StepBy(int32_t steps, bool notify)
{
    return WithTarget(false, [&](XParam* t) { return t->StepBy(steps, notify); });
}

XParam* XProxyParam::GetSelf()
{
    return WithTarget(static_cast<XParam*>(nullptr), [](XParam* t) { return t->GetSelf(); });
}

// Edits -----------------------------------------------------------------------------------------------------

bool XProxyParam::AskVeto(double* value, int32_t phase)
{
    return vetoCallback(this, value, vetoUser, phase);
}

bool XProxyParam::BeginEdit()
{
    if (vetoCallback != nullptr)
    {
        double value = 0.0;
        return AskVeto(&value, kVetoBegin);
    }
    return WithTarget(false, [](XParam* t) { return t->BeginEdit(); });
}

bool XProxyParam::EndEdit()
{
    if (vetoCallback != nullptr)
    {
        double value = 0.0;
        return AskVeto(&value, kVetoEnd);
    }
    return WithTarget(false, [](XParam* t) { return t->EndEdit(); });
}

bool XProxyParam::IsEditing() const
{
    return false;
}

bool XProxyParam::ChangeValue(double value, bool notify)
{
    if (vetoCallback != nullptr && !AskVeto(&value, kVetoChange))
        return false;
    return WithTarget(false, [&](XParam* t) { return t->ChangeValue(value, notify); });
}

bool XProxyParam::ApplyEvent(XParamEvent* event)
{
    if (event == nullptr)
        return false;
    if (vetoCallback == nullptr)
        return WithTarget(false, [&](XParam* t) { return t->ApplyEvent(event); });
    return ParamEdits::ApplyEvent(*this, *event, false);
}
