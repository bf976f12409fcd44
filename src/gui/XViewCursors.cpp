#include "gui/XViewCursors.h"

#include "gui/JUCEShutdownHook.h"
#include "gui/XResourceManager.h"

namespace
{
const XCursorImage kImages[XViewCursors::kImageCount] = {
    {XViewCursors::kToolEraser, "eraser.png", 2, 1},
    {XViewCursors::kToolMagnify, "magnify.png", 5, 5},
    {XViewCursors::kToolShrink, "shrink.png", 5, 5},
    {XViewCursors::kToolPencil, "pencil.png", 0, 0},
    {XViewCursors::kToolDown, "down.png", 15, 15},
    {XViewCursors::kToolUp, "up.png", 15, 15},
    {XViewCursors::kToolFadeIn, "fadeIn.png", 15, 15},
    {XViewCursors::kToolFadeOut, "fadeOut.png", 16, 15},
    {XViewCursors::kToolIBeamLeft, "ibeamL.png", 15, 15},
    {XViewCursors::kToolIBeamRight, "ibeamR.png", 15, 15},
};

const juce::Colour kInk(0xFF101010);
const juce::Colour kFace(0xFFF4F4F4);
const juce::Colour kEraserFace(0xFFF0A0B0);
const juce::Colour kPencilWood(0xFFE8C070);
constexpr float kOutline = 1.5f;

/** Fills the path in face colour and outlines it in ink, so it reads on dark and light views. */
void Shape(juce::Graphics& g, const juce::Path& path, juce::Colour face)
{
    g.setColour(face);
    g.fillPath(path);
    g.setColour(kInk);
    g.strokePath(path, juce::PathStrokeType(kOutline));
}

/** A magnifying glass whose lens centre is the hot spot; plus draws a '+' in the lens, else '-'. */
void DrawLens(juce::Graphics& g, bool plus)
{
    juce::Path handle;
    handle.addLineSegment({9.0f, 9.0f, 17.0f, 17.0f}, 3.5f);
    Shape(g, handle, kFace);
    juce::Path lens;
    lens.addEllipse(1.0f, 1.0f, 9.0f, 9.0f);
    Shape(g, lens, kFace);
    g.setColour(kInk);
    g.drawLine(3.0f, 5.5f, 8.0f, 5.5f, 1.2f);
    if (plus)
        g.drawLine(5.5f, 3.0f, 5.5f, 8.0f, 1.2f);
}

/** An arrow through the centre pointing down or up. */
void DrawArrow(juce::Graphics& g, bool down)
{
    juce::Path arrow;
    arrow.startNewSubPath(12.0f, 4.0f);
    arrow.lineTo(19.0f, 4.0f);
    arrow.lineTo(19.0f, 17.0f);
    arrow.lineTo(25.0f, 17.0f);
    arrow.lineTo(15.5f, 27.0f);
    arrow.lineTo(6.0f, 17.0f);
    arrow.lineTo(12.0f, 17.0f);
    arrow.closeSubPath();
    if (!down)
        arrow.applyTransform(juce::AffineTransform::verticalFlip(31.0f));
    Shape(g, arrow, kFace);
}

/** A ramp across the centre rising to the right (fade in) or falling (fade out). */
void DrawFade(juce::Graphics& g, bool rising)
{
    juce::Path ramp;
    ramp.startNewSubPath(4.0f, 24.0f);
    ramp.lineTo(28.0f, 24.0f);
    ramp.lineTo(28.0f, 7.0f);
    ramp.closeSubPath();
    if (!rising)
        ramp.applyTransform(juce::AffineTransform::scale(-1.0f, 1.0f).translated(32.0f, 0.0f));
    Shape(g, ramp, kFace);
    g.setColour(kInk);
    g.fillRect(15, 14, 2, 3);
}

/** A text beam centred on the hot spot with a bracket on the left or right side. */
void DrawBeam(juce::Graphics& g, bool left)
{
    juce::Path beam;
    beam.addRectangle(14.5f, 7.0f, 3.0f, 18.0f);
    beam.addRectangle(11.0f, 5.0f, 10.0f, 3.0f);
    beam.addRectangle(11.0f, 24.0f, 10.0f, 3.0f);
    Shape(g, beam, kFace);
    const float x = left ? 6.0f : 24.0f;
    juce::Path bracket;
    bracket.addRectangle(x, 9.0f, 2.5f, 14.0f);
    Shape(g, bracket, kInk);
}

void DrawEraser(juce::Graphics& g)
{
    juce::Path block;
    block.startNewSubPath(2.0f, 1.0f);
    block.lineTo(14.0f, 1.0f);
    block.lineTo(24.0f, 15.0f);
    block.lineTo(12.0f, 15.0f);
    block.closeSubPath();
    Shape(g, block, kEraserFace);
    g.setColour(kInk);
    g.drawLine(8.0f, 1.0f, 18.0f, 15.0f, 1.0f);
}

/** A closed hand, drawn here because JUCE's own dragging hand is decoded by its GIF loader, which
    indexes outside its code table on that picture (undefined behaviour). */
juce::Image DrawDraggingHand()
{
    constexpr int kSize = 20;
    juce::Image picture(juce::Image::ARGB, kSize, kSize, true, juce::SoftwareImageType());
    juce::Graphics g(picture);
    juce::Path hand;
    hand.addRoundedRectangle(4.0f, 7.0f, 11.0f, 9.0f, 3.0f);
    for (int finger = 0; finger < 4; ++finger)
        hand.addEllipse(4.0f + 2.8f * static_cast<float>(finger), 4.5f, 3.2f, 5.0f);
    hand.addEllipse(1.5f, 8.0f, 4.5f, 3.5f);
    Shape(g, hand, kFace);
    return picture;
}

juce::MouseCursor DraggingHandCursor()
{
    constexpr int kHotSpotX = 8;
    constexpr int kHotSpotY = 7;
    // Made once and kept until JUCE shuts down; the hook, made after the cursor (and so after the
    // display connection), deletes it before that connection closes.
    static juce::MouseCursor* cursor = nullptr;
    if (cursor == nullptr)
    {
        cursor = new juce::MouseCursor(DrawDraggingHand(), kHotSpotX, kHotSpotY);
        JUCEShutdownHook::Add(
            []
            {
                delete cursor;
                cursor = nullptr;
            });
    }
    return *cursor;
}

void DrawPencil(juce::Graphics& g)
{
    juce::Path body;
    body.startNewSubPath(0.0f, 0.0f);
    body.lineTo(7.0f, 3.0f);
    body.lineTo(24.0f, 20.0f);
    body.lineTo(20.0f, 24.0f);
    body.lineTo(3.0f, 7.0f);
    body.closeSubPath();
    Shape(g, body, kPencilWood);
    g.setColour(kInk);
    g.fillEllipse(-1.0f, -1.0f, 4.0f, 4.0f);
}
} // namespace

