#include "gui/JUCECanvas.h"

#include "core/XString.h"
#include "core/XStringConversion.h"
#include "gui/JUCEShutdownHook.h"
#include "gui/XFont.h"
#include "gui/XImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace
{
constexpr float kRoundRectFrameCorner = 3.0f;
constexpr float kRoundRectFillCorner = 1.0f;
constexpr float kOutlineThickness = 1.0f;
/** Destination widths above this many source widths are tiled by StretchImage, not scaled. */
constexpr int32_t kMaxStretchFactor = 8;

float OpacityOf(uint8_t opacity)
{
    return static_cast<float>(opacity) / 255.0f;
}

bool IsInverted(const XRect& rect)
{
    return rect.left > rect.right || rect.top > rect.bottom;
}

juce::Rectangle<int> SizeOf(const XRect& rect)
{
    return {rect.left, rect.top, std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top)};
}

/** Draws the w x h part of image at sx, sy unscaled at dx, dy, leaving out what lies outside the
    image (the rest keeps its place). */
void DrawUnscaled(juce::Graphics& g, const juce::Image& image, int dx, int dy, int sx, int sy, int w, int h)
{
    const auto wanted = juce::Rectangle<int>(sx, sy, w, h);
    const auto inside = wanted.getIntersection(image.getBounds());
    if (inside.isEmpty())
        return;
    const int shiftX = inside.getX() - sx;
    const int shiftY = inside.getY() - sy;
    g.drawImage(image, dx + shiftX, dy + shiftY, inside.getWidth(), inside.getHeight(), inside.getX(),
                inside.getY(), inside.getWidth(), inside.getHeight());
}

/** The source part scaled into the destination; nothing for an empty side. */
void DrawScaled(juce::Graphics& g, const juce::Image& image, const juce::Rectangle<int>& destination,
                const juce::Rectangle<int>& source)
{
    if (destination.isEmpty() || source.isEmpty())
        return;
    g.drawImage(image, destination.getX(), destination.getY(), destination.getWidth(),
                destination.getHeight(), source.getX(), source.getY(), source.getWidth(), source.getHeight());
}

/** As DrawScaled, every destination pixel taking the nearest source pixel, edges
    included: the image is a fill of the whole-pixel destination, so nothing is smoothed. */
void DrawScaledNearest(juce::Graphics& g, const juce::Image& image, const juce::Rectangle<int>& destination,
                       const juce::Rectangle<int>& source, float opacity)
{
    if (destination.isEmpty() || source.isEmpty())
        return;
    const auto toDestination =
        juce::AffineTransform::translation(static_cast<float>(-source.getX()),
                                           static_cast<float>(-source.getY()))
            .scaled(static_cast<float>(destination.getWidth()) / static_cast<float>(source.getWidth()),
                    static_cast<float>(destination.getHeight()) / static_cast<float>(source.getHeight()))
            .translated(static_cast<float>(destination.getX()), static_cast<float>(destination.getY()));
    // JUCE's low quality takes the nearest source pixel; its others blend neighbours.
    g.setImageResamplingQuality(juce::Graphics::lowResamplingQuality);
    g.setFillType(juce::FillType(image, toDestination));
    g.setOpacity(opacity);
    g.fillRect(destination);
}

/** The text of a multi-line DrawText: CR LF read as LF, one blank after each line break dropped, and
    a leading line break that moves the first line one line down. */
juce::String MultiLineText(const XString& text)
{
    XString lines = text.ReplaceAll("\r\n", "\n");
    XString result("\r\n");
    for (int i = 0; i < lines.Length(); ++i)
    {
        const char c = lines.CharAt(static_cast<unsigned>(i));
        result += c;
        if (c == '\n' && lines.CharAt(static_cast<unsigned>(i + 1)) == ' ')
            ++i;
    }
    return ToJuceString(result);
}

struct ScratchSlot
{
    std::unique_ptr<JUCECanvas> canvas;
    bool free = true;
};

/** The scratch pool lives for the whole program (never destroyed); its free canvases, which hold
    JUCE images and graphics, are deleted when JUCE shuts down. GUI thread only. */
std::array<ScratchSlot, kScratchCanvasCount>& ScratchPool()
{
    static auto* pool = []
    {
        auto* made = new std::array<ScratchSlot, kScratchCanvasCount>();
        JUCEShutdownHook::Add(
            [made]
            {
                for (auto& slot : *made)
                    if (slot.free)
                        slot.canvas.reset();
            });
        return made;
    }();
    return *pool;
}
} // namespace

