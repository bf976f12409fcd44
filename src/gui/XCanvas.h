#pragma once

#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XRect.h"

#include <cstdint>

class JUCECanvas;
class XFont;
class XImage;
class XString;

namespace juce
{
class FillType;
class Path;
} // namespace juce

/** The settings that XCanvas::GetState copies out and XCanvas::SetState puts back. */
struct XCanvasState
{
    int32_t port = 0;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    XFont* font = nullptr;
};

/** The framework's abstract drawing surface: every view draws on one. It carries the drawing state
    (fore and back colour, font, text justification, drawing offset, pen, opacity) and declares the
    drawing operations; JUCECanvas draws them with JUCE.

    Rectangles are XRect (left, top, right exclusive, bottom exclusive); widths and heights are taken
    as absolute differences, and every drawing operation adds the drawing offset to the rectangles
    and points it receives. Fills and lines ignore the opacity; images and canvases are drawn at it.
    Canvases are used on the GUI thread only. The font is not owned (fonts live for the process). */
class XCanvas
{
public:
    /** Raster operations that image drawing passes; the canvas accepts and ignores them. */
    static constexpr uint32_t kRopCopy = 0xCC0020;
    static constexpr uint32_t kRopTransparent = 0xC000CA;
    static constexpr uint8_t kOpaque = 255;
    /** Text justification (juce::Justification's flags). */
    static constexpr int32_t kJustifyLeft = 0x01;
    static constexpr int32_t kJustifyRight = 0x02;
    static constexpr int32_t kJustifyCentred = 0x04;
    static constexpr int32_t kJustifyTop = 0x08;
    static constexpr int32_t kJustifyBottom = 0x10;
    static constexpr int32_t kJustifyVerticallyCentred = 0x20;
    static constexpr int32_t kJustifyVerticalMask = 0x38;
    /** In a DrawText justification: several lines, split at line feeds. */
    static constexpr int32_t kMultiLine = 0x100;
    /** DrawText's justification that means "the canvas's justification flags". */
    static constexpr int32_t kUseCanvasJustification = -1;

    /** How StretchImage resamples: smoothly, or by nearest neighbour, which keeps each source pixel
        a crisp block (a mirrored pixel display). */
    enum class Resampling
    {
        kSmooth,
        kNearest
    };

    XCanvas();
    XCanvas(const XCanvas&) = delete;
    XCanvas& operator=(const XCanvas&) = delete;

    // Virtual operations, in slot order --------------------------------------------------------

