#pragma once

#include "gui/XView.h"

#include <cstddef>
#include <cstdint>
#include <new>

/** A circle outline in the view's fore colour, line width pixels thick, growing inwards (type word
    "circle"). Transparent from construction; the frame is made square on its shorter side when the
    description is read.

    Circles come from a memory pool of their own (operator new and delete; a derived class of another
    size goes to the general heap). GUI thread only. */
class XCircle : public XView
{
public:
    static constexpr int32_t kDefaultLineWidth = 1;

    XCircle();

    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block, std::size_t size) noexcept;
    /** Blocks of the pool handed out and not yet freed. */
    static int32_t CountPooledBlocks();

    int32_t GetLineWidth() const { return lineWidth; }

    /** The view's keys, then "linewidth" (taken when > 0); then the frame is made square. */
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;

private:
    int32_t lineWidth = kDefaultLineWidth;
};
