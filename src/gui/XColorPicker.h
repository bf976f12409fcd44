#pragma once

#include "gui/XControl.h"

#include <cstdint>

/** A small control that shows a colour and opens the colour dialog (ChooseSystemColour) when it is
    pressed. Its position is the colour packed as 0x00BBGGRR: SetPosition paints with that colour,
    and a colour confirmed in the dialog is applied through SetPosition, so the position signal
    carries it to whoever listens. Unbound, its pixel range is 100; bound, the parameter's step
    count. GUI thread; the dialog runs a modal loop. */
class XColorPicker : public XControl
{
public:
    static constexpr int32_t kUnboundPixelRange = 100;

    XColorPicker() = default;
    ~XColorPicker() override;

    /** The colour as a position: red in bits 0-7, green in 8-15, blue in 16-23. */
    static uint32_t PackColour(const XRGB& colour);
    static XRGB UnpackColour(uint32_t position);

    /** Background, the fore colour over the bounds, a one-pixel opaque black outline. */
    void Draw(XCanvas& canvas) override;
    /** The control's press; then, when enabled, the colour dialog, and the focus. */
    bool MouseDown(const XPoint& point, int32_t button) override;
    /** The fore colour becomes the packed colour (opaque), then the control's behaviour. */
    void SetPosition(int32_t position) override;
    int32_t GetPixelRange() const override;
};
