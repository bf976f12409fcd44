#pragma once

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>

/** One cursor that a view takes from the skin: the image file in the skin's "Cursors" folder and
    its hot spot. */
struct XCursorImage
{
    int32_t tool;
    const char* fileName;
    int32_t hotSpotX;
    int32_t hotSpotY;
};

/** The mouse cursors of the views: the cursor tool a view reports for a point (XView::GetCursorTool)
    becomes one of JUCE's standard cursors or an image cursor of the skin, and the pictures of the
    image cursors are drawn here so that the skin can be generated (WriteImages).

    GUI thread only: cursors come from the skin resource manager's cache. */
class XViewCursors
{
public:
    static constexpr int32_t kToolNormal = 0;
    static constexpr int32_t kToolIBeam = 1;
    static constexpr int32_t kToolCrosshair = 3;
    static constexpr int32_t kToolWait = 4;
    static constexpr int32_t kToolDraggingHand = 5;
    static constexpr int32_t kToolEraser = 6;
    static constexpr int32_t kToolLeftRightResize = 7;
    static constexpr int32_t kToolUpDownResize = 8;
    static constexpr int32_t kToolMagnify = 11;
    static constexpr int32_t kToolShrink = 12;
    static constexpr int32_t kToolPencil = 13;
    static constexpr int32_t kToolDown = 22;
    static constexpr int32_t kToolUp = 23;
    static constexpr int32_t kToolFadeIn = 24;
    static constexpr int32_t kToolFadeOut = 25;
    static constexpr int32_t kToolIBeamLeft = 26;
    static constexpr int32_t kToolIBeamRight = 27;
    static constexpr int32_t kToolPointingHand = 28;

    static constexpr int kImageCount = 10;
    /** Side of the square cursor pictures. */
    static constexpr int kImageSize = 32;

    /** The image cursor of a tool, null when the tool has a standard cursor or none. */
    static const XCursorImage* FindImage(int32_t tool);
    /** Image cursor index (0 .. kImageCount - 1). */
    static const XCursorImage& GetImage(int index);

    /** The cursor of a tool: JUCE's standard cursor (the dragging hand is drawn here), the skin's
        image cursor (the arrow when the skin lacks the image), or the normal cursor for any other
        tool. */
    static juce::MouseCursor CursorForTool(int32_t tool);

    /** The picture of image cursor index: kImageSize square, transparent, dark outlines on light
        shapes, the hot spot on the point the tool acts at. */
    static juce::Image DrawImage(int index);
    /** Writes every picture as PNG under its file name into folder (made when missing); the number
        of files written. */
    static int WriteImages(const juce::File& folder);
};
