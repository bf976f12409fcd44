#pragma once

#include "gui/XCanvas.h"

#include <juce_graphics/juce_graphics.h>
#include <memory>

/** Size of the scratch canvases. */
constexpr int32_t kScratchCanvasWidth = 1600;
constexpr int32_t kScratchCanvasHeight = 1200;
/** Number of scratch canvases in the pool. */
constexpr int kScratchCanvasCount = 3;

/** XCanvas drawn with JUCE: either around the juce::Graphics that a component's paint receives (for
    the length of that paint; the graphics is not owned), or owning an off-screen ARGB image and the
    graphics that draws into it (the LCD view, the scratch canvases).

    GUI thread only. A canvas without graphics (an off-screen canvas of size 0) draws nothing. */
class JUCECanvas : public XCanvas
{
public:
    /** Draws with graphics, whose surface is width x height pixels. */
    JUCECanvas(juce::Graphics& graphics, int32_t width, int32_t height);
    /** Owns a cleared (transparent) ARGB image of that size; no image when a side is not positive. */
    JUCECanvas(int32_t width, int32_t height);
    ~JUCECanvas() override;

    bool ReservedQuery() override { return false; }
    void LineTo(int32_t x, int32_t y) override;
    void* ReservedPointerQuery() override { return nullptr; }
    int32_t ReservedQuery2(int32_t, int32_t) override { return 0; }
    int32_t ReservedQuery1(int32_t) override { return 0; }
    void FrameRect(const XRect& rect) override;
    void FillRect(const XRect& rect) override;
    void FillRectColour(const XRect& rect, const XRGB& colour) override;
    void FrameRoundRect(const XRect& rect) override;
    void FillRoundRect(const XRect& rect) override;
    void EraseRect(const XRect& rect) override;
    void SetSize(int32_t width, int32_t height) override;
    void FrameCircle(int32_t cx, int32_t cy, int32_t r) override;
    void FillCircle(int32_t cx, int32_t cy, int32_t r) override;
    /** The circle stroked half a pixel inside the square, so a ring of nested squares leaves no gap. */
    void FrameCircleInRect(const XRect& rect) override;
    void DrawTriangle(int32_t x, int32_t y, int32_t size, int32_t direction) override;
    void DrawImage(const XImage* image, const XRect& source, const XRect& destination, uint32_t rop) override;
    void DrawCanvas(XCanvas* other, const XRect& source, const XRect& destination, uint32_t rop) override;
    void StretchImage(const XImage* image, const XRect& source, const XRect& destination) override;
    void CopyCanvas(XCanvas* other, const XRect& source, const XRect& destination, uint32_t rop) override;
    void ReservedHook1(int32_t) override {}
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t reserved1,
                  int32_t reserved2) override;
    void FillPie(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians, float endRadians) override;
    void FramePie(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians, float endRadians) override;
    void FrameArc(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians, float endRadians) override;
    void StrokePath(const juce::Path& path, float thickness) override;
    void FillPath(const juce::Path& path, const juce::FillType* brush) override;
    void ReservedHook2() override {}
    void BeginReset() override {}
    void EndReset() override {}
    void DrawText(const XRect& rect, const XString& text, int32_t justification) override;
    void DrawStringAt(XFont* font, int32_t x, int32_t y, const XString& text, int32_t count) override;
    void PortChanged() override {}

    /** True when the canvas owns its image. */
    bool OwnsImage() const { return ownsImage; }
    /** The owned image (a null image for a canvas that wraps a paint's graphics). */
    const juce::Image& GetImage() const { return image; }
    /** The graphics drawn with, null when there is none. */
    juce::Graphics* GetGraphics() const { return graphics; }
    /** Makes the part of the owned image transparent (drawing offset added); nothing when the canvas
        owns no image. */
    void ClearRect(const XRect& rect);

private:
    /** The rectangle as x, y, width, height with the drawing offset added. */
    juce::Rectangle<int> ToBox(const XRect& rect) const;
    /** The pie segment of the ellipse in the box, drawing offset added. */
    juce::Path PieSegment(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians,
                          float endRadians) const;
    void MakeImage(int32_t width, int32_t height);

    /** Declared before the graphics that draws into it, so that the graphics goes first. */
    juce::Image image;
    std::unique_ptr<juce::Graphics> ownGraphics;
    juce::Graphics* graphics = nullptr;
    bool ownsImage = false;
    /** Kept between triangles so that drawing one does not allocate. */
    juce::Path trianglePath;
};

/** A canvas that owns an ARGB image of that size. */
std::unique_ptr<JUCECanvas> NewOffscreenCanvas(int32_t width, int32_t height);

/** Takes a free canvas from the process's pool of three 1600 x 1200 scratch canvases (made on first
    use), reset; null when all three are taken. GUI thread only; the pool has no lock. */
JUCECanvas* AcquireScratchCanvas();
/** Gives a scratch canvas back (reset again and free); other canvases and null are ignored. */
void ReleaseScratchCanvas(XCanvas* canvas);