JUCECanvas::JUCECanvas(juce::Graphics& graphicsIn, int32_t width, int32_t height) : graphics(&graphicsIn)
{
    SetSurfaceSize(width, height);
}

JUCECanvas::JUCECanvas(int32_t width, int32_t height) : ownsImage(true)
{
    MakeImage(width, height);
}

JUCECanvas::~JUCECanvas()
{
    ownGraphics.reset();
}

void JUCECanvas::MakeImage(int32_t width, int32_t height)
{
    ownGraphics.reset();
    graphics = nullptr;
    if (width <= 0 || height <= 0)
    {
        image = juce::Image();
        SetSurfaceSize(0, 0);
        return;
    }
    image = juce::Image(juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    ownGraphics = std::make_unique<juce::Graphics>(image);
    graphics = ownGraphics.get();
    SetSurfaceSize(width, height);
}

juce::Rectangle<int> JUCECanvas::ToBox(const XRect& rect) const
{
    return SizeOf(rect).translated(GetOffsetX(), GetOffsetY());
}

void JUCECanvas::LineTo(int32_t x, int32_t y)
{
    DrawLine(GetPenX(), GetPenY(), x, y, 1, 1);
    MoveTo(x, y);
}

void JUCECanvas::FrameRect(const XRect& rect)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->drawRect(ToBox(rect), 1);
}

void JUCECanvas::FillRect(const XRect& rect)
{
    FillRectColour(rect, GetForeColor());
}

void JUCECanvas::FillRectColour(const XRect& rect, const XRGB& colour)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(colour.ToColour());
    graphics->fillRect(ToBox(rect));
}

void JUCECanvas::FrameRoundRect(const XRect& rect)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    // The outline runs through the centres of the rectangle's edge pixels, so it stays inside it.
    graphics->drawRoundedRectangle(ToBox(rect).toFloat().reduced(kOutlineThickness / 2),
                                   kRoundRectFrameCorner, kOutlineThickness);
}

void JUCECanvas::FillRoundRect(const XRect& rect)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->fillRoundedRectangle(ToBox(rect).toFloat(), kRoundRectFillCorner);
}

void JUCECanvas::EraseRect(const XRect& rect)
{
    FillRectColour(rect, GetBackColor());
}

void JUCECanvas::SetSize(int32_t width, int32_t height)
{
    if (!ownsImage || (width == GetWidth() && height == GetHeight()))
        return;
    MakeImage(width, height);
}

void JUCECanvas::FrameCircle(int32_t cx, int32_t cy, int32_t r)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->drawEllipse(static_cast<float>(cx - r + GetOffsetX()),
                          static_cast<float>(cy - r + GetOffsetY()), static_cast<float>(2 * r),
                          static_cast<float>(2 * r), kOutlineThickness);
}

void JUCECanvas::FrameCircleInRect(const XRect& rect)
{
    const int32_t side = std::min(std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top));
    if (graphics == nullptr || side <= 0)
        return;
    graphics->setColour(GetForeColor().ToColour());
    const juce::Rectangle<float> square(static_cast<float>(rect.left + GetOffsetX()),
                                        static_cast<float>(rect.top + GetOffsetY()), static_cast<float>(side),
                                        static_cast<float>(side));
    graphics->drawEllipse(square.reduced(kOutlineThickness / 2), kOutlineThickness);
}

void JUCECanvas::FillCircle(int32_t cx, int32_t cy, int32_t r)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->fillEllipse(static_cast<float>(cx - r + GetOffsetX()),
                          static_cast<float>(cy - r + GetOffsetY()), static_cast<float>(2 * r),
                          static_cast<float>(2 * r));
}

void JUCECanvas::DrawTriangle(int32_t x, int32_t y, int32_t size, int32_t direction)
{
    XPoint v[3];
    if (graphics == nullptr || !GetTriangleVertices(x + GetOffsetX(), y + GetOffsetY(), size, direction, v))
        return;
    trianglePath.clear();
    trianglePath.addTriangle(static_cast<float>(v[0].x), static_cast<float>(v[0].y),
                             static_cast<float>(v[1].x), static_cast<float>(v[1].y),
                             static_cast<float>(v[2].x), static_cast<float>(v[2].y));
    graphics->setColour(GetForeColor().ToColour());
    graphics->fillPath(trianglePath);
}

