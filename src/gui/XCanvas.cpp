#include "gui/XCanvas.h"

#include "gui/JUCECanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace
{
enum TriangleDirection
{
    kPointsUp = 0,
    kPointsDown = 1,
    kPointsRight = 2,
    kPointsLeft = 3
};

/** Triangles below this size draw nothing. */
constexpr int32_t kMinTriangleSize = 2;

uint8_t LimitChannel(float value)
{
    return static_cast<uint8_t>(std::clamp(std::floor(value), 0.0f, 255.0f));
}
} // namespace

XCanvas::XCanvas() = default;

XCanvas::~XCanvas() = default;

bool XCanvas::ReservedQuery4(int32_t, int32_t, int32_t, int32_t)
{
    return false;
}

bool XCanvas::ReservedQuery3(int32_t, int32_t, int32_t)
{
    return false;
}

void XCanvas::SetPort(int32_t newPort, int32_t newOriginX, int32_t newOriginY)
{
    port = newPort;
    originX = newOriginX;
    originY = newOriginY;
    left = 0;
    top = 0;
    PortChanged();
}

uint8_t XCanvas::GetOpacity() const
{
    return opacity;
}

bool XCanvas::GetTriangleVertices(int32_t x, int32_t y, int32_t size, int32_t direction,
                                  XPoint (&vertices)[3])
{
    const int32_t magnitude = std::abs(size);
    if (magnitude < kMinTriangleSize)
        return false;
    const int32_t h = magnitude / 2;
    switch (direction)
    {
    case kPointsUp:
        vertices[0] = {x - h, y + h};
        vertices[1] = {x, y - h};
        vertices[2] = {x + h, y + h};
        return true;
    case kPointsDown:
        vertices[0] = {x - h, y - h};
        vertices[1] = {x, y + h};
        vertices[2] = {x + h, y - h};
        return true;
    case kPointsRight:
        vertices[0] = {x - h, y - h};
        vertices[1] = {x + h, y};
        vertices[2] = {x - h, y + h};
        return true;
    case kPointsLeft:
        vertices[0] = {x + h, y - h};
        vertices[1] = {x - h, y};
        vertices[2] = {x + h, y + h};
        return true;
    default:
        return false;
    }
}

void XCanvas::DrawTriangle(int32_t x, int32_t y, int32_t size, int32_t direction)
{
    XPoint outer[3];
    if (!GetTriangleVertices(x, y, size, direction, outer))
        return;
    // Nested outlines, from the full triangle down to half-size 1, cover its inside.
    for (int32_t half = std::abs(size) / 2; half >= 1; --half)
    {
        XPoint v[3];
        GetTriangleVertices(x, y, half * 2, direction, v);
        for (int side = 0; side < 3; ++side)
        {
            const XPoint& from = v[side];
            const XPoint& to = v[(side + 1) % 3];
            DrawLine(from.x, from.y, to.x, to.y, 1, 1);
        }
    }
}

void XCanvas::FillGradientRect(const XRect& rect, const XRGB& colour1, const XRGB& colour2, bool vertical)
{
    const int32_t w = std::abs(rect.right - rect.left);
    const int32_t h = std::abs(rect.bottom - rect.top);
    const int32_t lines = vertical ? h : w;
    for (int32_t i = 0; i < lines; ++i)
    {
        XRGB colour;
        BlendColour(colour, colour1, colour2, lines > 1 ? static_cast<double>(i) / (lines - 1) : 0.0);
        if (vertical)
            FillRectColour(XRect(rect.left, rect.top + i, rect.left + w, rect.top + i + 1), colour);
        else
            FillRectColour(XRect(rect.left + i, rect.top, rect.left + i + 1, rect.top + h), colour);
    }
}

void XCanvas::FillRectAlpha(const XRect& rect, uint8_t alpha)
{
    if (alpha == kOpaque)
    {
        FillRect(rect);
        return;
    }
    const int32_t w = std::abs(rect.right - rect.left);
    const int32_t h = std::abs(rect.bottom - rect.top);
    if (w == 0 || h == 0)
        return;

    // The fore colour is filled into a scratch surface, which is then copied onto this canvas at the
    // alpha. When every scratch canvas is taken a temporary one does the same.
    JUCECanvas* scratch = AcquireScratchCanvas();
    std::unique_ptr<JUCECanvas> temporary;
    if (scratch == nullptr)
    {
        temporary = NewOffscreenCanvas(std::min(w, kScratchCanvasWidth), std::min(h, kScratchCanvasHeight));
        scratch = temporary.get();
    }
    const int32_t pieceWidth = std::min(w, scratch->GetWidth());
    const int32_t pieceHeight = std::min(h, scratch->GetHeight());
    const XRect filled(0, 0, pieceWidth, pieceHeight);
    scratch->SetForeColor(foreColor);
    scratch->ClearRect(filled);
    scratch->FillRect(filled);
    scratch->SetOpacity(alpha);
    for (int32_t y = 0; y < h; y += pieceHeight)
        for (int32_t x = 0; x < w; x += pieceWidth)
        {
            const int32_t cw = std::min(pieceWidth, w - x);
            const int32_t ch = std::min(pieceHeight, h - y);
            DrawCanvas(scratch, XRect(0, 0, cw, ch),
                       XRect(rect.left + x, rect.top + y, rect.left + x + cw, rect.top + y + ch), kRopCopy);
        }
    scratch->SetOpacity(kOpaque);
    if (temporary == nullptr)
        ReleaseScratchCanvas(scratch);
}

