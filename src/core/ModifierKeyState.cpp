#include "core/ModifierKeyState.h"

#include "core/IAsyncKeyState.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"

namespace
{
constexpr int32_t kRightButtonState = 2;
constexpr int32_t kLeftButtonState = 1;

/** The parameter is looked up on every call rather than kept: the on-screen keyboard's parameters
    may be destroyed and made again, and a kept pointer would then dangle. */
bool IsForcedByParameter(const char* path)
{
    const XParam* param = ParamRegistry::Find(path);
    return param != nullptr && param->GetValue() != 0.0;
}

bool IsHeld(IAsyncKeyState::Key key)
{
    IAsyncKeyState* state = GetInstalledAsyncKeyState();
    return state != nullptr && state->IsDown(key);
}
} // namespace

bool IsShiftKeyDown()
{
    return IsForcedByParameter("dca\\shift") || IsHeld(IAsyncKeyState::Key::Shift);
}

bool IsControlKeyDown()
{
    return IsForcedByParameter("dca\\control") || IsHeld(IAsyncKeyState::Key::Control);
}

bool IsAltKeyDown()
{
    return IsForcedByParameter("dca\\alt") || IsHeld(IAsyncKeyState::Key::Alt);
}

int32_t GetMouseButtonState()
{
    if (IsHeld(IAsyncKeyState::Key::RightButton))
        return kRightButtonState;
    return IsHeld(IAsyncKeyState::Key::LeftButton) ? kLeftButtonState : 0;
}
