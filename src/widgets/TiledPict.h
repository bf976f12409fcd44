#pragma once

#include "gui/XPict.h"

#include <cstdint>

/** A picture that repeats its image over its whole area, so that a background keeps its texture at
    any size (the main window's background below the toolbar). Its first image is the tile; tiles
    start at the view's top-left corner and the last column and row are clipped by the view. Without
    an image it draws nothing and the parent shows through. GUI thread only. */
class TiledPict : public XPict
{
public:
    /** The picture of the named skin image on the frame (the frame keeps its size), with the resize
        mask (15: it stretches with its parent on every edge). */
    TiledPict(const XRect& frame, const char* imageName, uint32_t resizeMask);
    ~TiledPict() override;

    /** Whole tiles from the top-left corner, ceil(width / tile width) columns by
        ceil(height / tile height) rows; copied, or merged where the view is transparent. */
    void Draw(XCanvas& canvas) override;
};