void XCanvas::FrameCircleInRect(const XRect& rect)
{
    const int32_t side = std::min(std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top));
    if (side <= 0)
        return;
    const int32_t radius = side / 2;
    FrameCircle(rect.left + radius, rect.top + radius, radius);
}

void XCanvas::FillPieInRect(const XRect& rect, float startRadians, float endRadians)
{
    FillPie(rect.left, rect.top, std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top),
            startRadians, endRadians);
}

void XCanvas::FramePieInRect(const XRect& rect, float startRadians, float endRadians)
{
    FramePie(rect.left, rect.top, std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top),
             startRadians, endRadians);
}

void XCanvas::FrameArcInRect(const XRect& rect, float startRadians, float endRadians)
{
    FrameArc(rect.left, rect.top, std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top),
             startRadians, endRadians);
}

void XCanvas::StrokePath(const juce::Path&, float) {}

void XCanvas::FillPath(const juce::Path&, const juce::FillType*) {}

void XCanvas::Reset()
{
    BeginReset();
    SetPort(0, 0, 0);
    SetDrawingOffset(0, 0);
    opacity = kOpaque;
    resampling = Resampling::kSmooth;
    EndReset();
}

XCanvasState XCanvas::GetState() const
{
    XCanvasState state;
    state.port = port;
    state.originX = originX;
    state.originY = originY;
    state.offsetX = offsetX;
    state.offsetY = offsetY;
    state.font = font;
    return state;
}

void XCanvas::SetState(const XCanvasState& state)
{
    port = state.port;
    originX = state.originX;
    originY = state.originY;
    offsetX = state.offsetX;
    offsetY = state.offsetY;
    font = state.font;
}

XRect XCanvas::GetBounds() const
{
    return XRect(left, top, left + width, top + height);
}

void XCanvas::SetDrawingOffset(int32_t x, int32_t y)
{
    offsetX = x;
    offsetY = y;
}

void XCanvas::MoveTo(int32_t x, int32_t y)
{
    penX = x;
    penY = y;
}

void XCanvas::SetSurfaceSize(int32_t newWidth, int32_t newHeight)
{
    width = newWidth;
    height = newHeight;
}

void XCanvas::DrawImageInRect(const XImage* image, const XRect& rect, uint32_t rop)
{
    const XRect source(0, 0, std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top));
    DrawImage(image, source, rect, rop);
}

void XCanvas::BlitImage(const XImage* image, const XRect& source, const XRect& destination, uint32_t rop)
{
    DrawImage(image, source, destination, rop);
}

void XCanvas::DrawBevel(const XRect& rect, const XRGB& colour1, const XRGB& colour2, int32_t edgeWidth)
{
    const int32_t e = edgeWidth;
    FillRect(XRect(rect.left + e, rect.top + e, rect.right - e + 1, rect.bottom - e + 1));
    DrawGradientEdge(XRect(rect.left, rect.top, rect.right, rect.top + e), colour2, colour1, true,
                     kEdgeShrinkingHorizontal);
    DrawGradientEdge(XRect(rect.left, rect.bottom - e + 1, rect.right, rect.bottom), colour1, colour2, true,
                     kEdgeGrowingHorizontal);
    DrawGradientEdge(XRect(rect.left, rect.top, rect.left + e, rect.bottom), colour2, colour1, false,
                     kEdgeShrinkingVertical);
    DrawGradientEdge(XRect(rect.right - e + 1, rect.top, rect.right, rect.bottom), colour1, colour2, false,
                     kEdgeGrowingVertical);
}

void XCanvas::DrawGradientEdge(const XRect& rect, const XRGB& from, const XRGB& to, bool horizontalLines,
                               int32_t shape)
{
    const int32_t n = horizontalLines ? std::abs(rect.bottom - rect.top) : std::abs(rect.right - rect.left);
    if (n == 0)
        return;
    float red = from.r;
    float green = from.g;
    float blue = from.b;
    const float redStep = (static_cast<float>(to.r) - from.r) / n;
    const float greenStep = (static_cast<float>(to.g) - from.g) / n;
    const float blueStep = (static_cast<float>(to.b) - from.b) / n;
    for (int32_t i = 0; i < n; ++i)
    {
        foreColor = XRGB(LimitChannel(red), LimitChannel(green), LimitChannel(blue), kOpaque);
        red += redStep;
        green += greenStep;
        blue += blueStep;

        // The line's two ends, both drawn.
        int32_t start = horizontalLines ? rect.left : rect.top;
        int32_t end = horizontalLines ? rect.right : rect.bottom;
        const int32_t growing = horizontalLines ? kEdgeGrowingHorizontal : kEdgeGrowingVertical;
        const int32_t shrinking = horizontalLines ? kEdgeShrinkingHorizontal : kEdgeShrinkingVertical;
        if (shape == growing)
        {
            start += n - i;
            end -= n - i;
        }
        else if (shape == shrinking)
        {
            start += i;
            end -= i;
        }
        if (start > end)
            continue; // an edge narrower than its depth leaves these lines out
        if (horizontalLines)
            FillRect(XRect(start, rect.top + i, end + 1, rect.top + i + 1));
        else
            FillRect(XRect(rect.left + i, start, rect.left + i + 1, end + 1));
    }
}

void BlendColour(XRGB& out, const XRGB& colour1, const XRGB& colour2, double fraction)
{
    const double f = std::clamp(fraction, 0.0, 1.0);
    const auto mix = [f](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a + (b - a) * f); };
    out = XRGB(mix(colour1.r, colour2.r), mix(colour1.g, colour2.g), mix(colour1.b, colour2.b),
               mix(colour1.a, colour2.a));
}