void JUCECanvas::DrawImage(const XImage* xImage, const XRect& source, const XRect& destination, uint32_t)
{
    if (graphics == nullptr || xImage == nullptr || !xImage->HasPicture() || IsInverted(destination))
        return;
    const juce::Image& picture = *xImage->GetJuceImage();
    const auto from = SizeOf(source);
    const auto to = ToBox(destination);
    const int w = std::min({from.getWidth(), to.getWidth(), picture.getWidth()});
    const int h = std::min({from.getHeight(), to.getHeight(), picture.getHeight()});
    if (w <= 0 || h <= 0)
        return;
    graphics->setOpacity(OpacityOf(GetOpacity()));
    DrawUnscaled(*graphics, picture, to.getX(), to.getY(), from.getX(), from.getY(), w, h);
    graphics->setOpacity(1.0f);
}

void JUCECanvas::DrawCanvas(XCanvas* other, const XRect& source, const XRect& destination, uint32_t)
{
    auto* otherCanvas = dynamic_cast<JUCECanvas*>(other);
    if (graphics == nullptr || otherCanvas == nullptr || IsInverted(destination) || !otherCanvas->ownsImage ||
        !otherCanvas->image.isValid())
        return;
    const juce::Image& picture = otherCanvas->image;
    const auto from = SizeOf(source);
    const auto to = ToBox(destination);
    graphics->setOpacity(OpacityOf(otherCanvas->GetOpacity()));
    if (from.getWidth() == to.getWidth() && from.getHeight() == to.getHeight())
    {
        const int w = std::min(to.getWidth(), otherCanvas->GetWidth() - from.getX());
        const int h = std::min(to.getHeight(), otherCanvas->GetHeight() - from.getY());
        if (w > 0 && h > 0)
            DrawUnscaled(*graphics, picture, to.getX(), to.getY(), from.getX(), from.getY(), w, h);
    }
    else
    {
        DrawScaled(*graphics, picture, to, from);
    }
    graphics->setOpacity(1.0f);
}

void JUCECanvas::StretchImage(const XImage* xImage, const XRect& source, const XRect& destination)
{
    if (graphics == nullptr || xImage == nullptr || !xImage->HasPicture())
        return;
    const juce::Image& picture = *xImage->GetJuceImage();
    const auto from = SizeOf(source);
    const auto to = ToBox(destination);
    if (from.isEmpty() || to.isEmpty())
        return;
    const float opacity = OpacityOf(GetOpacity());
    const bool nearest = GetResampling() == Resampling::kNearest;
    juce::Graphics::ScopedSaveState keepFill(*graphics);
    auto draw = [&](const juce::Rectangle<int>& part, const juce::Rectangle<int>& sourcePart)
    {
        if (nearest)
            DrawScaledNearest(*graphics, picture, part, sourcePart, opacity);
        else
            DrawScaled(*graphics, picture, part, sourcePart);
    };
    graphics->setOpacity(opacity);
    if (to.getWidth() / from.getWidth() > kMaxStretchFactor)
    {
        // Far wider than the source: source-wide pieces side by side (the last one cut), each
        // scaled to the destination's height only.
        for (int x = 0; x < to.getWidth(); x += from.getWidth())
        {
            const int pieceWidth = std::min(from.getWidth(), to.getWidth() - x);
            draw({to.getX() + x, to.getY(), pieceWidth, to.getHeight()},
                 {from.getX(), from.getY(), pieceWidth, from.getHeight()});
        }
    }
    else
    {
        draw(to, from);
    }
}

void JUCECanvas::CopyCanvas(XCanvas* other, const XRect& source, const XRect& destination, uint32_t rop)
{
    DrawCanvas(other, source, destination, rop);
}

void JUCECanvas::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t, int32_t)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    const int32_t ox = GetOffsetX();
    const int32_t oy = GetOffsetY();
    const int32_t thickness = std::max(GetPenWidth(), 1);
    if (thickness == 1 && (x1 == x2 || y1 == y2))
    {
        // Straight one-pixel lines cover exactly the pixels from one end to the other.
        graphics->fillRect(std::min(x1, x2) + ox, std::min(y1, y2) + oy, std::abs(x2 - x1) + 1,
                           std::abs(y2 - y1) + 1);
        return;
    }
    // Through the pixel centres, half a pixel longer at each end so that both end pixels are covered.
    juce::Point<float> from(static_cast<float>(x1 + ox) + 0.5f, static_cast<float>(y1 + oy) + 0.5f);
    juce::Point<float> to(static_cast<float>(x2 + ox) + 0.5f, static_cast<float>(y2 + oy) + 0.5f);
    const float length = from.getDistanceFrom(to);
    if (length > 0.0f)
    {
        const auto half = (to - from) * (0.5f / length);
        from -= half;
        to += half;
    }
    graphics->drawLine(juce::Line<float>(from, to), static_cast<float>(thickness));
}

