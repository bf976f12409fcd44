#include "gui/XColorPicker.h"

#include "core/XParam.h"
#include "gui/GuiHelpers.h"
#include "gui/XCanvas.h"

namespace
{
constexpr XRGB kOutlineColour(0, 0, 0, 255);
constexpr int kGreenShift = 8;
constexpr int kBlueShift = 16;
constexpr uint32_t kByteMask = 0xFF;
} // namespace

XColorPicker::~XColorPicker()
{
    // Before the picker's part goes: no parameter may call into it while it is torn down.
    XParam::ForgetWatcher(this);
}

uint32_t XColorPicker::PackColour(const XRGB& colour)
{
    return static_cast<uint32_t>(colour.r) | (static_cast<uint32_t>(colour.g) << kGreenShift) |
           (static_cast<uint32_t>(colour.b) << kBlueShift);
}

XRGB XColorPicker::UnpackColour(uint32_t position)
{
    return XRGB(static_cast<uint8_t>(position & kByteMask),
                static_cast<uint8_t>((position >> kGreenShift) & kByteMask),
                static_cast<uint8_t>((position >> kBlueShift) & kByteMask));
}

void XColorPicker::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    XControl::Draw(canvas);
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    canvas.SetForeColor(GetForeColor());
    canvas.FillRect(bounds);
    canvas.SetForeColor(kOutlineColour);
    canvas.FrameRect(bounds);
}

bool XColorPicker::MouseDown(const XPoint& point, int32_t button)
{
    const bool handled = XControl::MouseDown(point, button);
    if (!IsEnabled())
        return handled;
    XRGB colour = GetForeColor();
    if (ChooseSystemColour(colour))
        SetPosition(static_cast<int32_t>(PackColour(colour)));
    FocusChanged(true);
    return true;
}

void XColorPicker::SetPosition(int32_t position)
{
    SetForeColor(UnpackColour(static_cast<uint32_t>(position)));
    XControl::SetPosition(position);
}

int32_t XColorPicker::GetPixelRange() const
{
    if (XParam* param = GetPot())
        return static_cast<int32_t>(param->GetCount());
    return kUnboundPixelRange;
}
