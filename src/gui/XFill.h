#pragma once

#include "gui/ViewPool.h"
#include "gui/XView.h"

#include <cstdint>

/** A rectangle filled through the style (XStyle::FillBackground) in the view's fore colour; type
    word "fill". The "sunken" effect and its size are kept for styles that draw them.

    Fills are many and small: they come from a memory pool of their own (operator new and delete;
    a derived class of another size goes to the general heap). GUI thread only. */
class XFill : public XView, public PooledView<XFill>
{
public:
    static constexpr int32_t kEffectNone = 0;
    static constexpr int32_t kEffectSunken = 1;
    static constexpr int16_t kDefaultEffectSize = 4;

    XFill();

    int32_t GetEffect() const { return effect; }
    int16_t GetEffectSize() const { return effectSize; }

    /** The view's keys, then "effectsize" and "effect" ("sunken"). */
    void ReadAttributes(XMessage& block) override;
    /** While visible: the view's drawing, then the style's fill of the bounds. */
    void Draw(XCanvas& canvas) override;

private:
    int32_t effect = kEffectNone;
    int16_t effectSize = kDefaultEffectSize;
};