    virtual ~XCanvas();
    /** Reserved query; no caller relies on its answer. */
    virtual bool ReservedQuery() = 0;
    /** Draws from the pen position to x, y; the pen moves there. */
    virtual void LineTo(int32_t x, int32_t y) = 0;
    /** Reserved queries; false. */
    virtual bool ReservedQuery4(int32_t a, int32_t b, int32_t c, int32_t d);
    virtual bool ReservedQuery3(int32_t a, int32_t b, int32_t c);
    /** Stores the port and origin, sets the bounds' left and top to 0, then calls PortChanged. */
    virtual void SetPort(int32_t port, int32_t originX, int32_t originY);
    virtual uint8_t GetOpacity() const;
    /** Reserved queries; no caller relies on their answers. */
    virtual void* ReservedPointerQuery() = 0;
    virtual int32_t ReservedQuery2(int32_t a, int32_t b) = 0;
    virtual int32_t ReservedQuery1(int32_t a) = 0;
    /** A 1-pixel outline inside the rectangle in the fore colour. */
    virtual void FrameRect(const XRect& rect) = 0;
    virtual void FillRect(const XRect& rect) = 0;
    virtual void FillRectColour(const XRect& rect, const XRGB& colour) = 0;
    virtual void FrameRoundRect(const XRect& rect) = 0;
    virtual void FillRoundRect(const XRect& rect) = 0;
    /** Fills with the back colour. */
    virtual void EraseRect(const XRect& rect) = 0;
    /** Gives a canvas that owns its surface a new blank surface of that size (when it differs). */
    virtual void SetSize(int32_t width, int32_t height) = 0;
    /** Outline and fill of the circle of radius r around cx, cy. */
    virtual void FrameCircle(int32_t cx, int32_t cy, int32_t r) = 0;
    virtual void FillCircle(int32_t cx, int32_t cy, int32_t r) = 0;
    /** The outline of the largest circle in the rectangle's top-left square (side: the smaller of
        width and height); nothing for an empty rectangle. The default is FrameCircle. */
    virtual void FrameCircleInRect(const XRect& rect);
    /** A filled triangle of half-size |size| / 2 around x, y pointing up (0), down (1), right (2) or
        left (3); other directions and |size| < 2 draw nothing. The default nests outlines drawn with
        DrawLine. */
    virtual void DrawTriangle(int32_t x, int32_t y, int32_t size, int32_t direction);
    /** A colour ramp from colour1 to colour2, top to bottom when vertical, else left to right; the
        fore colour is unchanged. */
    virtual void FillGradientRect(const XRect& rect, const XRGB& colour1, const XRGB& colour2, bool vertical);
    /** The fore colour at alpha (0..255) over what is there; 255 is FillRect. */
    virtual void FillRectAlpha(const XRect& rect, uint8_t alpha);
    /** The part of the image at the source's top-left, unscaled at the destination's top-left, no
        larger than either rectangle or the image; at this canvas's opacity. */
    virtual void DrawImage(const XImage* image, const XRect& source, const XRect& destination,
                           uint32_t rop) = 0;
    /** The other canvas's surface part at that canvas's opacity: unscaled when the rectangles have
        the same size (limited to the other surface), else scaled into the destination. */
    virtual void DrawCanvas(XCanvas* other, const XRect& source, const XRect& destination, uint32_t rop) = 0;
    /** The source part scaled into the destination; when the destination is more than 8 times as
        wide as the source, source-wide pieces are drawn side by side instead. */
    virtual void StretchImage(const XImage* image, const XRect& source, const XRect& destination) = 0;
    virtual void CopyCanvas(XCanvas* other, const XRect& source, const XRect& destination, uint32_t rop) = 0;
    /** Reserved hook. */
    virtual void ReservedHook1(int32_t a) = 0;
    /** A line in the fore colour, one pixel wide for pen width 1, else the pen width thick. Callers
        pass 1, 1 for the two last arguments, which are not used. */
    virtual void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t reserved1,
                          int32_t reserved2) = 0;
    /** FillPie on the rectangle's x, y, width and height. */
    virtual void FillPieInRect(const XRect& rect, float startRadians, float endRadians);
    /** A filled pie segment of the ellipse in the box (angles clockwise from twelve o'clock). */
    virtual void FillPie(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians,
                         float endRadians) = 0;
    virtual void FramePieInRect(const XRect& rect, float startRadians, float endRadians);
    virtual void FramePie(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians,
                          float endRadians) = 0;
    virtual void FrameArcInRect(const XRect& rect, float startRadians, float endRadians);
    virtual void FrameArc(int32_t x, int32_t y, int32_t w, int32_t h, float startRadians,
                          float endRadians) = 0;
    /** Strokes the path in the fore colour; nothing by default. */
    virtual void StrokePath(const juce::Path& path, float thickness);
    /** Fills the path with the brush, or the fore colour when brush is null; nothing by default. */
    virtual void FillPath(const juce::Path& path, const juce::FillType* brush);
    /** Reserved hook. */
    virtual void ReservedHook2() = 0;
    /** Hooks called first and last by Reset. */
    virtual void BeginReset() = 0;
    virtual void EndReset() = 0;
    /** Text in the font and fore colour in the rectangle. justification -1 takes the canvas's flags;
        without a vertical flag the text is vertically centred; kMultiLine draws the text's lines
        (split at LF or CR LF, one blank after each line break dropped) left-aligned, the first line
        one line below the rectangle's top. Nothing without a font. */
    virtual void DrawText(const XRect& rect, const XString& text, int32_t justification) = 0;
    /** One line of text with its baseline at x, y, cut to count characters or padded with blanks to
        count (a negative count draws the whole text); nothing without a font or for an empty text. */
    virtual void DrawStringAt(XFont* font, int32_t x, int32_t y, const XString& text, int32_t count) = 0;
    virtual void PortChanged() = 0;

    // State ------------------------------------------------------------------------------------

    /** BeginReset, SetPort(0, 0, 0), drawing offset 0, 0, opacity 255, smooth resampling, EndReset. */
    void Reset();
    XCanvasState GetState() const;
    void SetState(const XCanvasState& state);

    int32_t GetPort() const { return port; }
    int32_t GetOriginX() const { return originX; }
    int32_t GetOriginY() const { return originY; }
    int32_t GetWidth() const { return width; }
    int32_t GetHeight() const { return height; }
    /** left, top, left + width, top + height. */
    XRect GetBounds() const;

    const XRGB& GetForeColor() const { return foreColor; }
    void SetForeColor(const XRGB& colour) { foreColor = colour; }
    const XRGB& GetBackColor() const { return backColor; }
    void SetBackColor(const XRGB& colour) { backColor = colour; }
    XFont* GetFont() const { return font; }
    void SetFont(XFont* newFont) { font = newFont; }
    uint8_t GetJustification() const { return justification; }
    void SetJustification(uint8_t flags) { justification = flags; }
    int32_t GetOffsetX() const { return offsetX; }
    int32_t GetOffsetY() const { return offsetY; }
    void SetDrawingOffset(int32_t x, int32_t y);
    /** Moves the pen (the start of LineTo) without drawing. */
    void MoveTo(int32_t x, int32_t y);
    int32_t GetPenX() const { return penX; }
    int32_t GetPenY() const { return penY; }
    int32_t GetPenWidth() const { return penWidth; }
    void SetPenWidth(int32_t widthInPixels) { penWidth = widthInPixels; }
    void SetOpacity(uint8_t newOpacity) { opacity = newOpacity; }
    const XRGB& GetKeyColor() const { return keyColor; }
    void SetKeyColor(const XRGB& colour) { keyColor = colour; }
    /** Smooth until set; Reset makes it smooth again. */
    Resampling GetResampling() const { return resampling; }
    void SetResampling(Resampling mode) { resampling = mode; }

    // Drawing built on the operations ----------------------------------------------------------

    /** DrawImage of the image's top-left part, the rectangle's size, at the rectangle. */
    void DrawImageInRect(const XImage* image, const XRect& rect, uint32_t rop);
    /** DrawImage; the transparent operation also hands the key colour over, which changes nothing. */
    void BlitImage(const XImage* image, const XRect& source, const XRect& destination, uint32_t rop);
    /** The rectangle inset by edgeWidth filled in the fore colour, then four gradient edges from
        colour2 outside to colour1 inside (top and left edgeWidth deep, bottom and right one less).
        The fore colour is left at the last edge line's colour. */
    void DrawBevel(const XRect& rect, const XRGB& colour1, const XRGB& colour2, int32_t edgeWidth);
    /** Shapes of DrawGradientEdge: lines that grow or shrink by one pixel at both ends. */
    static constexpr int32_t kEdgeGrowingHorizontal = 1;
    static constexpr int32_t kEdgeShrinkingHorizontal = 2;
    static constexpr int32_t kEdgeGrowingVertical = 3;
    static constexpr int32_t kEdgeShrinkingVertical = 4;
    /** A colour ramp of one-pixel lines (far ends included) from the from colour towards the to
        colour, which is never reached; horizontal lines run top to bottom, vertical ones left to
        right, shaped by shape (see the constants). The fore colour is left at the last line's. */
    void DrawGradientEdge(const XRect& rect, const XRGB& from, const XRGB& to, bool horizontalLines,
                          int32_t shape);

protected:
    /** The surface size, set by the canvas that owns or wraps the surface. */
    void SetSurfaceSize(int32_t newWidth, int32_t newHeight);
    /** The corners of DrawTriangle's triangle of half-size |size| / 2; false when it draws nothing. */
    static bool GetTriangleVertices(int32_t x, int32_t y, int32_t size, int32_t direction,
                                    XPoint (&vertices)[3]);

private:
    int32_t port = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t originX = 0;
    int32_t originY = 0;
    XRGB foreColor;
    XRGB backColor;
    XFont* font = nullptr;
    uint8_t justification = kJustifyLeft;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t penX = 0;
    int32_t penY = 0;
    int32_t penWidth = 1;
    uint8_t opacity = kOpaque;
    XRGB keyColor;
    Resampling resampling = Resampling::kSmooth;
};

/** out = colour1 + (colour2 - colour1) x fraction per channel (alpha included), fraction limited to
    0..1. */
void BlendColour(XRGB& out, const XRGB& colour1, const XRGB& colour2, double fraction);
