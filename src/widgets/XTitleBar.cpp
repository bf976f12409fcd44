#include "widgets/XTitleBar.h"

#include "gui/XCanvas.h"
#include "gui/XImage.h"

namespace
{
/** The skin's title-bar pieces, in slot order. */
constexpr const char* kTitleBarImages[] = {
    "Widgets\\windowBg\\titleBarLeft.png",
    "Widgets\\windowBg\\titleBarRight.png",
    "Widgets\\windowBg\\titleBarMid.png",
};
} // namespace

XTitleBar::XTitleBar() = default;

void XTitleBar::ApplyStyle()
{
    XWindowFrame::ApplyStyle();
    for (int32_t slot = kLeftSlot; slot <= kMiddleSlot; ++slot)
    {
        if (GetFrameImage(slot) == nullptr)
            SetFrameImage(kTitleBarImages[slot], slot);
    }
    if (const XImage* left = GetFrameImage(kLeftSlot))
    {
        const XRect frame = GetFrame();
        SetFrame(XRect(frame.left, frame.top, frame.right, frame.top + left->GetHeight()));
    }
}

XRect XTitleBar::GetMiddleRect() const
{
    const XImage* left = GetFrameImage(kLeftSlot);
    const XImage* right = GetFrameImage(kRightSlot);
    if (left == nullptr || right == nullptr || GetFrameImage(kMiddleSlot) == nullptr)
        return XRect();
    return XRect(left->GetWidth(), 0, GetWidth() - right->GetWidth(), left->GetHeight());
}

void XTitleBar::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    const XRect bounds = GetBounds();
    PrepareCanvas(canvas);
    canvas.EraseRect(bounds);
    const XImage* left = GetFrameImage(kLeftSlot);
    const XImage* right = GetFrameImage(kRightSlot);
    const XImage* middle = GetFrameImage(kMiddleSlot);
    if (left == nullptr || right == nullptr || middle == nullptr)
        return;
    canvas.DrawImage(left, left->GetBounds(), left->GetBounds(), XCanvas::kRopCopy);
    const XRect rightRect(bounds.right - right->GetWidth(), 0, bounds.right, right->GetHeight());
    canvas.DrawImage(right, right->GetBounds(), rightRect, XCanvas::kRopCopy);
    const XRect middleRect = GetMiddleRect();
    canvas.StretchImage(middle, middle->GetBounds(), middleRect);
    DrawTitleText(canvas, middleRect);
}
