#pragma once

#include "gui/XView.h"

#include <cstdint>

class XImage;

/** A window frame drawn inside a window's content by the style (type word "windowframe"), and the
    base of XTitleBar: it holds eight image slots that subclasses draw from and draws a title text
    (the view's name in capitals) over a darker shadow.

    The back colour starts as the colour dictionary's "windowBack" and the fore (title) colour as its
    "windowTitleText", where the dictionary has them. Images belong to the skin resource manager.
    GUI thread only. */
class XWindowFrame : public XView
{
public:
    static constexpr int32_t kImageSlotCount = 8;
    static constexpr int32_t kDefaultTextVOffset = 1;
    /** The shadow's brightness against the title colour (%). */
    static constexpr double kShadowBrightnessPercent = 40.0;

    XWindowFrame();

    /** Looks the skin image up by name and keeps it in the slot (0..7); nothing for a null name, a
        slot out of range or an image the skin lacks. */
    virtual void SetFrameImage(const char* name, int32_t index);
    /** The view's name in capitals, left-aligned in the rectangle shifted down by the text offset,
        over its shadow one pixel right and one down, in the fore colour scaled to 40 %. */
    virtual void DrawTitleText(XCanvas& canvas, const XRect& rect);

    XImage* GetFrameImage(int32_t index) const;
    int32_t GetTextVOffset() const { return textVOffset; }

    // XView ---------------------------------------------------------------------------------------

    /** The style's adjustment only. */
    void ApplyStyle() override;
    /** The view's keys, then "textvoffset". */
    void ReadAttributes(XMessage& block) override;
    /** While visible: the view's drawing, then the style's window frame of the bounds. */
    void Draw(XCanvas& canvas) override;

private:
    XImage* frameImages[kImageSlotCount] = {};
    int32_t textVOffset = kDefaultTextVOffset;
};
