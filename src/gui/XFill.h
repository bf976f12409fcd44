#pragma once

#include "gui/XView.h"

#include <cstddef>
#include <cstdint>
#include <new>

/** A rectangle filled through the style (XStyle::FillBackground) in the view's fore colour; type
    word "fill". The "sunken" effect and its size are kept for styles that draw them.

    Fills are many and small: they come from a memory pool of their own (operator new and delete;
    a derived class of another size goes to the general heap). GUI thread only. */
class XFill : public XView
{
public:
    static constexpr int32_t kEffectNone = 0;
    static constexpr int32_t kEffectSunken = 1;
    static constexpr int16_t kDefaultEffectSize = 4;

    XFill();

    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block, std::size_t size) noexcept;
    /** Blocks of the pool handed out and not yet freed. */
    static int32_t CountPooledBlocks();

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
