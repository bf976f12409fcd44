#include "widgets/XWindowFrame.h"

#include "core/XMessage.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"

namespace
{
constexpr const char* kBackColourName = "windowBack";
constexpr const char* kTitleColourName = "windowTitleText";
} // namespace

XWindowFrame::XWindowFrame()
{
    XRGB colour;
    if (GetColorDictionary().FindColor(kBackColourName, colour) == XColorDictionary::kResultOk)
        SetBackColor(colour);
    if (GetColorDictionary().FindColor(kTitleColourName, colour) == XColorDictionary::kResultOk)
        SetForeColor(colour);
}

void XWindowFrame::SetFrameImage(const char* name, int32_t index)
{
    if (name == nullptr || index < 0 || index >= kImageSlotCount)
        return;
    if (XImage* image = GetResourceManager().GetImage(name))
        frameImages[index] = image;
}

XImage* XWindowFrame::GetFrameImage(int32_t index) const
{
    return index >= 0 && index < kImageSlotCount ? frameImages[index] : nullptr;
}

void XWindowFrame::ApplyStyle()
{
    if (XStyle* style = GetStyle())
        style->AdjustView(this);
}

void XWindowFrame::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    int32_t offset = 0;
    if (block.FindInt32("textvoffset", offset) == 0)
        textVOffset = offset;
}

void XWindowFrame::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    if (XStyle* style = GetStyle())
        style->DrawWindowFrame(this, GetBounds(), canvas);
}

void XWindowFrame::DrawTitleText(XCanvas& canvas, const XRect& rect)
{
    if (!IsVisible())
        return;
    PrepareCanvas(canvas);
    const XString title = GetName().ToUpper();
    XRGB shadow = GetForeColor();
    shadow.ScaleBrightness(kShadowBrightnessPercent);
    canvas.SetForeColor(shadow);
    canvas.DrawText(XRect(rect.left + 1, rect.top + textVOffset, rect.right + 1, rect.bottom + textVOffset),
                    title, XCanvas::kJustifyLeft);
    canvas.SetForeColor(GetForeColor());
    canvas.DrawText(XRect(rect.left, rect.top + textVOffset - 1, rect.right, rect.bottom + textVOffset - 1),
                    title, XCanvas::kJustifyLeft);
}
