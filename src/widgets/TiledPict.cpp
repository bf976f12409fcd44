#include "widgets/TiledPict.h"

#include "gui/XCanvas.h"
#include "gui/XImage.h"

#include <cmath>
#include <cstdlib>

TiledPict::TiledPict(const XRect& frame, const char* imageName, uint32_t resizeMask)
    : XPict(frame, "", imageName, false)
{
    SetResizeMask(resizeMask);
}

TiledPict::~TiledPict() = default;

void TiledPict::Draw(XCanvas& canvas)
{
    const XImage* tile = GetImageAt(0);
    if (tile == nullptr || tile->GetWidth() <= 0 || tile->GetHeight() <= 0)
        return;
    const XRect bounds = GetBounds();
    const uint32_t rop = IsTransparent() ? XCanvas::kRopTransparent : XCanvas::kRopCopy;
    const double tileWidth = tile->GetWidth();
    const double tileHeight = tile->GetHeight();
    const auto columns = static_cast<int32_t>(std::ceil(std::abs(bounds.right - bounds.left) / tileWidth));
    const auto rows = static_cast<int32_t>(std::ceil(bounds.Height() / tileHeight));
    for (int32_t column = 0; column < columns; ++column)
    {
        const auto left = static_cast<int32_t>(tileWidth * column);
        const auto right = static_cast<int32_t>(tileWidth * column + tileWidth);
        for (int32_t row = 0; row < rows; ++row)
        {
            const auto top = static_cast<int32_t>(tileHeight * row);
            const auto bottom = static_cast<int32_t>(top + tileHeight);
            canvas.DrawImageInRect(tile, XRect(left, top, right, bottom), rop);
        }
    }
}