juce::Path JUCECanvas::PieSegment(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians,
                                  float endRadians) const
{
    juce::Path pie;
    pie.addPieSegment(static_cast<float>(x + GetOffsetX()), static_cast<float>(y + GetOffsetY()),
                      static_cast<float>(w), static_cast<float>(h), startRadians, endRadians, 0.0f);
    return pie;
}

void JUCECanvas::FillPie(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians, float endRadians)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->fillPath(PieSegment(x, y, w, h, startRadians, endRadians));
}

void JUCECanvas::FramePie(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians, float endRadians)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->strokePath(PieSegment(x, y, w, h, startRadians, endRadians),
                         juce::PathStrokeType(kOutlineThickness));
}

void JUCECanvas::FrameArc(int32_t, int32_t, int32_t, int32_t, float, float) {}

void JUCECanvas::StrokePath(const juce::Path& path, float thickness)
{
    if (graphics == nullptr)
        return;
    graphics->setColour(GetForeColor().ToColour());
    graphics->strokePath(path, juce::PathStrokeType(thickness),
                         juce::AffineTransform::translation(static_cast<float>(GetOffsetX()),
                                                            static_cast<float>(GetOffsetY())));
}

void JUCECanvas::FillPath(const juce::Path& path, const juce::FillType* brush)
{
    if (graphics == nullptr)
        return;
    if (brush != nullptr)
        graphics->setFillType(*brush);
    else
        graphics->setColour(GetForeColor().ToColour());
    graphics->fillPath(path, juce::AffineTransform::translation(static_cast<float>(GetOffsetX()),
                                                                static_cast<float>(GetOffsetY())));
}

void JUCECanvas::DrawText(const XRect& rect, const XString& text, int32_t justification)
{
    XFont* font = GetFont();
    if (graphics == nullptr || font == nullptr)
        return;
    graphics->setFont(font->GetJuceFont());
    graphics->setColour(GetForeColor().ToColour());
    const auto box = ToBox(rect);
    // Any negative value stands for the canvas's own flags, which never select several lines.
    int32_t flags = justification < 0 ? GetJustification() : justification;
    if (justification >= 0 && (justification & kMultiLine) != 0)
    {
        graphics->drawMultiLineText(MultiLineText(text), box.getX(), box.getY(), box.getWidth());
        return;
    }
    if ((flags & kJustifyVerticalMask) == 0)
        flags |= kJustifyVerticallyCentred;
    graphics->drawText(ToJuceString(text), box, juce::Justification(flags & 0xFF), false);
}

void JUCECanvas::DrawStringAt(XFont* font, int32_t x, int32_t y, const XString& text, int32_t count)
{
    if (graphics == nullptr || font == nullptr || text.IsEmpty())
        return;
    juce::String line = ToJuceString(text);
    if (count >= 0)
        line = line.substring(0, count).paddedRight(' ', count);
    graphics->setFont(font->GetJuceFont());
    graphics->setColour(GetForeColor().ToColour());
    graphics->drawSingleLineText(line, x + GetOffsetX(), y + GetOffsetY());
}

void JUCECanvas::ClearRect(const XRect& rect)
{
    if (ownsImage && image.isValid())
        image.clear(ToBox(rect));
}

std::unique_ptr<JUCECanvas> NewOffscreenCanvas(int32_t width, int32_t height)
{
    return std::make_unique<JUCECanvas>(width, height);
}

JUCECanvas* AcquireScratchCanvas()
{
    for (auto& slot : ScratchPool())
    {
        if (!slot.free)
            continue;
        if (slot.canvas == nullptr)
            slot.canvas = NewOffscreenCanvas(kScratchCanvasWidth, kScratchCanvasHeight);
        slot.free = false;
        slot.canvas->Reset();
        return slot.canvas.get();
    }
    return nullptr;
}

void ReleaseScratchCanvas(XCanvas* canvas)
{
    if (canvas == nullptr)
        return;
    for (auto& slot : ScratchPool())
        if (slot.canvas.get() == canvas && !slot.free)
        {
            slot.canvas->Reset();
            slot.free = true;
            return;
        }
}