const XCursorImage* XViewCursors::FindImage(int32_t tool)
{
    for (const XCursorImage& image : kImages)
    {
        if (image.tool == tool)
            return &image;
    }
    return nullptr;
}

const XCursorImage& XViewCursors::GetImage(int index)
{
    return kImages[juce::jlimit(0, kImageCount - 1, index)];
}

juce::MouseCursor XViewCursors::CursorForTool(int32_t tool)
{
    using Cursor = juce::MouseCursor;
    switch (tool)
    {
    case kToolIBeam:
        return Cursor(Cursor::IBeamCursor);
    case kToolCrosshair:
        return Cursor(Cursor::CrosshairCursor);
    case kToolWait:
        return Cursor(Cursor::WaitCursor);
    case kToolDraggingHand:
        return DraggingHandCursor();
    case kToolLeftRightResize:
        return Cursor(Cursor::LeftRightResizeCursor);
    case kToolUpDownResize:
        return Cursor(Cursor::UpDownResizeCursor);
    case kToolPointingHand:
        return Cursor(Cursor::PointingHandCursor);
    default:
        break;
    }
    if (const XCursorImage* image = FindImage(tool))
        return GetResourceManager().GetCursor(image->fileName, image->hotSpotX, image->hotSpotY);
    return Cursor(Cursor::NormalCursor);
}

juce::Image XViewCursors::DrawImage(int index)
{
    juce::Image picture(juce::Image::ARGB, kImageSize, kImageSize, true, juce::SoftwareImageType());
    juce::Graphics g(picture);
    switch (GetImage(index).tool)
    {
    case kToolEraser:
        DrawEraser(g);
        break;
    case kToolMagnify:
        DrawLens(g, true);
        break;
    case kToolShrink:
        DrawLens(g, false);
        break;
    case kToolPencil:
        DrawPencil(g);
        break;
    case kToolDown:
        DrawArrow(g, true);
        break;
    case kToolUp:
        DrawArrow(g, false);
        break;
    case kToolFadeIn:
        DrawFade(g, true);
        break;
    case kToolFadeOut:
        DrawFade(g, false);
        break;
    case kToolIBeamLeft:
        DrawBeam(g, true);
        break;
    default:
        DrawBeam(g, false);
        break;
    }
    return picture;
}

int XViewCursors::WriteImages(const juce::File& folder)
{
    if (!folder.createDirectory())
        return 0;
    int written = 0;
    for (int index = 0; index < kImageCount; ++index)
    {
        const juce::File file = folder.getChildFile(GetImage(index).fileName);
        file.deleteFile();
        juce::FileOutputStream out(file);
        if (out.openedOk() && juce::PNGImageFormat().writeImageToStream(DrawImage(index), out))
            ++written;
    }
    return written;
}
