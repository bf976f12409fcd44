#pragma once

#include "gui/ViewPool.h"
#include "gui/XView.h"

#include <cstdint>

/** A circle outline in the view's fore colour, line width pixels thick, growing inwards (type word
    "circle"). Transparent from construction; the frame is made square on its shorter side when the
    description is read.

    Circles come from a memory pool of their own (operator new and delete; a derived class of another
    size goes to the general heap). GUI thread only. */
class XCircle : public XView, public PooledView<XCircle>
{
public:
    static constexpr int32_t kDefaultLineWidth = 1;

    XCircle();

    int32_t GetLineWidth() const { return lineWidth; }

    /** The view's keys, then "linewidth" (taken when > 0); then the frame is made square. */
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;

private:
    int32_t lineWidth = kDefaultLineWidth;
};
