#include "widgets/XFaderBar.h"

#include "core/XMessage.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"

#include <algorithm>

namespace
{
constexpr XRGB kFrameColour(0, 0, 0, 255);
/** simplerender leaves one pixel at each end of the range. */
constexpr int32_t kSimpleRenderTrim = 2;
constexpr const char* kSunkenEffect = "sunken";

struct ModeWord
{
    const char* word;
    int32_t mode;
};
const ModeWord kModeWords[] = {{"posNegDraw", XFaderBar::kModePosNeg},
                               {"growFromCenter", XFaderBar::kModeGrowFromCenter},
                               {"inverted", XFaderBar::kModeInverted},
                               {"panning", XFaderBar::kModePanning}};

/** The parts of inner before and after the fill along the bar (either may be empty). */
void UnfilledParts(const XRect& inner, const XRect& fill, bool vertical, XRect (&parts)[2])
{
    if (fill.IsEmpty())
    {
        parts[0] = inner;
        parts[1] = XRect();
        return;
    }
    if (vertical)
    {
        parts[0] = XRect(inner.left, inner.top, inner.right, std::max(inner.top, fill.top));
        parts[1] = XRect(inner.left, std::min(inner.bottom, fill.bottom), inner.right, inner.bottom);
    }
    else
    {
        parts[0] = XRect(inner.left, inner.top, std::max(inner.left, fill.left), inner.bottom);
        parts[1] = XRect(std::min(inner.right, fill.right), inner.top, inner.right, inner.bottom);
    }
}
} // namespace

XFaderBar::XFaderBar() : XSlider() {}

void XFaderBar::SetDrawMode(int32_t mode)
{
    drawMode = mode;
    if (mode == kModePanning)
        SetSimpleRender(true);
}

void XFaderBar::SetSunken(bool isSunken, int16_t size)
{
    sunken = isSunken;
    effectSize = size;
}

// Geometry ---------------------------------------------------------------------------------------

XRect XFaderBar::GetInnerRect() const
{
    XRect inner = GetBounds();
    if (sunken)
        inner = XRect(inner.left + effectSize, inner.top + effectSize, inner.right - effectSize,
                      inner.bottom - effectSize);
    return inner;
}

int32_t XFaderBar::GetPixelRange() const
{
    const XRect inner = GetInnerRect();
    const int32_t length = IsVertical() ? inner.bottom - inner.top : inner.right - inner.left;
    return std::max(0, length - (IsSimpleRender() ? kSimpleRenderTrim : 0));
}

int32_t XFaderBar::PointToPosition(const XPoint& point)
{
    const XRect inner = GetInnerRect();
    const bool inside =
        point.x >= inner.left && point.x < inner.right && point.y >= inner.top && point.y < inner.bottom;
    if (!isVisible() || GetPot() == nullptr || !inside)
        return 0;
    return IsVertical() ? inner.bottom - point.y : point.x - inner.left;
}

float XFaderBar::PointToNormalised(const XPoint& point)
{
    float value = XSlider::PointToNormalised(point);
    if (drawMode == kModeInverted)
        value = 1.0f - value;
    return std::clamp(value, 0.0f, 1.0f);
}

int32_t XFaderBar::FillEdge(int32_t position) const
{
    const XRect inner = GetInnerRect();
    if (drawMode == kModeInverted)
        return IsVertical() ? inner.top + position : inner.right - position;
    return IsVertical() ? inner.bottom - position : inner.left + position;
}

XRect XFaderBar::GetFillRect(int32_t position) const
{
    const XRect inner = GetInnerRect();
    const int32_t l = inner.left;
    const int32_t t = inner.top;
    const int32_t r = inner.right;
    const int32_t b = inner.bottom;
    const bool vertical = IsVertical();
    switch (drawMode)
    {
    case kModePosNeg:
    {
        // From the centre to the fill's edge, on whichever side the edge lies; position 0 is the
        // bottom of a vertical bar, as everywhere else on sliders.
        const int32_t edge = FillEdge(position);
        if (vertical)
        {
            const int32_t centre = t + (b - t) / 2;
            return XRect(l, std::min(centre, edge), r, std::max(centre, edge));
        }
        const int32_t centre = l + (r - l) / 2;
        return XRect(std::min(centre, edge), t, std::max(centre, edge), b);
    }
    case kModeGrowFromCenter:
    {
        const int32_t half = position / 2;
        return vertical ? XRect(l, t + half, r, b - half) : XRect(l + half, t, r - half, b);
    }
    case kModeInverted:
        return vertical ? XRect(l, t, r, t + position) : XRect(r - position, t, r, b);
    default:
        return vertical ? XRect(l, b - position, r, b) : XRect(l, t, l + position, b);
    }
}

XRect XFaderBar::GetNubRect(int32_t position) const
{
    if (nubImage == nullptr)
        return XRect();
    const XRect bounds = GetBounds();
    const int32_t width = nubImage->GetWidth();
    const int32_t height = nubImage->GetHeight();
    if (IsVertical())
    {
        const int32_t top = FillEdge(position) - height / 2;
        return XRect(bounds.left, top, bounds.right, top + height);
    }
    // Centred on the edge of the normal fill, mirrored to the right end in "inverted" mode.
    const int32_t centre = GetInnerRect().left + position;
    const XRect nub(centre - width + width / 2, bounds.top, centre + width / 2, bounds.bottom);
    if (drawMode != kModeInverted)
        return nub;
    return XRect(bounds.right - nub.right, bounds.top, bounds.right - nub.left, bounds.bottom);
}

