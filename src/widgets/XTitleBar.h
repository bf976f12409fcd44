#pragma once

#include "widgets/XWindowFrame.h"

/** A title bar (type word "titlebar") drawn from three skin images, a left end, a right end and a
    middle stretched between them, with the title text (the view's name in capitals) over its shadow
    in the middle. Images set before the style step are kept; the others come from the skin folder
    "Widgets\windowBg", and the bar takes the left image's height. A skin that lacks one of the three
    images shows only the back colour. GUI thread only. */
class XTitleBar : public XWindowFrame
{
public:
    static constexpr int32_t kLeftSlot = 0;
    static constexpr int32_t kRightSlot = 1;
    static constexpr int32_t kMiddleSlot = 2;

    XTitleBar();

    /** The middle area between the end images (left image's height); empty without all three. */
    XRect GetMiddleRect() const;

    /** The style's adjustment; empty slots take the skin's title-bar images and the height becomes
        the left image's. */
    void ApplyStyle() override;
    void Draw(XCanvas& canvas) override;
};