// Attributes -------------------------------------------------------------------------------------

void XFaderBar::ReadAttributes(XMessage& block)
{
    XSlider::ReadAttributes(block);
    DescriptionItems::FindColour(block, "effectcolor", effectColor);
    const char* effect = nullptr;
    if (block.FindString("effect", effect) == 0)
        sunken = juce::String::fromUTF8(effect).trim().equalsIgnoreCase(kSunkenEffect);
    int32_t size = 0;
    if (block.FindInt32("effectsize", size) == 0)
        effectSize = static_cast<int16_t>(size);

    // A later mode word overrides an earlier one, so the words are read in the order written.
    for (const juce::String& word : DescriptionItems::StyleWords(block))
    {
        for (const ModeWord& mode : kModeWords)
        {
            if (word.equalsIgnoreCase(mode.word))
                SetDrawMode(mode.mode);
        }
    }
    if (DescriptionItems::HasStyleWord(block, "dashed"))
        dashed = true;
    if (drawMode == kModePosNeg && !DescriptionItems::FindColour(block, "hiliteforecolor", hiliteColor))
        hiliteColor = GetForeColor();
    if (dashed && !DescriptionItems::FindColour(block, "color1", dashColor))
        dashColor = GetBackColor();
    const char* nubName = nullptr;
    if (GetTrackImage() != nullptr && GetKnobImage() != nullptr && block.FindString("nubImage", nubName) == 0)
        nubImage = GetResourceManager().GetImage(nubName);
}

// Drawing ----------------------------------------------------------------------------------------

bool XFaderBar::DrawsImages() const
{
    return drawMode != kModeGrowFromCenter && GetTrackImage() != nullptr && GetKnobImage() != nullptr;
}

void XFaderBar::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    if (drawMode == kModePanning)
    {
        XSlider::Draw(canvas);
        return;
    }
    PrepareCanvas(canvas);
    const XRect inner = GetInnerRect();
    const XRect fill = GetFillRect(GetPosition());
    if (DrawsImages())
        DrawImages(canvas, fill, inner);
    else
        DrawColours(canvas, fill, inner);
}

void XFaderBar::DrawColours(XCanvas& canvas, const XRect& fill, const XRect& inner)
{
    const XRGB fore = canvas.GetForeColor();
    const XRGB back = canvas.GetBackColor();
    const XRect bounds = GetBounds();
    const bool vertical = IsVertical();

    canvas.SetForeColor(kFrameColour);
    canvas.FrameRect(bounds);
    if (sunken)
    {
        canvas.SetForeColor(back);
        canvas.DrawBevel(bounds, back, effectColor, effectSize);
    }

    XRect parts[2];
    UnfilledParts(inner, fill, vertical, parts);
    for (const XRect& part : parts)
    {
        if (!part.IsEmpty())
            canvas.EraseRect(part);
    }

    const int32_t innerLength = vertical ? inner.bottom - inner.top : inner.right - inner.left;
    const bool hilite = drawMode == kModePosNeg && GetPosition() >= innerLength / 2;
    canvas.SetForeColor(hilite ? hiliteColor : fore);
    if (!fill.IsEmpty())
        canvas.FillRect(fill);

    if (drawMode == kModePosNeg || drawMode == kModeGrowFromCenter)
    {
        // A one-pixel line across the bar at its centre.
        canvas.SetForeColor(kFrameColour);
        if (vertical)
        {
            const int32_t y = inner.top + innerLength / 2;
            canvas.FillRect(XRect(inner.left, y, inner.right, y + 1));
        }
        else
        {
            const int32_t x = inner.left + innerLength / 2;
            canvas.FillRect(XRect(x, inner.top, x + 1, inner.bottom));
        }
    }
    canvas.SetForeColor(fore);
}

void XFaderBar::DrawImages(XCanvas& canvas, const XRect& fill, const XRect& inner)
{
    XRect parts[2];
    UnfilledParts(inner, fill, IsVertical(), parts);
    for (const XRect& part : parts)
    {
        if (!part.IsEmpty())
            canvas.DrawImage(GetTrackImage(), part, part, XCanvas::kRopCopy);
    }
    if (!fill.IsEmpty())
        canvas.DrawImage(GetKnobImage(), fill, fill, XCanvas::kRopCopy);
    if (nubImage != nullptr)
    {
        const XRect nub = GetNubRect(GetPosition());
        if (!nub.IsEmpty())
            canvas.DrawImage(nubImage, nubImage->GetBounds(), nub, XCanvas::kRopCopy);
    }
}

// Repaint ----------------------------------------------------------------------------------------

void XFaderBar::RepaintPositionChange(int32_t oldPosition, int32_t newPosition)
{
    if (drawMode == kModePanning)
    {
        XSlider::RepaintPositionChange(oldPosition, newPosition);
        return;
    }
    if (drawMode == kModePosNeg || drawMode == kModeGrowFromCenter)
    {
        Invalidate();
        return;
    }
    const XRect inner = GetInnerRect();
    const int32_t from = std::min(FillEdge(oldPosition), FillEdge(newPosition));
    const int32_t to = std::max(FillEdge(oldPosition), FillEdge(newPosition));
    RepaintRect(IsVertical() ? XRect(inner.left, from, inner.right, to)
                             : XRect(from, inner.top, to, inner.bottom));
    if (nubImage != nullptr)
    {
        RepaintRect(GetNubRect(oldPosition));
        RepaintRect(GetNubRect(newPosition));
    }
}
